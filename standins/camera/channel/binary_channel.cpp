#include "channel/binary_channel.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "util/crypto.h"

namespace camsim {

namespace {

constexpr size_t kHeaderSize = 32;
constexpr size_t kLoginBodySize = 76;
constexpr size_t kFieldSize = 32;         // user name and password fields of the login
constexpr size_t kCredentialLength = 31;  // the client truncates both to this many characters
constexpr size_t kMaxConnections = 64;
constexpr size_t kRecvChunk = 16 * 1024;
constexpr int kMaxRecvsPerWakeup = 4;  // keeps one busy upload from starving the others
constexpr uint32_t kNoLogin = 0;
constexpr uint32_t kAnyLogin = 0xFFFFFFFF;  // the login id of handshake and login requests
constexpr size_t kLoginReservedAt = kHeaderSize + 64;  // four zero bytes before the serial block

// Commands as the two bytes at offset 4, read little-endian.
constexpr uint16_t kCmdHandshake = 0x0101;
constexpr uint16_t kCmdLogin = 0x0000;
constexpr uint16_t kCmdLogout = 0x0001;
constexpr uint16_t kCmdUpgrade = 0x2002;

constexpr uint8_t kStatusAccepted = 0;
constexpr uint8_t kStatusRefused = 1;

class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int release() { return std::exchange(fd_, -1); }
    void reset(int fd = -1) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = fd;
    }

private:
    int fd_ = -1;
};

uint32_t readLe32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void writeLe32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}

struct Header {
    uint16_t command = 0;
    uint32_t loginId = 0;
    uint32_t length = 0;
};

bool allZero(const uint8_t* from, const uint8_t* to) {
    return std::all_of(from, to, [](uint8_t b) { return b == 0; });
}

bool parseHeader(const uint8_t* p, Header* header) {
    if (p[0] != 0x00 || p[1] != 0x00 || p[2] != 0x01 || p[3] != 0x01) return false;
    header->command = uint16_t(p[4] | p[5] << 8);
    header->loginId = readLe32(p + 8);
    header->length = readLe32(p + 12);
    return true;
}

// Whether the bytes that a request's command fixes are as the layout has them. `loginId` is the
// id of the login accepted on the connection (kNoLogin when none): logout and upgrade carry it.
bool layoutFits(const uint8_t* p, const Header& h, uint32_t loginId) {
    if (p[6] != 0 || p[7] != 0 || !allZero(p + 17, p + kHeaderSize)) return false;
    const bool loggedIn = loginId != kNoLogin;
    switch (h.command) {
        case kCmdHandshake:
            return p[16] == 0 && h.loginId == kAnyLogin && h.length == 0;
        case kCmdLogin:
            return p[16] == 1 && h.loginId == kAnyLogin && h.length == kLoginBodySize;
        case kCmdLogout:
            return p[16] == 0 && loggedIn && h.loginId == loginId && h.length == 0;
        case kCmdUpgrade:
            return p[16] == 1 && loggedIn && h.loginId == loginId;
        default:
            return false;
    }
}

std::string responseHeader(uint16_t command, uint8_t status, uint32_t loginId,
                           uint32_t length = 0) {
    std::array<uint8_t, kHeaderSize> h{};
    h[2] = 0x01;
    h[3] = 0x01;
    h[4] = uint8_t(command);
    h[5] = uint8_t(command >> 8);
    h[6] = status;
    writeLe32(&h[8], loginId);
    writeLe32(&h[12], length);
    return std::string(h.begin(), h.end());
}

DesBlock serialBytes(uint64_t serial) {
    DesBlock b;
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(serial >> (56 - 8 * i));
    return b;
}

// A NUL-padded field as text, cut at the first NUL and at the client's truncation length.
std::string fieldText(const uint8_t* p) {
    size_t n = 0;
    while (n < kFieldSize && p[n] != 0)
        ++n;
    return std::string(reinterpret_cast<const char*>(p), std::min(n, kCredentialLength));
}

std::string truncated(const std::string& s) {
    return s.substr(0, kCredentialLength);
}

enum class Phase { Header, LoginBody, UpgradeBody };

