// The transport's download mode on a camera's response: header lines (the file names, lengths
// and MD5 digests it announces) and body chunks, through the same handlers libcurl calls. Files
// go to a folder the target makes; anything written elsewhere, or a file whose bytes do not
// match a digest the response announced, aborts.
//
// Input: an HTTP response as received, "\r\n"-separated header lines up to the blank line that
// ends the last header block (a digest exchange has two), then the body.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/file_handle.h"
#include "core/http_transport.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "download_fuzzer: %s\n", what);
        std::abort();
    }
}

// <temp>/files/ receives the downloads; <temp> itself must hold nothing else. libFuzzer ends
// with _Exit, so the empty folders stay: <temp> lies under $TMPDIR, which fuzz/run clears.
struct Folders {
    std::string outer;
    std::string files;
};

const Folders& folders() {
    static const Folders made = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/download_fuzz.XXXXXX";
        check(::mkdtemp(pattern.data()) != nullptr, "cannot make the temporary folder");
        Folders f{pattern, pattern + "/files/"};
        check(::mkdir(f.files.c_str(), 0700) == 0, "cannot make the download folder");
        return f;
    }();
    return made;
}

std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    check(dir != nullptr, "download folder gone");
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    ::closedir(dir);
    return names;
}

// A path the download reports: the prefix, then at most one plain name.
void checkPath(const std::string& path, const std::string& prefix) {
    check(path.compare(0, prefix.size(), prefix) == 0, "path outside the download folder");
    const std::string name = path.substr(prefix.size());
    check(name.find('/') == std::string::npos && name != "." && name != "..",
          "path leaves the download folder");
}

std::string fileMd5(const std::string& path) {
    camlink::File file(std::fopen(path.c_str(), "rb"));
    check(file != nullptr, "cannot read a written file");
    std::string md5;
    LumenNetwork::getFileMd5(file.get(), md5);
    return md5;
}

// Each written file is a plain file in the download folder whose bytes, when there are any,
// carry a digest the response announced; then it is removed for the next input.
void checkAndClearWritten(const std::string& response) {
    const Folders& f = folders();
    const std::vector<std::string> outer = entries(f.outer);
    check(outer.size() == 1 && outer[0] == "files", "a file appeared beside the download folder");
    for (const std::string& name : entries(f.files)) {
        const std::string path = f.files + name;
        struct stat info {};
        check(::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode), "not a plain file");
        if (info.st_size > 0)
            check(response.find(fileMd5(path)) != std::string::npos, "unannounced file content");
        check(::unlink(path.c_str()) == 0, "cannot remove a written file");
    }
}

// The header blocks end at the first blank line not followed by another status line.
size_t bodyStart(const std::string& response) {
    size_t at = 0;
    for (;;) {
        const size_t blank = response.find("\r\n\r\n", at);
        if (blank == std::string::npos) return response.size();
        at = blank + 4;
        if (response.compare(at, 5, "HTTP/") != 0) return at;
    }
}

// Lines with their "\r\n", as libcurl hands them over (the blank ones too).
std::vector<std::string> headerLines(const std::string& head) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < head.size();) {
        size_t end = head.find("\r\n", at);
        end = end == std::string::npos ? head.size() : end + 2;
        lines.push_back(head.substr(at, end - at));
        at = end;
    }
    return lines;
}

// Chunks of growing size, so that chunk ends fall at many places inside and between files.
std::vector<std::string> bodyChunks(const std::string& body) {
    std::vector<std::string> chunks;
    size_t size = 1;
    for (size_t at = 0; at < body.size(); at += size, size = std::min<size_t>(size * 2, 16384))
        chunks.push_back(body.substr(at, size));
    return chunks;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string response(reinterpret_cast<const char*>(data), size);
    const size_t start = bodyStart(response);
    LumenNetwork::HttpRequest request;
    request.file = folders().files;
    LumenNetwork::replayDownload(request, headerLines(response.substr(0, start)),
                                 bodyChunks(response.substr(start)));

    checkPath(request.file, folders().files);
    check(request.count >= 0 && request.count <= LumenNetwork::kMaxLibraryFiles, "file count");
    for (int i = 0; i < request.count; ++i)
        checkPath(request.files[i], folders().files);
    checkAndClearWritten(response);
    return 0;
}
