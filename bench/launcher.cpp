#include "launcher.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <cstdint>
#include <cstdio>

namespace benchlaunch {

namespace {

bool readAll(int fd, void* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t n = read(fd, static_cast<char*>(data) + done, size - done);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

bool writeAll(int fd, const void* data, size_t size) {
    for (size_t done = 0; done < size;) {
        const ssize_t n = write(fd, static_cast<const char*>(data) + done, size - done);
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

// One request: a size, then the arguments each ended by a NUL; one reply: exit code, peak KB.
void serve(const std::string& program, const std::string& output, int requests, int replies) {
    for (uint32_t size = 0; readAll(requests, &size, sizeof size);) {
        std::string request(size, '\0');
        if (!readAll(requests, request.data(), size)) return;
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (size_t at = 0; at < request.size(); at = request.find('\0', at) + 1)
            argv.push_back(&request[at]);
        argv.push_back(nullptr);
        const pid_t pid = fork();
        if (pid == 0) {
            if (!freopen(output.c_str(), "w", stdout)) _exit(127);
            execv(program.c_str(), argv.data());
            _exit(127);
        }
        int status = 0;
        rusage usage{};
        Measure m;
        if (pid > 0 && wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status))
            m.code = WEXITSTATUS(status);
        m.peakKb = usage.ru_maxrss;
        if (!writeAll(replies, &m.code, sizeof m.code) ||
            !writeAll(replies, &m.peakKb, sizeof m.peakKb))
            return;
    }
}

}  // namespace

Launcher::Launcher(std::string program, std::string outputPath) {
    int requests[2];
    int replies[2];
    if (pipe(requests) != 0 || pipe(replies) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        close(requests[1]);
        close(replies[0]);
        serve(program, outputPath, requests[0], replies[1]);
        _exit(0);
    }
    close(requests[0]);
    close(replies[1]);
    requests_ = requests[1];
    replies_ = replies[0];
}

Launcher::~Launcher() {
    close(requests_);
    close(replies_);
    if (pid_ > 0) waitpid(pid_, nullptr, 0);
}

Measure Launcher::run(const std::vector<std::string>& args) {
    std::string request;
    for (const std::string& arg : args)
        request += arg + '\0';
    const uint32_t size = request.size();
    Measure m;
    const auto start = std::chrono::steady_clock::now();
    if (!writeAll(requests_, &size, sizeof size) || !writeAll(requests_, request.data(), size) ||
        !readAll(replies_, &m.code, sizeof m.code) ||
        !readAll(replies_, &m.peakKb, sizeof m.peakKb))
        return Measure{};
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return m;
}

std::string selfPath() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, n) : std::string();
}

}  // namespace benchlaunch