struct Connection {
    UniqueFd fd;
    int id = 0;
    Phase phase = Phase::Header;
    std::array<uint8_t, kHeaderSize + kLoginBodySize> in{};
    size_t have = 0;
    std::string out;               // responses not yet accepted by the socket
    bool closeAfterFlush = false;  // logged out: send what is pending, then close
    bool dead = false;
    uint32_t loginId = kNoLogin;  // id of the accepted login on this connection
    // Firmware being received.
    std::unique_ptr<Md5Stream> md5;
    uint32_t announced = 0;
    uint64_t received = 0;
};

}  // namespace

struct BinaryChannel::Impl {
    Impl(ChannelSettings s, ChannelState& st)
        : settings(std::move(s)), state(st), key(serialBytes(settings.serial)) {}

    ChannelSettings settings;
    ChannelState& state;
    DesBlock key;
    UniqueFd listener;
    UniqueFd wake;
    std::thread thread;
    std::atomic<bool> stopping{false};
    std::vector<std::unique_ptr<Connection>> connections;  // touched by the thread only
    uint32_t nextLoginId = 1;
    int nextConnectionId = 1;

    bool open(std::string* error);
    void run();
    void acceptPending();
    void service(Connection& c, short revents);
    void receive(Connection& c);
    void flush(Connection& c);
    bool consume(Connection& c, const uint8_t* data, size_t size);
    bool onHeader(Connection& c);
    bool onLogin(Connection& c);
    void journalRequest(const Connection& c, size_t size, bool refused);
    void answer(Connection& c, std::string packet);
    void startUpgrade(Connection& c, uint32_t length);
    void finishUpgrade(Connection& c, bool complete);
    void dropDead();
};

namespace {
void setError(std::string* error, const std::string& text) {
    if (error) *error = text;
}
}  // namespace

