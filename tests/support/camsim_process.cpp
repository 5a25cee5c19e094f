#include "support/camsim_process.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

extern char** environ;

namespace testsupport {

bool CamsimProcess::start(const std::string& binary, const std::vector<std::string>& args) {
    int out[2];
    if (::pipe(out) != 0) return false;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (posix_spawn(&pid_, binary.c_str(), &actions, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    bool ready = false;
    if (FILE* lines = ::fdopen(out[0], "r")) {
        char line[1024];
        while (pid_ > 0 && !ready && std::fgets(line, sizeof line, lines))
            ready = std::strncmp(line, "ready", 5) == 0;
        std::fclose(lines);
    } else {
        ::close(out[0]);
    }
    if (!ready) stop();
    return ready;
}

void CamsimProcess::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

}  // namespace testsupport
