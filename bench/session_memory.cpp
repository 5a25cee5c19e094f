// Memory the SDK adds per logged-in session, over 1,000 sessions to simulated cameras served
// by a separate camsim process (so only the SDK's memory is counted): resident memory, and the
// heap allocated, which also counts areas allocated but never touched. With --parallel the
// sessions run side by side (CAMLINK_SESSIONS=parallel): each keeps its HTTP handle and its
// open connection, and 200 sessions are measured after a call each.
#include <malloc.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "camlink.h"
#include "support/camsim_process.h"

namespace {

const char kFirst[] = "127.0.72.2";

// How many sessions, and what each may cost.
struct Load {
    const char* name;
    int cameras;
    int sessionsPerCamera;
    double targetKiB;
};
constexpr Load kSerial{"session", 20, 50, 64};
// Each session holds a connection (and a thread in camsim): fewer of them.
constexpr Load kParallel{"parallel session with its kept connection", 10, 20, 256};

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

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    const bool parallel = argc > 1 && std::strcmp(argv[1], "--parallel") == 0;
    // Read by the library once, at its first session: set before any call.
    if (parallel) setenv("CAMLINK_SESSIONS", "parallel", 1);
    const Load load = parallel ? kParallel : kSerial;
    const int cameras = load.cameras;
    const int sessionsPerCamera = load.sessionsPerCamera;
    testsupport::CamsimProcess camsim;
    if (!camsim.start(CAMSIM_BINARY, {"--cameras", std::to_string(cameras), "--first", kFirst})) {
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
    for (int c = 0; c < cameras; ++c)
        for (int i = 0; i < sessionsPerCamera; ++i) {
            int session = 0;
            failures +=
                vcam_control_login_v2(&session, address(c).c_str(), "admin", "admin", reply) != 0;
            vcam_library_record libraries{};
            failures += vcam_control_list_library(session, &libraries) != 0;
            sessions.push_back(session);
        }
    const long after = residentBytes();
    const long heapAfter = heapBytes();
    for (int s : sessions)
        vcam_control_logout(s);
    camsim.stop();

    const double perSession = static_cast<double>(after - before) / sessions.size();
    const double heapPerSession = static_cast<double>(heapAfter - heapBefore) / sessions.size();
    std::printf("sessions: %zu (failed logins or calls: %d)\n", sessions.size(), failures);
    std::printf("resident memory added: %ld KiB, %.1f KiB per %s (target: at most %.0f)\n",
                (after - before) / 1024, perSession / 1024, load.name, load.targetKiB);
    std::printf("heap allocated: %ld KiB, %.1f KiB per %s (target: at most %.0f)\n",
                (heapAfter - heapBefore) / 1024, heapPerSession / 1024, load.name,
                load.targetKiB);
    const double target = load.targetKiB * 1024;
    return failures == 0 && perSession <= target && heapPerSession <= target ? 0 : 1;
}