bool BinaryChannel::Impl::open(std::string* error) {
    const std::string where = settings.address + ":" + std::to_string(settings.port);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(settings.port);
    if (inet_pton(AF_INET, settings.address.c_str(), &addr.sin_addr) != 1) {
        setError(error, "cannot bind " + where + ": not an IPv4 address");
        return false;
    }
    UniqueFd sock(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    UniqueFd event(::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC));
    if (!sock.valid() || !event.valid()) {
        setError(error, "cannot bind " + where + ": " + std::strerror(errno));
        return false;
    }
    int one = 1;
    ::setsockopt(sock.get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (::bind(sock.get(), reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(sock.get(), 16) != 0) {
        setError(error, "cannot bind " + where + ": " + std::strerror(errno));
        return false;
    }
    listener = std::move(sock);
    wake = std::move(event);
    return true;
}

void BinaryChannel::Impl::run() {
    std::vector<pollfd> fds;
    while (!stopping.load()) {
        fds.clear();
        fds.push_back({wake.get(), POLLIN, 0});
        fds.push_back({listener.get(), POLLIN, 0});
        for (auto& c : connections) {
            short events = c->out.empty() ? (c->closeAfterFlush ? 0 : POLLIN) : POLLOUT;
            fds.push_back({c->fd.get(), events, 0});
        }
        if (::poll(fds.data(), fds.size(), -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents != 0) break;
        // Only the connections that were polled; accepting below appends new ones.
        for (size_t i = 2; i < fds.size(); ++i) {
            if (fds[i].revents != 0) service(*connections[i - 2], fds[i].revents);
        }
        dropDead();
        if (fds[1].revents & POLLIN) acceptPending();
    }
}

void BinaryChannel::Impl::acceptPending() {
    for (int i = 0; i < 16; ++i) {
        UniqueFd fd(::accept4(listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
        if (!fd.valid()) return;
        if (connections.size() >= kMaxConnections) continue;  // closed by the owner
        int one = 1;
        ::setsockopt(fd.get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        auto c = std::make_unique<Connection>();
        c->fd = std::move(fd);
        c->id = nextConnectionId++;
        connections.push_back(std::move(c));
    }
}

void BinaryChannel::Impl::service(Connection& c, short revents) {
    if (revents & POLLOUT) flush(c);
    if (!c.dead && (revents & (POLLIN | POLLHUP | POLLERR))) receive(c);
}

void BinaryChannel::Impl::receive(Connection& c) {
    std::array<uint8_t, kRecvChunk> chunk;
    for (int i = 0; i < kMaxRecvsPerWakeup && !c.dead && c.out.empty(); ++i) {
        ssize_t n = ::recv(c.fd.get(), chunk.data(), chunk.size(), 0);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return;
        if (n <= 0 || !consume(c, chunk.data(), size_t(n))) {
            c.dead = true;
            return;
        }
        // Responses go out as soon as a request is complete; while the peer does not take
        // them, stop reading so a client that never reads cannot grow the output.
        flush(c);
        if (c.closeAfterFlush) return;
    }
}

void BinaryChannel::Impl::flush(Connection& c) {
    while (!c.out.empty()) {
        ssize_t n = ::send(c.fd.get(), c.out.data(), c.out.size(), MSG_NOSIGNAL);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return;
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            c.dead = true;
            return;
        }
        c.out.erase(0, size_t(n));
    }
    if (c.closeAfterFlush) c.dead = true;
}

bool BinaryChannel::Impl::consume(Connection& c, const uint8_t* data, size_t size) {
    while (size > 0 && !c.closeAfterFlush) {
        if (c.phase == Phase::UpgradeBody) {
            size_t take = size_t(std::min<uint64_t>(size, c.announced - c.received));
            c.md5->update(data, take);
            c.received += take;
            data += take;
            size -= take;
            if (state.fault.load() == ChannelFault::CloseMidUpgrade &&
                2 * c.received >= c.announced)
                return false;
            if (c.received == c.announced) finishUpgrade(c, true);
            continue;
        }
        const size_t need = c.phase == Phase::Header ? kHeaderSize : kHeaderSize + kLoginBodySize;
        size_t take = std::min(size, need - c.have);
        std::memcpy(c.in.data() + c.have, data, take);
        c.have += take;
        data += take;
        size -= take;
        if (c.have < need) break;
        if (!(c.phase == Phase::Header ? onHeader(c) : onLogin(c))) return false;
    }
    return true;  // anything after a logout is ignored
}

void BinaryChannel::Impl::journalRequest(const Connection& c, size_t size, bool refused) {
    state.record({ChannelPacket::Direction::In, c.id,
                  std::string(reinterpret_cast<const char*>(c.in.data()), size), refused});
}

// Queues an answer, as much of it as the fault on demand lets out.
void BinaryChannel::Impl::answer(Connection& c, std::string packet) {
    if (state.fault.load() == ChannelFault::ShortReply) packet.resize(packet.size() / 2);
    state.record({ChannelPacket::Direction::Out, c.id, packet, false});
    c.out += packet;
}

// A request whose fixed bytes do not fit is refused: the connection is closed unanswered.
bool BinaryChannel::Impl::onHeader(Connection& c) {
    Header h;
    const bool fits = parseHeader(c.in.data(), &h) && layoutFits(c.in.data(), h, c.loginId);
    if (!fits || h.command != kCmdLogin) journalRequest(c, kHeaderSize, !fits);
    if (!fits) return false;
    c.have = 0;
    switch (h.command) {
        case kCmdHandshake: {
            if (state.fault.load() == ChannelFault::SilentHandshake) return true;
            DesBlock serial = serialBytes(settings.serial);
            answer(c, responseHeader(kCmdHandshake, kStatusAccepted, h.loginId, 8) +
                          std::string(serial.begin(), serial.end()));
            return true;
        }
        case kCmdLogin:
            c.have = kHeaderSize;  // the header stays in the buffer, the body follows it
            c.phase = Phase::LoginBody;
            return true;
        case kCmdLogout: {
            std::lock_guard<std::mutex> lock(state.mutex);
            ++state.logouts;
            c.closeAfterFlush = true;
            return true;
        }
        default:  // upgrade: the only other command that fits
            startUpgrade(c, h.length);
            return true;
    }
}

bool BinaryChannel::Impl::onLogin(Connection& c) {
    const bool fits = allZero(c.in.data() + kLoginReservedAt, c.in.data() + kLoginReservedAt + 4);
    journalRequest(c, kHeaderSize + kLoginBodySize, !fits);
    if (!fits) return false;
    const uint8_t* body = c.in.data() + kHeaderSize;
    std::array<uint8_t, kFieldSize> password;
    for (size_t b = 0; b < kFieldSize; b += 8) {
        DesBlock block;
        std::copy_n(body + kFieldSize + b, 8, block.begin());
        DesBlock plain = desDecrypt(key, block);
        std::copy(plain.begin(), plain.end(), password.begin() + b);
    }
    DesBlock serialBlock;
    std::copy_n(body + 68, 8, serialBlock.begin());

    bool ok = !state.refuseLogin.load() && fieldText(body) == truncated(settings.user) &&
              fieldText(password.data()) == truncated(settings.password) &&
              desDecrypt(key, serialBlock) == serialBytes(settings.serial);
    if (ok) {
        c.loginId = nextLoginId++;
        if (nextLoginId == kNoLogin) nextLoginId = 1;
    }
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        ++(ok ? state.logins : state.refusedLogins);
    }
    answer(c, responseHeader(kCmdLogin, ok ? kStatusAccepted : kStatusRefused,
                             ok ? c.loginId : kNoLogin));
    c.phase = Phase::Header;
    c.have = 0;
    return true;
}

void BinaryChannel::Impl::startUpgrade(Connection& c, uint32_t length) {
    c.md5 = std::make_unique<Md5Stream>();
    c.announced = length;
    c.received = 0;
    c.have = 0;
    c.phase = Phase::UpgradeBody;
    if (length == 0) finishUpgrade(c, true);
}

// `complete` is false when the client went away before sending the whole file.
void BinaryChannel::Impl::finishUpgrade(Connection& c, bool complete) {
    const bool refuse = state.refuseUpgrade.load();
    UpgradeRecord record;
    record.announcedSize = c.announced;
    record.receivedSize = c.received;
    record.md5 = c.md5->finishHexUpper();
    record.accepted = complete && !refuse;
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.upgrades.push_back(std::move(record));
    }
    c.md5.reset();
    c.phase = Phase::Header;
    if (complete && !state.silentUpgrade.load()) {
        answer(c,
               responseHeader(kCmdUpgrade, refuse ? kStatusRefused : kStatusAccepted, c.loginId));
    }
}

void BinaryChannel::Impl::dropDead() {
    for (auto& c : connections) {
        if (c->dead && c->phase == Phase::UpgradeBody) finishUpgrade(*c, false);
    }
    connections.erase(std::remove_if(connections.begin(), connections.end(),
                                     [](const auto& c) { return c->dead; }),
                      connections.end());
}

void ChannelState::record(ChannelPacket packet) {
    std::lock_guard<std::mutex> lock(mutex);
    if (packets.size() == kJournalCapacity) packets.pop_front();
    packets.push_back(std::move(packet));
}

std::vector<ChannelPacket> ChannelState::journal() const {
    std::lock_guard<std::mutex> lock(mutex);
    return {packets.begin(), packets.end()};
}

BinaryChannel::BinaryChannel(ChannelSettings settings, ChannelState& state)
    : impl_(std::make_unique<Impl>(std::move(settings), state)) {}

BinaryChannel::~BinaryChannel() {
    stop();
}

bool BinaryChannel::start(std::string* error) {
    if (impl_->thread.joinable()) return true;
    if (!impl_->open(error)) return false;
    impl_->stopping = false;
    impl_->thread = std::thread([this] { impl_->run(); });
    return true;
}

void BinaryChannel::stop() {
    if (!impl_->thread.joinable()) return;
    impl_->stopping = true;
    uint64_t one = 1;
    ssize_t ignored = ::write(impl_->wake.get(), &one, sizeof one);
    (void)ignored;
    impl_->thread.join();
    impl_->connections.clear();
    impl_->listener.reset();
    impl_->wake.reset();
}

}  // namespace camsim
