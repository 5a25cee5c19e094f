// The session frame: the process-wide table of sessions and the locks a session call holds.
// Serial mode (the default): the table's one mutex from lookup to result, network waits
// included, so calls run one after another. Parallel mode: the table's mutex only to look up,
// insert and erase; each call holds its own session's mutex, so calls on one session keep
// their order and calls on different sessions run side by side.
#pragma once

#include <json/json.h>

#include <map>
#include <memory>
#include <mutex>
#include <new>

#include "camlink.h"
#include "core/client.h"
#include "core/session_mode.h"

namespace camlink {

class SessionTable {
public:
    static SessionTable& instance();

    // Looks the session up and runs `op` on it; 10 when unknown or logged out meanwhile.
    template <typename Op>
    int withSession(int session, Op&& op) {
        if (sessionMode() == SessionMode::Serial) {
            std::lock_guard<std::mutex> lock(mutex_);
            auto it = sessions_.find(session);
            if (it == sessions_.end()) return VCAM_ERR_SESSION;
            return op(it->second->client);
        }
        const EntryPtr entry = find(session);
        if (!entry) return VCAM_ERR_SESSION;
        std::lock_guard<std::mutex> call(entry->call);
        if (entry->closed) return VCAM_ERR_SESSION;
        return op(entry->client);
    }

    // A new session numbered one above the last (written through `number` before the attempt),
    // then the login; the entry stays even when the login fails.
    int login(int* number, const char* address, const char* user, const char* password,
              char* reply128);
    // 10 for an unknown session and for session 0, which no login made. In parallel mode it
    // waits for the session's running call.
    int logout(int session);

    // Runs `op` on session 0, the search session, creating it if absent; under the table mutex,
    // so `op` must be brief (the search itself runs under session 0's own mutex).
    template <typename Op>
    auto withSearchSession(Op&& op) {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = sessions_.try_emplace(kSearchSession).first;
        if (!it->second) it->second = std::make_shared<Entry>();
        return op(it->second->client);
    }

private:
    static constexpr int kSearchSession = 0;

    // Shared, so a call in progress keeps its session alive while the table changes.
    struct Entry {
        std::mutex call;      // parallel mode: held for each call on the session
        bool closed = false;  // logged out; guarded by `call`
        LumenControl::LumenControlClient client;
    };
    using EntryPtr = std::shared_ptr<Entry>;

    SessionTable() = default;
    EntryPtr find(int session);
    int logoutParallel(int session);

    std::mutex mutex_;
    std::map<int, EntryPtr> sessions_;
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
