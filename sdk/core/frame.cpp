#include "core/frame.h"

namespace camlink {

// Never destroyed: a caller's own static objects may log out in their destructors at exit,
// after the library's statics would otherwise be gone.
SessionTable& SessionTable::instance() {
    static SessionTable* const table = new SessionTable;
    return *table;
}

SessionTable::EntryPtr SessionTable::find(int session) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = sessions_.find(session);
    return it == sessions_.end() ? nullptr : it->second;
}

int SessionTable::login(int* number, const char* address, const char* user, const char* password,
                        char* reply128) {
    std::unique_lock<std::mutex> table(mutex_);
    const int session = ++counter_;
    *number = session;
    const EntryPtr entry = std::make_shared<Entry>();
    sessions_.emplace(session, entry);
    if (sessionMode() == SessionMode::Serial)
        return entry->client.login(address, user, password, reply128);
    // The new session's lock is taken before the table's is let go: a call that names the
    // number early waits for the login.
    std::lock_guard<std::mutex> call(entry->call);
    table.unlock();
    return entry->client.login(address, user, password, reply128);
}

int SessionTable::logout(int session) {
    // Session 0 is the search's, not a login: its areas stay where callers hold them.
    if (session == kSearchSession) return VCAM_ERR_SESSION;
    if (sessionMode() == SessionMode::Parallel) return logoutParallel(session);
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return VCAM_ERR_SESSION;
    it->second->client.logout();
    sessions_.erase(it);
    return VCAM_OK;
}

int SessionTable::logoutParallel(int session) {
    const EntryPtr entry = find(session);
    if (!entry) return VCAM_ERR_SESSION;
    {
        std::lock_guard<std::mutex> call(entry->call);
        if (entry->closed) return VCAM_ERR_SESSION;
        entry->client.logout();
        entry->closed = true;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = sessions_.find(session);
    if (it != sessions_.end() && it->second == entry) sessions_.erase(it);
    return VCAM_OK;
}

}  // namespace camlink
