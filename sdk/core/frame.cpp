#include "core/frame.h"

namespace camlink {

// Never destroyed: a caller's own static objects may log out in their destructors at exit,
// after the library's statics would otherwise be gone.
SessionTable& SessionTable::instance() {
    static SessionTable* const table = new SessionTable;
    return *table;
}

int SessionTable::login(int* number, const char* address, const char* user, const char* password,
                        char* reply128) {
    std::lock_guard<std::mutex> lock(mutex_);
    const int session = ++counter_;
    *number = session;
    auto& client = sessions_.try_emplace(session).first->second;
    return client.login(address, user, password, reply128);
}

int SessionTable::logout(int session) {
    // Session 0 is the search's, not a login: its areas stay where callers hold them.
    if (session == kSearchSession) return VCAM_ERR_SESSION;
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = sessions_.find(session);
    if (it == sessions_.end()) return VCAM_ERR_SESSION;
    it->second.logout();
    sessions_.erase(it);
    return VCAM_OK;
}

}  // namespace camlink
