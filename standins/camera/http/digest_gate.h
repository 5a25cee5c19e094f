// Digest authentication in front of every path, and the lock-out of the login check path.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

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
    Missing,  // no usable Digest Authorization header: challenge
    Stale,    // right digest on a nonce that is unknown, expired or already used: challenge again
    Wrong,    // wrong user name, realm, URI or password
    Right,
};

// Members of a Digest Authorization header, names in lower case, quoted values unescaped.
using DigestParams = std::map<std::string, std::string>;

constexpr size_t kMaxAuthorizationBytes = 4096;

// Reads `Digest name=value, name="quoted \"value\"", ...`. nullopt for another scheme, a
// header longer than kMaxAuthorizationBytes, a member given twice, an unterminated quote,
// a control character or anything else that is not a well-formed list.
std::optional<DigestParams> parseDigestAuthorization(std::string_view header);

// The nonces handed out in challenges and the highest nonce count used with each. Bounded:
// when full, the oldest nonce is forgotten (its client gets a stale challenge and a new one).
class NonceTable {
public:
    using Clock = std::chrono::steady_clock;
    enum class Use { Accepted, Unknown, Expired, Replayed };

    NonceTable(size_t capacity, std::chrono::seconds lifetime)
        : capacity_(capacity), lifetime_(lifetime) {}

    void remember(const std::string& nonce, Clock::time_point now);
    // Accepted (and recorded) only when the nonce is known, not expired and `nc` is higher
    // than any count used with it before.
    Use use(const std::string& nonce, uint32_t nc, Clock::time_point now);
    size_t size() const;

private:
    struct Entry {
        Clock::time_point issued;
        uint32_t lastNc = 0;
    };
    mutable std::mutex mutex_;
    const size_t capacity_;
    const std::chrono::seconds lifetime_;
    std::unordered_map<std::string, Entry> entries_;
    std::deque<std::string> order_;  // oldest first
};

struct DigestSettings {
    std::string realm;
    std::string user;
    std::string password;
    size_t nonceCapacity = 8192;
    std::chrono::seconds nonceLifetime{300};
};

// MD5 digest with qop="auth"; every challenge carries a nonce of its own, so clients that are
// challenged at the same moment never share a nonce count. Thread-safe.
class DigestGate {
public:
    using Clock = std::chrono::steady_clock;

    explicit DigestGate(DigestSettings settings);

    // The WWW-Authenticate value of a new challenge; empty when no random bytes could be had.
    std::string challenge(bool stale, Clock::time_point now = Clock::now());
    // `target` is the request target as it came (path and query), which the digest's uri
    // member must repeat.
    DigestOutcome check(const std::string& method, const std::string& target,
                        const std::string& authorization, Clock::time_point now = Clock::now());

    static constexpr const char* kOpaque = "c2ltdWxhdGVkY2FtZXJh";

private:
    const DigestSettings settings_;
    const std::string ha1_;  // MD5(user:realm:password)
    NonceTable nonces_;
};

}  // namespace camsim
