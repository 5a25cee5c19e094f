#include "http/digest_gate.h"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include "util/crypto.h"

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

// ---- Authorization header ----

namespace {

bool isTokenChar(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    return std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

bool isSpace(char c) {
    return c == ' ' || c == '\t';
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// A cursor over the header; every read stops at the end of the text.
struct Scanner {
    std::string_view text;
    size_t at = 0;

    bool done() const { return at >= text.size(); }
    char peek() const { return text[at]; }
    void skipSpace() {
        while (!done() && isSpace(peek()))
            ++at;
    }
    std::string token() {
        size_t start = at;
        while (!done() && isTokenChar(peek()))
            ++at;
        return std::string(text.substr(start, at - start));
    }
    // An unquoted value: more lenient than a token, since some clients leave paths and
    // base64 text unquoted.
    std::string bare() {
        size_t start = at;
        while (!done() && peek() > ' ' && peek() < 0x7f && peek() != ',' && peek() != '"')
            ++at;
        return std::string(text.substr(start, at - start));
    }
    // After the opening quote; false when the closing quote never comes or a control
    // character appears.
    bool quoted(std::string* out) {
        while (!done()) {
            char c = text[at++];
            if (c == '"') return true;
            if (c == '\\') {
                if (done()) return false;
                c = text[at++];
            }
            if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7f) return false;
            out->push_back(c);
        }
        return false;
    }
};

bool readMember(Scanner& s, DigestParams& params) {
    std::string name = s.token();
    if (name.empty()) return false;
    for (char& c : name)
        c = lower(c);
    s.skipSpace();
    if (s.done() || s.peek() != '=') return false;
    ++s.at;
    s.skipSpace();
    std::string value;
    if (!s.done() && s.peek() == '"') {
        ++s.at;
        if (!s.quoted(&value)) return false;
    } else {
        value = s.bare();
        if (value.empty()) return false;
    }
    return params.emplace(std::move(name), std::move(value)).second;
}

}  // namespace

std::optional<DigestParams> parseDigestAuthorization(std::string_view header) {
    if (header.size() > kMaxAuthorizationBytes) return std::nullopt;
    Scanner s{header};
    s.skipSpace();
    std::string scheme = s.token();
    for (char& c : scheme)
        c = lower(c);
    if (scheme != "digest" || s.done() || !isSpace(s.peek())) return std::nullopt;
    DigestParams params;
    bool wantMember = true;  // a comma was just read, or the list starts
    while (true) {
        s.skipSpace();
        if (s.done()) break;
        if (s.peek() == ',') {  // empty list elements are allowed
            ++s.at;
            wantMember = true;
            continue;
        }
        if (!wantMember || !readMember(s, params)) return std::nullopt;
        wantMember = false;
    }
    if (params.empty()) return std::nullopt;
    return params;
}

// ---- Nonces ----

void NonceTable::remember(const std::string& nonce, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    while (!order_.empty() &&
           (order_.size() >= capacity_ || entries_.at(order_.front()).issued + lifetime_ < now)) {
        entries_.erase(order_.front());
        order_.pop_front();
    }
    if (capacity_ > 0 && entries_.emplace(nonce, Entry{now, 0}).second) order_.push_back(nonce);
}

NonceTable::Use NonceTable::use(const std::string& nonce, uint32_t nc, Clock::time_point now) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = entries_.find(nonce);
    if (found == entries_.end()) return Use::Unknown;
    if (found->second.issued + lifetime_ < now) return Use::Expired;
    if (nc <= found->second.lastNc) return Use::Replayed;
    found->second.lastNc = nc;
    return Use::Accepted;
}

size_t NonceTable::size() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_.size();
}

// ---- The gate ----

