#include "gifwriter.h"

#include <unordered_map>

namespace {

constexpr int kMinCodeSize = 8;
constexpr int kClearCode = 1 << kMinCodeSize;
constexpr int kEndCode = kClearCode + 1;
constexpr int kMaxCode = 4095;

// Packs variable-width codes least significant bit first, as GIF decoders read them.
class BitPacker {
public:
    void put(int code, int width) {
        bits_ |= quint32(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            bytes.append(char(bits_ & 0xff));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void flush() {
        if (count_ > 0) bytes.append(char(bits_ & 0xff));
        bits_ = 0;
        count_ = 0;
    }
    QByteArray bytes;

private:
    quint32 bits_ = 0;
    int count_ = 0;
};

}  // namespace

GifWriter::GifWriter(int width, int height, const QVector<QRgb>& palette, int transparentIndex)
    : width_(width), height_(height), transparentIndex_(transparentIndex) {
    out_.append("GIF89a");
    put16(width);
    put16(height);
    out_.append(char(0xf7));  // global colour table of 256 entries, 8 bits per primary
    out_.append(char(0));     // background colour index
    out_.append(char(0));     // square pixels
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < palette.size() ? palette[i] : qRgb(0, 0, 0);
        out_.append(char(qRed(c))).append(char(qGreen(c))).append(char(qBlue(c)));
    }
    // Loop for ever.
    out_.append("\x21\xff\x0bNETSCAPE2.0\x03\x01", 16);
    put16(0);
    out_.append(char(0));
}

void GifWriter::put16(int value) {
    out_.append(char(value & 0xff)).append(char((value >> 8) & 0xff));
}

QByteArray GifWriter::lzw(const QByteArray& indices) {
    BitPacker packer;
    std::unordered_map<quint32, int> table;
    int codeSize = kMinCodeSize + 1;
    int lastCode = kEndCode;
    packer.put(kClearCode, codeSize);
    int current = -1;
    for (char byte : indices) {
        const int value = quint8(byte);
        if (current < 0) {
            current = value;
            continue;
        }
        const quint32 key = (quint32(current) << 8) | quint32(value);
        const auto found = table.find(key);
        if (found != table.end()) {
            current = found->second;
            continue;
        }
        packer.put(current, codeSize);
        table.emplace(key, ++lastCode);
        if (lastCode >= (1 << codeSize)) ++codeSize;
        if (lastCode == kMaxCode) {
            packer.put(kClearCode, codeSize);
            table.clear();
            codeSize = kMinCodeSize + 1;
            lastCode = kEndCode;
        }
        current = value;
    }
    if (current >= 0) packer.put(current, codeSize);
    packer.put(kClearCode, codeSize);
    packer.put(kEndCode, kMinCodeSize + 1);
    packer.flush();
    return packer.bytes;
}

void GifWriter::addFrame(const QByteArray& indices, int delayCs) {
    // Graphic control: restore to background before the next frame, optional transparency.
    out_.append("\x21\xf9\x04", 3);
    out_.append(char(transparentIndex_ >= 0 ? 0x09 : 0x08));
    put16(delayCs);
    out_.append(char(transparentIndex_ >= 0 ? transparentIndex_ : 0));
    out_.append(char(0));
    // Image descriptor covering the whole screen, no local colour table.
    out_.append(char(0x2c));
    put16(0);
    put16(0);
    put16(width_);
    put16(height_);
    out_.append(char(0));
    out_.append(char(kMinCodeSize));
    const QByteArray data = lzw(indices);
    for (int at = 0; at < data.size(); at += 255) {
        const int n = qMin(255, int(data.size()) - at);
        out_.append(char(n)).append(data.constData() + at, n);
    }
    out_.append(char(0));
}

QByteArray GifWriter::finish() {
    out_.append(char(0x3b));
    return out_;
}
