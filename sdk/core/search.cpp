#include "core/search.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <new>
#include <thread>
#include <utility>

#include "core/client.h"
#include "core/frame.h"

namespace camlink {

namespace {

using Clock = std::chrono::steady_clock;

// The longest single wait for a datagram.
constexpr auto kLongestWait = std::chrono::milliseconds(500);

template <typename Area>
std::unique_ptr<Area, FreeMemory> zeroedArea() {
    // calloc'd pages read as zeros without being touched, so an idle search session stays small.
    void* memory = std::calloc(1, sizeof(Area));
    if (!memory) throw std::bad_alloc();
    return std::unique_ptr<Area, FreeMemory>(static_cast<Area*>(memory));
}

// Records past the count are never written, so clearing the used ones zeroes the whole area.
template <typename Area>
void clearArea(Area& area) {
    const size_t used = static_cast<size_t>(std::clamp<int32_t>(area.count, 0, MAX_DEVICE_NUMBER));
    std::memset(area.records, 0, used * sizeof area.records[0]);
    area.count = 0;
}

// Handed out only when session 0's own areas could not be made: never written, so its pages
// are never touched either.
template <typename Area>
const Area* emptyArea() {
    static Area empty;
    return &empty;
}

std::shared_ptr<SearchState> searchSession() {
    return SessionTable::instance().withSearchSession(
        [](LumenControl::LumenControlClient& session) {
            std::shared_ptr<SearchState>& state = session.searchState();
            if (!state) state = std::make_shared<SearchState>();
            return state;
        });
}

class JoiningThread {
public:
    template <typename Function>
    explicit JoiningThread(Function&& function) : thread_(std::forward<Function>(function)) {}
    ~JoiningThread() { thread_.join(); }
    JoiningThread(const JoiningThread&) = delete;
    JoiningThread& operator=(const JoiningThread&) = delete;

private:
    std::thread thread_;
};

int waitMilliseconds(Clock::duration left) {
    const auto wait = std::min<Clock::duration>(left, kLongestWait);
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
}

// Hands every queued datagram to the handler, so a burst costs one wake-up; how many came.
int drain(SearchState& state, platform::UdpSocket& socket, ReplyHandler handle,
          Clock::time_point end) {
    std::array<uint8_t, kDatagramSize> buffer;
    int received = 0;
    do {
        buffer.fill(0);
        const long size = socket.receive(buffer.data(), buffer.size());
        if (size < 0) break;
        ++received;
        try {
            handle(state, buffer.data(), static_cast<size_t>(size));
        } catch (...) {  // no memory for an index entry: this one reply is lost, not the search
        }
    } while (Clock::now() < end);
    return received;
}

void receiveUntil(SearchState& state, platform::UdpSocket& socket, ReplyHandler handle,
                  Clock::time_point end) {
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        const auto ready = socket.waitReadable(waitMilliseconds(end - now));
        if (ready == platform::WaitResult::TimedOut) continue;
        if (ready == platform::WaitResult::Failed || drain(state, socket, handle, end) == 0) {
            platform::sleepMilliseconds(1);
        }
    }
}

template <typename Generation>
const typename Generation::Area* scan(int searchTimeMs) noexcept {
    const typename Generation::Area* result = nullptr;
    try {
        const std::shared_ptr<SearchState> state = searchSession();
        std::lock_guard<std::mutex> lock(state->mutex);
        auto& area = Generation::area(*state);
        result = &area;
        state->searchTimeMs = searchTimeMs;
        Generation::index(*state).clear();
        clearArea(area);
        const std::vector<platform::Adapter> adapters = platform::adapterList();
        if (!adapters.empty()) Generation::search(*state, adapters);
    } catch (...) {
        // The area as it stands: cleared, with whatever replies came before the failure.
    }
    return result ? result : emptyArea<typename Generation::Area>();
}

struct FirstGeneration {
    using Area = vcam_search_area;
    static Area& area(SearchState& state) { return *state.firstArea; }
    static auto& index(SearchState& state) { return state.firstIndex; }
    static constexpr auto search = searchFirstGeneration;
};

struct SecondGeneration {
    using Area = vcam_search_area_v2;
    static Area& area(SearchState& state) { return *state.secondArea; }
    static auto& index(SearchState& state) { return state.secondIndex; }
    static constexpr auto search = searchSecondGeneration;
};

}  // namespace

SearchState::SearchState()
    : firstArea(zeroedArea<vcam_search_area>()), secondArea(zeroedArea<vcam_search_area_v2>()) {}

void runSearch(SearchState& state, platform::UdpSocket& socket, ReplyHandler handle,
               const std::function<void()>& send) {
    const auto length = std::chrono::nanoseconds(int64_t{state.searchTimeMs} * 1000000);
    const Clock::time_point end = Clock::now() + length;
    // Started before the first request goes out, so no early reply is missed; joined even when
    // sending fails, so the search always lasts its time.
    JoiningThread receiver(
        [&state, &socket, handle, end] { receiveUntil(state, socket, handle, end); });
    send();
}

const vcam_search_area* scanFirstGeneration(int searchTimeMs) noexcept {
    return scan<FirstGeneration>(searchTimeMs);
}

const vcam_search_area_v2* scanSecondGeneration(int searchTimeMs) noexcept {
    return scan<SecondGeneration>(searchTimeMs);
}

}  // namespace camlink
