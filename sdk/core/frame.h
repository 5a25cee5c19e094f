// The session frame: the process-wide table of sessions and the one mutex that every session
// call holds from lookup to result, network waits included.
#pragma once

#include <json/json.h>

#include <map>
#include <mutex>
#include <new>

#include "camlink.h"
#include "core/client.h"

namespace camlink {

class SessionTable {
public:
    static SessionTable& instance();

    // Looks the session up and runs `op` on it, all under the table mutex; 10 when unknown.
    template <typename Op>
    int withSession(int session, Op&& op) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = sessions_.find(session);
        if (it == sessions_.end()) return VCAM_ERR_SESSION;
        return op(it->second);
    }

    // A new session numbered one above the last (written through `number` before the attempt),
    // then the login; the entry stays even when the login fails.
    int login(int* number, const char* address, const char* user, const char* password,
              char* reply128);
    // 10 for an unknown session and for session 0, which no login made.
    int logout(int session);

    // Runs `op` on session 0, the search session, creating it if absent; under the table mutex,
    // so `op` must be brief (the search itself runs under session 0's own mutex).
    template <typename Op>
    auto withSearchSession(Op&& op) {
        std::lock_guard<std::mutex> lock(mutex_);
        return op(sessions_.try_emplace(kSearchSession).first->second);
    }

private:
    static constexpr int kSearchSession = 0;

    SessionTable() = default;

    std::mutex mutex_;
    std::map<int, LumenControl::LumenControlClient> sessions_;
    int counter_ = 0;
};

// Runs the body of an export; whatever it throws becomes a result code, so nothing crosses the
// C boundary.
template <typename Body>
int guarded(Body&& body) noexcept {
    try {
        return body();
    } catch (const Json::Exception&) {
        return VCAM_ERR_REPLY;
    } catch (...) {  // std::bad_alloc and anything else the standard library may throw
        return VCAM_ERR_NO_MEMORY;
    }
}

}  // namespace camlink
