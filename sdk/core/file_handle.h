// A C stream that closes itself.
#pragma once

#include <cstdio>
#include <memory>

namespace camlink {

struct FileCloser {
    void operator()(FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<FILE, FileCloser>;

inline File openFile(const char* path, const char* mode) {
    return File(std::fopen(path, mode));
}

}  // namespace camlink