namespace {

std::string quote(const std::string& value) {
    std::string out = "\"";
    for (char c : value) {
        if (c == '"' || c == '\\') out.push_back('\\');
        out.push_back(c);
    }
    return out + "\"";
}

std::optional<std::string> randomHex(size_t bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string raw(bytes, '\0');
    if (RAND_bytes(reinterpret_cast<unsigned char*>(raw.data()), static_cast<int>(bytes)) != 1)
        return std::nullopt;
    std::string hex;
    for (unsigned char b : raw) {
        hex.push_back(digits[b >> 4]);
        hex.push_back(digits[b & 0x0f]);
    }
    return hex;
}

// Exactly eight hexadecimal digits, as the nonce count is sent.
std::optional<uint32_t> parseNonceCount(const std::string& text) {
    if (text.size() != 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        int digit = (c >= '0' && c <= '9')   ? c - '0'
                    : (c >= 'a' && c <= 'f') ? c - 'a' + 10
                    : (c >= 'A' && c <= 'F') ? c - 'A' + 10
                                             : -1;
        if (digit < 0) return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(digit);
    }
    return value;
}

bool sameSecret(const std::string& a, const std::string& b) {
    return a.size() == b.size() && CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

const std::string* member(const DigestParams& params, const char* name) {
    auto found = params.find(name);
    return found == params.end() || found->second.empty() ? nullptr : &found->second;
}

}  // namespace

DigestGate::DigestGate(DigestSettings settings)
    : settings_(std::move(settings)),
      ha1_(md5HexLower(settings_.user + ":" + settings_.realm + ":" + settings_.password)),
      nonces_(settings_.nonceCapacity, settings_.nonceLifetime) {}

std::string DigestGate::challenge(bool stale, Clock::time_point now) {
    std::optional<std::string> nonce = randomHex(16);
    if (!nonce) return "";
    nonces_.remember(*nonce, now);
    std::string value = "Digest realm=" + quote(settings_.realm) + ", qop=\"auth\", nonce=\"" +
                        *nonce + "\", opaque=\"" + kOpaque + "\", algorithm=MD5";
    if (stale) value += ", stale=true";
    return value;
}

DigestOutcome DigestGate::check(const std::string& method, const std::string& target,
                                const std::string& authorization, Clock::time_point now) {
    std::optional<DigestParams> params = parseDigestAuthorization(authorization);
    if (!params) return DigestOutcome::Missing;
    const std::string* user = member(*params, "username");
    const std::string* realm = member(*params, "realm");
    const std::string* nonce = member(*params, "nonce");
    const std::string* uri = member(*params, "uri");
    const std::string* response = member(*params, "response");
    const std::string* qop = member(*params, "qop");
    const std::string* nc = member(*params, "nc");
    const std::string* cnonce = member(*params, "cnonce");
    const std::string* algorithm = member(*params, "algorithm");
    if (!user || !realm || !nonce || !uri || !response || !qop || !nc || !cnonce)
        return DigestOutcome::Missing;
    std::optional<uint32_t> count = parseNonceCount(*nc);
    std::string algorithmName = algorithm ? *algorithm : "md5";
    for (char& c : algorithmName)
        c = lower(c);
    if (*qop != "auth" || !count || algorithmName != "md5") return DigestOutcome::Missing;
    if (*user != settings_.user || *realm != settings_.realm || *uri != target)
        return DigestOutcome::Wrong;
    const std::string ha2 = md5HexLower(method + ":" + *uri);
    const std::string expected =
        md5HexLower(ha1_ + ":" + *nonce + ":" + *nc + ":" + *cnonce + ":" + *qop + ":" + ha2);
    std::string given = *response;
    for (char& c : given)
        c = lower(c);
    if (!sameSecret(expected, given)) return DigestOutcome::Wrong;
    // Only a right digest may tell the client that its nonce is worn out; a wrong one
    // counts as a wrong password whatever nonce it names.
    if (nonces_.use(*nonce, *count, now) != NonceTable::Use::Accepted) return DigestOutcome::Stale;
    return DigestOutcome::Right;
}

}  // namespace camsim
