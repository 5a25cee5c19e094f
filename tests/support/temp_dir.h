// A private directory for one test, removed with everything in it.
#pragma once

#include <string>

namespace testsupport {

class TempDir {
public:
    // Makes /tmp/<tag>-XXXXXX; throws when it cannot.
    explicit TempDir(const std::string& tag = "camlink-test");
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Writes the file (a name relative to the directory) and returns its full path.
    std::string write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

}  // namespace testsupport
