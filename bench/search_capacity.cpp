// Capacity of the second-generation LAN search: 4,096 distinct cameras answer one
// vcam_scan_v2(3000), their replies spread over its first second. Every camera must be listed
// once and the call must be back within its time plus 100 ms. A light responder in this program
// sends the replies (772 bytes each, laid out as a camera lays them out) from one socket, which
// is what a switch delivers to the searching host. Broadcasts, so it runs only inside the private
// network namespace of scripts/netns-run.
#include <arpa/inet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <thread>

#include "camlink.h"

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr int kCameras = 4096;
constexpr int kSearchMs = 3000;
constexpr auto kAllowedOverrun = 100ms;
constexpr auto kSpread = 1000ms;  // replies go out over this time after the request
constexpr int kBatches = 64;      // bursts of kCameras / kBatches replies
constexpr int kRounds = 3;
constexpr uint16_t kPort = 6789;
const char kMagic[12] = "searching..";

std::string netNamespaceOf(const char* pid) {
    char target[128] = {};
    std::string link = std::string("/proc/") + pid + "/ns/net";
    ssize_t n = ::readlink(link.c_str(), target, sizeof(target) - 1);
    return n > 0 ? std::string(target, static_cast<size_t>(n)) : std::string();
}

bool inPrivateNamespace() {
    std::string self = netNamespaceOf("self");
    return ::if_nametoindex("fk0") != 0 && !self.empty() && self != netNamespaceOf("1");
}

std::string key(int camera) {
    return "BENCH-" + std::to_string(100000 + camera);
}

std::array<uint8_t, 772> reply(int camera) {
    std::array<uint8_t, 772> r{};
    std::memcpy(r.data(), kMagic, sizeof kMagic);
    r[12] = 11;
    std::string address =
        "10.231." + std::to_string(16 + camera / 250) + "." + std::to_string(2 + camera % 250);
    std::memcpy(r.data() + 24, address.data(), address.size());
    std::memcpy(r.data() + 320, "BENCH-RECOG-V1", 14);
    std::string k = key(camera);
    std::memcpy(r.data() + 448, k.data(), k.size());
    return r;
}

class Responder {
public:
    Responder() : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(kPort);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    }
    ~Responder() { ::close(fd_); }
    Responder(const Responder&) = delete;
    Responder& operator=(const Responder&) = delete;

    bool bound() const { return bound_; }

    // Waits for one search request (bounded), then sends every camera's reply, paced.
    void answerOne() {
        if (!awaitRequest()) return;
        const auto start = Clock::now();
        for (int batch = 0; batch < kBatches; ++batch) {
            std::this_thread::sleep_until(start + kSpread * batch / kBatches);
            for (int i = batch * kCameras / kBatches; i < (batch + 1) * kCameras / kBatches; ++i) {
                auto r = reply(i);
                sent_ += send(r.data(), r.size()) ? 1 : 0;
            }
        }
        sendingTook_ = Clock::now() - start;
    }

    int sent() const { return sent_; }
    Clock::duration sendingTook() const { return sendingTook_; }

private:
    bool awaitRequest() {
        const auto deadline = Clock::now() + 5s;
        std::array<uint8_t, 4096> buffer;
        while (Clock::now() < deadline) {
            pollfd entry{fd_, POLLIN, 0};
            if (::poll(&entry, 1, 100) <= 0) continue;
            ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
            if (n > 12 && std::memcmp(buffer.data(), kMagic, sizeof kMagic) == 0 &&
                buffer[12] == 10) {
                return true;
            }
        }
        return false;
    }

    bool send(const uint8_t* data, size_t size) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(kPort);
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        return ::sendto(fd_, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) ==
               static_cast<ssize_t>(size);
    }

    int fd_;
    bool bound_ = false;
    int sent_ = 0;
    Clock::duration sendingTook_{};
};

long long ms(Clock::duration d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
}

// One search against a fresh burst; true when it met the target.
bool round(int number) {
    Responder responder;
    if (!responder.bound()) {
        std::printf("round %d: the responder cannot bind UDP %u\n", number, kPort);
        return false;
    }
    std::thread answering([&] { responder.answerOne(); });
    const auto start = Clock::now();
    const vcam_search_area_v2* area = vcam_scan_v2(kSearchMs);
    const auto took = Clock::now() - start;
    answering.join();

    std::set<std::string> listed;
    int expected = 0;
    for (int i = 0; i < area->count; ++i) {
        listed.insert(
            std::string(area->records[i].device_key, strnlen(area->records[i].device_key, 64)));
    }
    for (int camera = 0; camera < kCameras; ++camera)
        expected += listed.count(key(camera)) ? 1 : 0;
    const int twice = area->count - static_cast<int>(listed.size());
    const bool met = expected == kCameras && twice == 0 && area->count == kCameras &&
                     took <= std::chrono::milliseconds(kSearchMs) + kAllowedOverrun;
    std::printf(
        "round %d: replies sent %d in %lld ms; listed %d of %d (count %d, listed twice %d); "
        "call took %lld ms (search time %d ms, allowed %lld ms) -> %s\n",
        number, responder.sent(), ms(responder.sendingTook()), expected, kCameras, area->count,
        twice, ms(took), kSearchMs, static_cast<long long>(kSearchMs + kAllowedOverrun.count()),
        met ? "ok" : "MISSED");
    return met;
}

}  // namespace

int main() {
    if (!inPrivateNamespace()) {
        std::fprintf(stderr,
                     "search_capacity: refusing to broadcast outside a private network namespace; "
                     "run it under scripts/netns-run\n");
        return 2;
    }
    bool all = true;
    for (int number = 1; number <= kRounds; ++number)
        all = round(number) && all;
    std::printf("search capacity: %s\n", all ? "every round met the target" : "target missed");
    return all ? 0 : 1;
}
