// Resident memory the SDK adds per logged-in session, over 1,000 sessions to simulated
// cameras served by a separate camsim process (so only the SDK's memory is counted).
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "camlink.h"

extern char** environ;

namespace {

constexpr int kCameras = 20;
constexpr int kSessionsPerCamera = 50;
const char kFirst[] = "127.0.72.2";

long residentBytes() {
    long pages = 0, resident = 0;
    FILE* f = std::fopen("/proc/self/statm", "r");
    if (f && std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    if (f) std::fclose(f);
    return resident * sysconf(_SC_PAGESIZE);
}

std::string address(int camera) {
    return "127.0.72." + std::to_string(2 + camera);
}

// Starts camsim and waits for its ready line; its pid, or -1.
pid_t startCameras() {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    std::string count = std::to_string(kCameras);
    std::vector<char*> argv = {
        const_cast<char*>(CAMSIM_BINARY), const_cast<char*>("--cameras"), count.data(),
        const_cast<char*>("--first"),     const_cast<char*>(kFirst),      nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, CAMSIM_BINARY, &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[1024];
    bool ready = false;
    while (pid > 0 && lines && std::fgets(line, sizeof line, lines))
        if (std::strncmp(line, "ready", 5) == 0) {
            ready = true;
            break;
        }
    if (lines) std::fclose(lines);
    return ready ? pid : -1;
}

}  // namespace

int main() {
    signal(SIGPIPE, SIG_IGN);
    pid_t camsim = startCameras();
    if (camsim < 0) {
        std::fprintf(stderr, "session_memory: camsim did not start\n");
        return 1;
    }
    char reply[VCAM_LOGIN_REPLY_SIZE];
    int warmup = 0;  // the transfer library's one-time set-up is not a session's cost
    vcam_control_login_v2(&warmup, address(0).c_str(), "admin", "admin", reply);
    vcam_control_logout(warmup);

    const long before = residentBytes();
    std::vector<int> sessions;
    int failures = 0;
    for (int c = 0; c < kCameras; ++c)
        for (int i = 0; i < kSessionsPerCamera; ++i) {
            int session = 0;
            failures +=
                vcam_control_login_v2(&session, address(c).c_str(), "admin", "admin", reply) != 0;
            sessions.push_back(session);
        }
    const long after = residentBytes();
    for (int s : sessions)
        vcam_control_logout(s);
    kill(camsim, SIGTERM);
    waitpid(camsim, nullptr, 0);

    const double perSession = static_cast<double>(after - before) / sessions.size();
    std::printf("sessions: %zu (failed logins: %d)\n", sessions.size(), failures);
    std::printf("resident memory added: %ld KiB, %.1f KiB per session (target: at most 64)\n",
                (after - before) / 1024, perSession / 1024);
    return failures == 0 && perSession <= 64 * 1024 ? 0 : 1;
}
