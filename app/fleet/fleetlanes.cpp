#include "fleetlanes.h"

#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace fleet {
namespace {

// What the lanes share; every member is guarded by mutex.
struct LaneState {
    std::mutex mutex;
    std::condition_variable changed;
    int next = 0;  // the next item to take
    int succeeded = 0;
    int reported = 0;  // counts the caller's progress has seen and let go on
    int lostInRow = 0;
    int lanesRunning = 0;
    bool itemsOpen = false;  // beforeItems has run
    bool stop = false;
    bool endedLost = false;
    bool stopped = false;
};

void runLane(const LaneWork& work, LaneState& state, int handle) {
    for (;;) {
        int item = 0;
        {
            std::unique_lock<std::mutex> lock(state.mutex);
            state.changed.wait(lock, [&] { return state.itemsOpen; });
            if (state.stop || state.next >= work.items) break;
            item = state.next++;
        }
        const int code = work.step(handle, item);
        std::unique_lock<std::mutex> lock(state.mutex);
        state.lostInRow = work.lost && work.lost(code) ? state.lostInRow + 1 : 0;
        if (state.lostInRow >= work.lostLimit) state.stop = state.endedLost = true;
        if (code == 0) ++state.succeeded;
        state.changed.notify_all();
        // The next item only once the progress has seen this one: a stop then leaves no more
        // than one item per lane behind it.
        const int mine = state.succeeded;
        state.changed.wait(lock, [&] { return state.stop || state.reported >= mine; });
    }
}

// A lane on a session of its own; no session, no lane (the others take its items).
void runOwnLane(const LaneWork& work, LaneState& state) {
    const int handle = work.openSession ? work.openSession() : 0;
    if (handle > 0) {
        runLane(work, state, handle);
        work.closeSession(handle);
    }
}

}  // namespace

LaneResult runInLanes(const LaneWork& work, int lanes) {
    LaneState state;
    state.lanesRunning = lanes;
    std::vector<std::thread> threads;
    threads.reserve(lanes);
    for (int lane = 0; lane < lanes; ++lane) {
        threads.emplace_back([&work, &state, lane] {
            if (lane == 0)
                runLane(work, state, work.firstHandle);
            else
                runOwnLane(work, state);
            std::lock_guard<std::mutex> lock(state.mutex);
            --state.lanesRunning;
            state.changed.notify_all();
        });
    }
    if (work.beforeItems) work.beforeItems();
    std::unique_lock<std::mutex> lock(state.mutex);
    state.itemsOpen = true;
    state.changed.notify_all();
    while (state.lanesRunning > 0) {
        if (state.reported < state.succeeded && !state.stop) {
            const int count = state.reported + 1;
            lock.unlock();
            const bool stop = work.progress && work.progress(count);
            lock.lock();
            state.reported = count;
            if (stop) state.stop = state.stopped = true;
            state.changed.notify_all();
            continue;
        }
        if (state.lanesRunning == 0) break;
        state.changed.wait(lock);
    }
    const LaneResult result{state.succeeded, state.endedLost, state.stopped,
                            work.items - state.next};
    lock.unlock();
    for (std::thread& thread : threads)
        thread.join();
    return result;
}

bool sessionsSideBySide() {
    const char* mode = std::getenv("CAMLINK_SESSIONS");
    return mode && std::strcmp(mode, "parallel") == 0;
}

}  // namespace fleet
