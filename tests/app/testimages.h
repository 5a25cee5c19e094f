// Real image files made at test time: a solid-colour JPEG of a given pixel size, optionally
// padded to an exact byte count with JPEG comment (COM) segments right after the SOI marker.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

namespace testimages {

inline QByteArray jpegBytes(const QSize& size, int quality = 50) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(90, 140, 200));
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", quality);
    return data;
}

// Inserts COM segments after the SOI marker until data holds exactly `bytes` bytes; a gap of
// 1..3 bytes that no segment can fill is appended after the end marker instead.
inline QByteArray padJpeg(QByteArray data, qint64 bytes) {
    qint64 pad = bytes - data.size();
    QByteArray segments;
    while (pad >= 4) {
        qint64 segment = qMin<qint64>(pad, 65537);  // marker (2) + length field (2) + payload
        if (pad - segment > 0 && pad - segment < 4) segment -= 4;
        const int length = int(segment - 2);
        segments += char(0xFF);
        segments += char(0xFE);
        segments += char(length >> 8);
        segments += char(length & 0xFF);
        segments += QByteArray(int(segment - 4), 'c');
        pad -= segment;
    }
    data.insert(2, segments);
    if (pad > 0) data += QByteArray(int(pad), '\0');
    return data;
}

// A small JPEG whose frame header declares width x height: a few bytes that would decode to
// gigabytes.
inline QByteArray jpegDeclaring(int width, int height) {
    QByteArray bytes = jpegBytes(QSize(16, 16));
    const int frame = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    if (frame < 0) return {};
    const char size[] = {char(height >> 8), char(height), char(width >> 8), char(width)};
    bytes.replace(frame + 5, 4, size, 4);
    return bytes;
}

inline bool writeFile(const QString& path, const QByteArray& data) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

// A JPEG of that pixel size, of exactly `bytes` bytes when bytes > 0.
inline bool writeJpeg(const QString& path, const QSize& size, qint64 bytes = -1) {
    QByteArray data = jpegBytes(size);
    if (bytes > 0) {
        if (data.size() > bytes) return false;
        data = padJpeg(data, bytes);
    }
    return writeFile(path, data);
}

}  // namespace testimages
