// Runs facekeeper-backup as its own process, the way cron or a user runs it, and the simulated
// cameras it backs up.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

#include "camsim.h"

namespace backuptest {

struct Outcome {
    int code = -1;  // exit code; 128 + signal when killed
    std::string out;
    std::string err;
};

// A started run; output goes to files so that the pipes never fill.
class Running {
public:
    // Runs facekeeper-backup, or another program with these arguments.
    Running(const std::vector<std::string>& args, const std::string& scratch,
            std::string program = {});
    ~Running();
    pid_t pid() const { return pid_; }
    Outcome wait();
    void kill(int signal);

private:
    pid_t pid_ = -1;
    std::string outPath_, errPath_;
    bool reaped_ = false;
};

Outcome run(const std::vector<std::string>& args, const std::string& scratch,
            const std::string& program = {});
// The same on a pseudo-terminal (script(1)); out holds what the terminal received.
Outcome runOnTerminal(const std::vector<std::string>& args, const std::string& scratch);

// Library with these records on the camera; returns its libid. Picture bytes vary with seed.
std::string addLibrary(camsim::Camera& camera, const std::string& name, int records, int seed);
int64_t addRecord(camsim::Camera& camera, const std::string& libid, const std::string& name,
                  int seed);
// "address,user,password" lines for the cameras (and any extra address with credentials).
std::string csvOf(const std::vector<camsim::Camera*>& cameras);

// The program's device list file holding the cameras.
void writeDeviceStore(const std::string& path, const std::vector<camsim::Camera*>& cameras);
// The package files below dir (relative paths, sorted), hidden ones included.
std::vector<std::string> filesBelow(const std::string& dir, const std::string& suffix);
// Upper-case MD5s of the pictures of a library (records without one left out), sorted.
std::vector<std::string> pictureMd5s(camsim::Camera& camera, const std::string& name);
std::string lower(std::string text);
std::string readFile(const std::string& path);
// Polls (at most timeoutMs) until check() holds.
bool waitFor(const std::function<bool()>& check, int timeoutMs);

}  // namespace backuptest
