#include "support/temp_dir.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

namespace testsupport {

TempDir::TempDir(const std::string& tag) {
    const std::string text = "/tmp/" + tag + "-XXXXXX";
    std::vector<char> pattern(text.begin(), text.end());
    pattern.push_back('\0');
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for " + text);
    path_ = pattern.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    const std::string full = path_ + "/" + name;
    std::ofstream out(full, std::ios::binary);
    out << bytes;
    if (!out) throw std::runtime_error("cannot write " + full);
    return full;
}

}  // namespace testsupport
