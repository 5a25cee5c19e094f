// Runs a program in a process of its own on request, from a small process forked early, and
// returns its exit code and peak resident memory.
//
// Fork the launcher before the benchmark grows (simulated cameras, their pictures): a child's
// ru_maxrss also counts the pages it shared with its parent when it was forked, which would
// then be the benchmark's memory, not the program's own.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace benchlaunch {

struct Measure {
    int code = -1;  // -1: did not run or did not exit normally
    double seconds = 0;
    long peakKb = 0;
};

class Launcher {
public:
    // Each run executes program; its standard output goes to outputPath (truncated per run).
    explicit Launcher(std::string program, std::string outputPath = "/dev/null");
    ~Launcher();
    Launcher(const Launcher&) = delete;
    Launcher& operator=(const Launcher&) = delete;

    Measure run(const std::vector<std::string>& args);

private:
    pid_t pid_ = -1;
    int requests_ = -1;
    int replies_ = -1;
};

// This executable's own path, for a benchmark that runs itself as the measured child.
std::string selfPath();

}  // namespace benchlaunch
