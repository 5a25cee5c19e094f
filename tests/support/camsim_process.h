// The camsim command in a process of its own, for measurements of this process alone (its
// descriptors and memory) that an in-process camera would blur.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace testsupport {

class CamsimProcess {
public:
    CamsimProcess() = default;
    ~CamsimProcess() { stop(); }
    CamsimProcess(const CamsimProcess&) = delete;
    CamsimProcess& operator=(const CamsimProcess&) = delete;

    // Runs `binary args...` and waits for its "ready" line; false if it never comes.
    bool start(const std::string& binary, const std::vector<std::string>& args);
    // SIGTERM and wait.
    void stop();

private:
    pid_t pid_ = -1;
};

}  // namespace testsupport
