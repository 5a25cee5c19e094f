// Digest authentication in front of every path, and the lock-out of the login check path.
#pragma once

#include <chrono>
#include <mutex>
#include <string>

struct MHD_Connection;

namespace camsim {

// Counts wrong logins in a row on the login check path; five lock the account for a while.
class LoginGuard {
public:
    static constexpr int kMaxWrongTries = 5;
    using Clock = std::chrono::steady_clock;

    explicit LoginGuard(std::chrono::seconds lockout) : lockout_(lockout) {}

    struct Verdict {
        int status = 200;  // 200, 403 or 423
        std::string body;  // {"retry_left":n} or {"time_left":s}; empty for 200
    };
    Verdict attempt(bool credentialsRight, Clock::time_point now = Clock::now());

private:
    std::mutex mutex_;
    const std::chrono::seconds lockout_;
    int wrongInARow_ = 0;
    Clock::time_point lockedUntil_{};
};

enum class DigestOutcome {
    Missing,     // no Authorization header: challenge
    Stale,       // a nonce the camera no longer knows: challenge again
    Wrong,       // wrong user name or password
    Right,
};

DigestOutcome checkDigest(MHD_Connection* connection, const std::string& realm,
                          const std::string& user, const std::string& password);

}  // namespace camsim
