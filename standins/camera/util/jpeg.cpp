#include "util/jpeg.h"

#include <cstdint>

namespace camsim {

namespace {
int be16(std::string_view b, size_t at) {
    return (static_cast<uint8_t>(b[at]) << 8) | static_cast<uint8_t>(b[at + 1]);
}

bool isFrameHeader(uint8_t marker) {
    // SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}
}  // namespace

std::optional<JpegInfo> inspectJpeg(std::string_view b) {
    if (b.size() < 4) return std::nullopt;
    if (static_cast<uint8_t>(b[0]) != 0xFF || static_cast<uint8_t>(b[1]) != 0xD8)
        return std::nullopt;
    if (static_cast<uint8_t>(b[b.size() - 2]) != 0xFF ||
        static_cast<uint8_t>(b[b.size() - 1]) != 0xD9)
        return std::nullopt;
    size_t at = 2;
    while (at + 4 <= b.size()) {
        if (static_cast<uint8_t>(b[at]) != 0xFF) return std::nullopt;
        uint8_t marker = static_cast<uint8_t>(b[at + 1]);
        if (marker == 0xFF) {  // fill byte
            ++at;
            continue;
        }
        int length = be16(b, at + 2);
        if (length < 2 || at + 2 + static_cast<size_t>(length) > b.size()) return std::nullopt;
        if (isFrameHeader(marker)) {
            if (length < 7) return std::nullopt;
            JpegInfo info{be16(b, at + 7), be16(b, at + 5)};
            if (info.width == 0 || info.height == 0) return std::nullopt;
            return info;
        }
        if (marker == 0xDA) return std::nullopt;  // scan before any frame header
        at += 2 + static_cast<size_t>(length);
    }
    return std::nullopt;
}

}  // namespace camsim
