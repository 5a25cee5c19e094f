// Memory the SDK adds per logged-in session, over 1,000 sessions to simulated cameras served
// by a separate camsim process (so only the SDK's memory is counted): resident memory, and the
// heap allocated, which also counts areas allocated but never touched.
#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "camlink.h"
#include "support/camsim_process.h"

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

// Bytes the allocator has handed out and not yet taken back, mapped blocks included.
long heapBytes() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

std::string address(int camera) {
    return "127.0.72." + std::to_string(2 + camera);
}

}  // namespace

int main() {
    signal(SIGPIPE, SIG_IGN);
    testsupport::CamsimProcess camsim;
    if (!camsim.start(CAMSIM_BINARY, {"--cameras", std::to_string(kCameras), "--first", kFirst})) {
        std::fprintf(stderr, "session_memory: camsim did not start\n");
        return 1;
    }
    char reply[VCAM_LOGIN_REPLY_SIZE];
    int warmup = 0;  // the transfer library's one-time set-up is not a session's cost
    vcam_control_login_v2(&warmup, address(0).c_str(), "admin", "admin", reply);
    vcam_control_logout(warmup);

    const long before = residentBytes();
    const long heapBefore = heapBytes();
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
    const long heapAfter = heapBytes();
    for (int s : sessions)
        vcam_control_logout(s);
    camsim.stop();

    const double perSession = static_cast<double>(after - before) / sessions.size();
    const double heapPerSession = static_cast<double>(heapAfter - heapBefore) / sessions.size();
    std::printf("sessions: %zu (failed logins: %d)\n", sessions.size(), failures);
    std::printf("resident memory added: %ld KiB, %.1f KiB per session (target: at most 64)\n",
                (after - before) / 1024, perSession / 1024);
    std::printf("heap allocated: %ld KiB, %.1f KiB per session (target: at most 64)\n",
                (heapAfter - heapBefore) / 1024, heapPerSession / 1024);
    constexpr double kTarget = 64 * 1024;
    return failures == 0 && perSession <= kTarget && heapPerSession <= kTarget ? 0 : 1;
}
