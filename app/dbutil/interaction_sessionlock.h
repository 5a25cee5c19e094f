// One lock per camlink session. A session's reply text (and downloaded picture) lives in one
// buffer that the session's next call may reallocate, and threads on the same camera share the
// cached session: each call holds this lock from the export until what it handed back is
// copied. The interaction layer keeps one session per camera, so this is a per-camera lock.
// Standard mutexes, here and in the session cache: ThreadSanitizer sees their order, not that
// of a contended QMutex (Debian's Qt is not built for it).
#pragma once

#include <memory>
#include <mutex>

namespace sessionlock {

class Guard {
public:
    explicit Guard(int handle);
    ~Guard();
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

private:
    std::shared_ptr<std::mutex> mutex_;
};

// Drops the lock of a session that was logged out (a holder keeps its own reference).
void forget(int handle);

}  // namespace sessionlock
