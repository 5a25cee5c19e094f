// Firmware upgrade of a 64 MiB file to a simulated camera on loopback. Reports two figures per
// run: the whole call (the camera's fixed 5 s settling pause included, nothing subtracted) and
// the transfer alone, up to the moment the camera holds the whole file (seen in its channel
// state, polled every millisecond). The library prints one console line per 1024-byte block;
// standard output goes to /dev/null while the upgrade runs, so the figures include formatting
// those lines but not a terminal's speed.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "camsim.h"
#include "util/crypto.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr size_t kFileBytes = size_t{64} << 20;
constexpr int kRuns = 3;
constexpr auto kDeadline = std::chrono::seconds(300);

struct Run {
    double transferSeconds = 0;
    double totalSeconds = 0;
};

std::string randomBytes(size_t size) {
    std::string bytes(size, '\0');
    std::mt19937_64 random(42);
    for (size_t i = 0; i + 8 <= size; i += 8) {
        const uint64_t v = random();
        std::copy_n(reinterpret_cast<const char*>(&v), 8, &bytes[i]);
    }
    return bytes;
}

size_t upgradesSeen(camsim::Camera& camera) {
    std::lock_guard<std::mutex> lock(camera.channel().mutex);
    return camera.channel().upgrades.size();
}

// Standard output to /dev/null for the life of the object.
class QuietStdout {
public:
    QuietStdout() : saved_(::dup(STDOUT_FILENO)) {
        std::fflush(stdout);
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(null, STDOUT_FILENO);
        ::close(null);
    }
    ~QuietStdout() {
        std::fflush(stdout);
        ::dup2(saved_, STDOUT_FILENO);
        ::close(saved_);
    }
    QuietStdout(const QuietStdout&) = delete;
    QuietStdout& operator=(const QuietStdout&) = delete;

private:
    int saved_;
};

Run upgradeOnce(camsim::Camera& camera, int session, const std::string& path) {
    const size_t before = upgradesSeen(camera);
    int result = -1;
    Run run;
    QuietStdout quiet;
    const Clock::time_point start = Clock::now();
    std::thread upgrader([&] { result = vcam_control_update(session, path.c_str()); });
    while (upgradesSeen(camera) == before && Clock::now() - start < kDeadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const Clock::time_point arrived = Clock::now();
    upgrader.join();
    const Clock::time_point end = Clock::now();
    if (result != 0 || upgradesSeen(camera) != before + 1)
        throw std::runtime_error("upgrade failed: " + std::to_string(result));
    run.transferSeconds = std::chrono::duration<double>(arrived - start).count();
    run.totalSeconds = std::chrono::duration<double>(end - start).count();
    return run;
}

void checkReceived(camsim::Camera& camera, const std::string& md5) {
    std::lock_guard<std::mutex> lock(camera.channel().mutex);
    for (const auto& u : camera.channel().upgrades)
        if (u.receivedSize != kFileBytes || u.md5 != md5 || !u.accepted)
            throw std::runtime_error("the camera did not receive the file intact");
}

double megabytesPerSecond(double seconds) {
    return static_cast<double>(kFileBytes) / 1e6 / seconds;
}

void report(std::vector<Run> runs) {
    for (size_t i = 0; i < runs.size(); ++i)
        std::printf("run %zu: transfer %.3f s (%.1f MB/s), whole call %.3f s (%.1f MB/s)\n", i + 1,
                    runs[i].transferSeconds, megabytesPerSecond(runs[i].transferSeconds),
                    runs[i].totalSeconds, megabytesPerSecond(runs[i].totalSeconds));
    auto median = [&](double Run::*field) {
        std::sort(runs.begin(), runs.end(),
                  [&](const Run& a, const Run& b) { return a.*field < b.*field; });
        return runs[runs.size() / 2].*field;
    };
    const double transfer = median(&Run::transferSeconds);
    const double total = median(&Run::totalSeconds);
    std::printf(
        "median of %zu, 64 MiB (MB = 10^6 bytes): transfer %.1f MB/s; whole call %.1f MB/s "
        "(%.3f s, of which 5 s is the camera's settling pause)\n",
        runs.size(), megabytesPerSecond(transfer), megabytesPerSecond(total), total);
}

}  // namespace

int main() {
    const fs::path dir =
        fs::temp_directory_path() / ("camlink_upgrade_bench_" + std::to_string(getpid()));
    int status = 0;
    camsim::CameraConfig config;
    config.address = "127.0.72.2";
    camsim::Camera camera(config);
    int session = 0;
    try {
        std::string error;
        if (!camera.start(&error)) throw std::runtime_error(error);
        fs::create_directories(dir);
        const std::string bytes = randomBytes(kFileBytes);
        const std::string path = (dir / "firmware.bin").string();
        std::ofstream(path, std::ios::binary) << bytes;
        char reply[VCAM_LOGIN_REPLY_SIZE];
        if (vcam_control_login_v2(&session, config.address.c_str(), "admin", "admin", reply) != 0)
            throw std::runtime_error("login failed");
        std::vector<Run> runs;
        for (int i = 0; i < kRuns; ++i)
            runs.push_back(upgradeOnce(camera, session, path));
        checkReceived(camera, camsim::md5HexUpper(bytes));
        report(runs);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "camlink_upgrade_bench: %s\n", e.what());
        status = 1;
    }
    vcam_control_logout(session);
    camera.stop();
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    return status;
}
