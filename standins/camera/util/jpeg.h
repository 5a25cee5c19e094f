// Minimal JPEG inspection: is it a JPEG, and how large is the picture.
#pragma once

#include <optional>
#include <string_view>

namespace camsim {

struct JpegInfo {
    int width = 0;
    int height = 0;
};

// Walks the marker segments up to the first frame header. nullopt when the bytes do not start
// with SOI, do not end with EOI, or no frame header with non-zero dimensions lies within them.
std::optional<JpegInfo> inspectJpeg(std::string_view bytes);

}  // namespace camsim
