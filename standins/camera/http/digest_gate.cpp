#include "http/digest_gate.h"

#include <microhttpd.h>

namespace camsim {

LoginGuard::Verdict LoginGuard::attempt(bool credentialsRight, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (now < lockedUntil_) {
        auto left = std::chrono::ceil<std::chrono::seconds>(lockedUntil_ - now).count();
        return {423, "{\"time_left\":" + std::to_string(left) + "}"};
    }
    if (credentialsRight) {
        wrongInARow_ = 0;
        return {200, ""};
    }
    ++wrongInARow_;
    int left = kMaxWrongTries - wrongInARow_;
    if (left <= 0) {
        wrongInARow_ = 0;
        lockedUntil_ = now + lockout_;
        left = 0;
    }
    return {403, "{\"retry_left\":" + std::to_string(left) + "}"};
}

DigestOutcome checkDigest(MHD_Connection* connection, const std::string& realm,
                          const std::string& user, const std::string& password) {
    char* given = MHD_digest_auth_get_username(connection);
    if (!given) return DigestOutcome::Missing;
    bool userRight = user == given;
    MHD_free(given);
    if (!userRight) return DigestOutcome::Wrong;
    int result = MHD_digest_auth_check2(connection, realm.c_str(), user.c_str(), password.c_str(),
                                        300, MHD_DIGEST_ALG_MD5);
    if (result == MHD_YES) return DigestOutcome::Right;
    if (result == MHD_INVALID_NONCE) return DigestOutcome::Stale;
    return DigestOutcome::Wrong;
}

}  // namespace camsim
