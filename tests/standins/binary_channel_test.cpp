// The camera's binary TCP channel driven by an independent client over real loopback sockets.
#include "channel/binary_channel.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include "util/crypto.h"

namespace camsim {
namespace {

constexpr uint64_t kSerial = 0x5A17C0DE12345678ULL;
constexpr int kWaitMs = 3000;
const std::string kLongPassword = "0123456789abcdefghijklmnopqrstuvwxyzABCD";  // 40 characters

struct Command {
    uint8_t first, second;
};
constexpr Command kHandshake{0x01, 0x01}, kLogin{0x00, 0x00}, kLogout{0x01, 0x00},
    kUpgrade{0x02, 0x20};

std::string header(Command cmd, uint32_t loginId, uint32_t length, uint8_t flag) {
    std::string h(32, '\0');
    h[2] = h[3] = 0x01;
    h[4] = char(cmd.first);
    h[5] = char(cmd.second);
    for (int i = 0; i < 4; ++i) {
        h[8 + i] = char(loginId >> (8 * i));
        h[12 + i] = char(length >> (8 * i));
    }
    h[16] = char(flag);
    return h;
}

std::string handshake() {
    return header(kHandshake, 0xFFFFFFFF, 0, 0);
}

DesBlock bigEndian(uint64_t v) {
    DesBlock b;
    for (int i = 0; i < 8; ++i)
        b[i] = uint8_t(v >> (56 - 8 * i));
    return b;
}

uint32_t le32(const std::string& s, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = v << 8 | uint8_t(s[at + i]);
    return v;
}

// Field contents are copied as given (up to 32 bytes); the caller truncates like the SDK does.
std::string loginPacket(const std::string& user, const std::string& password, uint64_t serial,
                        uint64_t keySerial) {
    std::string p = header(kLogin, 0xFFFFFFFF, 76, 1) + std::string(76, '\0');
    p.replace(32, std::min<size_t>(user.size(), 32), user.substr(0, 32));
    const DesBlock key = bigEndian(keySerial);
    std::string field(32, '\0');
    field.replace(0, std::min<size_t>(password.size(), 32), password.substr(0, 32));
    for (size_t b = 0; b < 32; b += 8) {
        DesBlock block;
        std::copy_n(field.begin() + b, 8, block.begin());
        DesBlock sealed = desEncrypt(key, block);
        std::copy(sealed.begin(), sealed.end(), p.begin() + 64 + b);
    }
    DesBlock sealed = desEncrypt(key, bigEndian(serial));
    std::copy(sealed.begin(), sealed.end(), p.begin() + 100);
    return p;
}

struct Reply {
    bool received = false;
    std::string bytes;
    // -1 and 0 when no whole header came back.
    int status() const { return bytes.size() >= 32 ? uint8_t(bytes[6]) : -1; }
    uint32_t loginId() const { return bytes.size() >= 32 ? le32(bytes, 8) : 0; }
};

struct Client {
    int fd = -1;

    explicit Client(const std::string& address) {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        int one = 1;  // split writes go out at once
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(80);
        inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
        if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) close();
    }
    ~Client() { close(); }
    void close() {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }

    bool send(const std::string& bytes) {
        return fd >= 0 &&
               ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL) == ssize_t(bytes.size());
    }
    // Up to `n` bytes; fewer when the camera closes or stays quiet for `ms`.
    std::string receive(size_t n, int ms = kWaitMs) {
        std::string out;
        char buf[256];
        pollfd p{fd, POLLIN, 0};
        while (out.size() < n && ::poll(&p, 1, ms) == 1) {
            ssize_t got = ::recv(fd, buf, std::min(sizeof buf, n - out.size()), 0);
            if (got <= 0) break;
            out.append(buf, size_t(got));
        }
        return out;
    }
    bool closedByCamera() {
        pollfd p{fd, POLLIN, 0};
        char c;
        return ::poll(&p, 1, kWaitMs) == 1 && ::recv(fd, &c, 1, 0) <= 0;
    }
    Reply request(const std::string& packet, size_t replySize = 32) {
        Reply r;
        if (!send(packet)) return r;
        r.bytes = receive(replySize);
        r.received = r.bytes.size() == replySize;
        return r;
    }
    Reply login(const std::string& user, const std::string& password, uint64_t serial = kSerial,
                uint64_t keySerial = kSerial) {
        return request(loginPacket(user, password, serial, keySerial));
    }
    Reply upgrade(uint32_t loginId, const std::string& file) {
        return request(header(kUpgrade, loginId, uint32_t(file.size()), 1) + file);
    }
};

template <class Condition>
bool eventually(Condition condition) {
    for (int i = 0; i < kWaitMs / 10 && !condition(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

std::string testFile(size_t size) {
    std::string file(size, '\0');
    for (size_t i = 0; i < size; ++i)
        file[i] = char((i * 131 + i / 7) & 0xff);
    return file;
}

class BinaryChannelTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(start(camera, state, address)); }

    static bool start(std::unique_ptr<BinaryChannel>& channel, ChannelState& st,
                      const std::string& at, uint64_t serial = kSerial,
                      const std::string& password = "secret") {
        channel =
            std::make_unique<BinaryChannel>(ChannelSettings{at, 80, serial, "admin", password}, st);
        std::string error;
        bool ok = channel->start(&error);
        EXPECT_TRUE(ok) << error;
        return ok;
    }
    int count(int ChannelState::*field) {
        std::lock_guard<std::mutex> lock(state.mutex);
        return state.*field;
    }
    std::vector<UpgradeRecord> upgrades() {
        std::lock_guard<std::mutex> lock(state.mutex);
        return state.upgrades;
    }
    // A client that has logged in; its login id in `loginId`.
    std::unique_ptr<Client> loggedIn(uint32_t* loginId) {
        auto c = std::make_unique<Client>(address);
        Reply r = c->login("admin", "secret");
        EXPECT_TRUE(r.received && r.status() == 0);
        *loginId = r.received ? r.loginId() : 0;
        return c;
    }

    const std::string address = "127.0.50.1";
    ChannelState state;
    std::unique_ptr<BinaryChannel> camera;
};

TEST_F(BinaryChannelTest, HandshakeAnswersSerialMostSignificantByteFirst) {
    Client c(address);
    Reply r = c.request(handshake(), 40);
    ASSERT_TRUE(r.received);
    EXPECT_EQ(r.bytes.substr(0, 6), std::string("\0\0\x01\x01\x01\x01", 6));
    EXPECT_EQ(r.status(), 0);
    const DesBlock serial = bigEndian(kSerial);
    EXPECT_EQ(r.bytes.substr(32, 8), std::string(serial.begin(), serial.end()));
}

TEST_F(BinaryChannelTest, LoginChecksUserPasswordAndSerialBlock) {
    Client c(address);
    Reply wrongPassword = c.login("admin", "secreT");
    Reply wrongUser = c.login("admin2", "secret");
    Reply wrongSerial = c.login("admin", "secret", kSerial + 1);
    Reply wrongKey = c.login("admin", "secret", kSerial, kSerial ^ 0x200);  // not a parity bit
    for (const Reply& r : {wrongPassword, wrongUser, wrongSerial, wrongKey}) {
        ASSERT_TRUE(r.received);
        EXPECT_NE(r.status(), 0);
    }
    // A refusal leaves the connection usable, and every accepted login gets its own id.
    Reply first = c.login("admin", "secret");
    Reply second = Client(address).login("admin", "secret");
    ASSERT_TRUE(first.received && second.received);
    EXPECT_EQ(first.bytes.substr(4, 2), std::string("\0\0", 2));
    EXPECT_EQ(first.status(), 0);
    EXPECT_EQ(second.status(), 0);
    EXPECT_NE(first.loginId(), 0u);
    EXPECT_NE(second.loginId(), 0u);
    EXPECT_NE(first.loginId(), second.loginId());
    EXPECT_EQ(count(&ChannelState::logins), 2);
    EXPECT_EQ(count(&ChannelState::refusedLogins), 4);
}

TEST_F(BinaryChannelTest, LoginComparesTheFirst31Characters) {
    ChannelState longState;
    std::unique_ptr<BinaryChannel> longCamera;
    ASSERT_TRUE(start(longCamera, longState, "127.0.50.2", kSerial, kLongPassword));
    Client c("127.0.50.2");
    EXPECT_EQ(c.login("admin", kLongPassword.substr(0, 31)).status(), 0);
    EXPECT_EQ(c.login("admin", kLongPassword.substr(0, 32)).status(), 0);  // no NUL at all
    EXPECT_NE(c.login("admin", kLongPassword.substr(0, 30)).status(), 0);
    std::lock_guard<std::mutex> lock(longState.mutex);
    EXPECT_EQ(longState.logins, 2);
}

TEST_F(BinaryChannelTest, LoginRefusedOnDemand) {
    state.refuseLogin = true;
    Reply r = Client(address).login("admin", "secret");
    ASSERT_TRUE(r.received);
    EXPECT_NE(r.status(), 0);
    EXPECT_EQ(count(&ChannelState::refusedLogins), 1);
    EXPECT_EQ(count(&ChannelState::logins), 0);
}

TEST_F(BinaryChannelTest, UpgradeStreamsFileInPiecesAndRecordsDigest) {
    uint32_t id = 0;
    auto c = loggedIn(&id);
    const std::string file = testFile(2500);
    const std::string packet = header(kUpgrade, id, 2500, 1) + file;
    // Split inside the header and inside the file to exercise reassembly.
    ASSERT_TRUE(c->send(packet.substr(0, 10)) && c->send(packet.substr(10, 600)));
    Reply r = c->request(packet.substr(610));
    ASSERT_TRUE(r.received);
    EXPECT_EQ(r.bytes.substr(4, 2), "\x02\x20");
    EXPECT_EQ(r.status(), 0);

    Reply empty = c->upgrade(id, "");  // answered right after the header
    ASSERT_TRUE(empty.received);
    EXPECT_EQ(empty.status(), 0);

    auto records = upgrades();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].announcedSize, 2500u);
    EXPECT_EQ(records[0].receivedSize, 2500u);
    EXPECT_EQ(records[0].md5, md5HexUpper(file));
    EXPECT_TRUE(records[0].accepted);
    EXPECT_EQ(records[1].receivedSize, 0u);
    EXPECT_EQ(records[1].md5, "D41D8CD98F00B204E9800998ECF8427E");
}

TEST_F(BinaryChannelTest, UpgradeRefusedOrSilentOnDemand) {
    uint32_t id = 0;
    auto c = loggedIn(&id);
    state.refuseUpgrade = true;
    Reply refused = c->upgrade(id, testFile(100));
    ASSERT_TRUE(refused.received);
    EXPECT_NE(refused.status(), 0);

    state.refuseUpgrade = false;
    state.silentUpgrade = true;
    ASSERT_TRUE(c->send(header(kUpgrade, id, 300, 1) + testFile(300)));
    ASSERT_TRUE(eventually([&] { return upgrades().size() == 2; }));
    pollfd p{c->fd, POLLIN, 0};
    EXPECT_EQ(::poll(&p, 1, 500), 0) << "neither an answer nor a close";

    auto records = upgrades();
    EXPECT_FALSE(records[0].accepted);
    EXPECT_EQ(records[1].receivedSize, 300u);
    EXPECT_EQ(records[1].md5, md5HexUpper(testFile(300)));
}

TEST_F(BinaryChannelTest, UpgradeNeedsLoginOnThatConnection) {
    uint32_t id = 0;
    auto owner = loggedIn(&id);
    Client other(address);
    ASSERT_TRUE(other.send(header(kUpgrade, id, 10, 1)));
    EXPECT_TRUE(other.closedByCamera());
    ASSERT_TRUE(owner->send(header(kUpgrade, id + 1, 10, 1)));
    EXPECT_TRUE(owner->closedByCamera());
    EXPECT_TRUE(upgrades().empty());
}

TEST_F(BinaryChannelTest, UpgradeCutShortIsRecordedAsNotAccepted) {
    uint32_t id = 0;
    auto c = loggedIn(&id);
    ASSERT_TRUE(c->send(header(kUpgrade, id, 2500, 1) + testFile(1000)));
    c.reset();
    ASSERT_TRUE(eventually([&] { return upgrades().size() == 1; }));
    auto record = upgrades()[0];
    EXPECT_EQ(record.announcedSize, 2500u);
    EXPECT_EQ(record.receivedSize, 1000u);
    EXPECT_FALSE(record.accepted);
}

TEST_F(BinaryChannelTest, LogoutIsCountedAndClosesTheConnection) {
    uint32_t id = 0;
    auto c = loggedIn(&id);
    ASSERT_TRUE(c->send(header(kLogout, id, 0, 0)));
    EXPECT_TRUE(c->closedByCamera());
    EXPECT_EQ(count(&ChannelState::logouts), 1);
}

TEST_F(BinaryChannelTest, PipelinedRequestsAreAllAnswered) {
    Client c(address);
    Reply r = c.request(handshake() + loginPacket("admin", "secret", kSerial, kSerial), 72);
    ASSERT_TRUE(r.received);
    EXPECT_EQ(r.bytes.substr(44, 2), std::string("\0\0", 2));  // login command
    EXPECT_EQ(uint8_t(r.bytes[46]), 0);
}

TEST_F(BinaryChannelTest, HostileClientsAreDroppedAndTheCameraKeepsServing) {
    std::string badMagic = handshake();
    badMagic[2] = 0x02;
    std::string oversizedLogin = loginPacket("admin", "secret", kSerial, kSerial);
    oversizedLogin[12] = 77;
    for (const std::string& packet :
         {badMagic, header({0x07, 0x07}, 0, 0, 0), header(kHandshake, 0, 8, 0), oversizedLogin,
          std::string(200, '\xff')}) {
        Client c(address);
        ASSERT_TRUE(c.send(packet));
        EXPECT_TRUE(c.closedByCamera());
    }
    // Half packets, then the client vanishes.
    for (size_t cut : {size_t(5), size_t(31), size_t(40), size_t(107)}) {
        Client c(address);
        ASSERT_TRUE(c.send(loginPacket("admin", "secret", kSerial, kSerial).substr(0, cut)));
    }
    Client fresh(address);
    EXPECT_TRUE(fresh.request(handshake(), 40).received);
    EXPECT_EQ(count(&ChannelState::logins) + count(&ChannelState::refusedLogins), 0);
}

// Each request differs from the layout in one byte the layout fixes, or names a login that is
// not the connection's: the camera closes the connection unanswered, journals the packet as
// refused and counts nothing.
TEST_F(BinaryChannelTest, RequestsOffTheLayoutAreRefusedAndJournaled) {
    using Packet = std::function<std::string(uint32_t loginId)>;
    const Packet hello = [](uint32_t) { return handshake(); };
    const Packet login = [](uint32_t) { return loginPacket("admin", "secret", kSerial, kSerial); };
    const Packet logout = [](uint32_t id) { return header(kLogout, id, 0, 0); };
    const Packet otherLogout = [](uint32_t id) { return header(kLogout, id + 1, 0, 0); };
    const Packet upgrade = [](uint32_t id) { return header(kUpgrade, id, 10, 1); };
    constexpr size_t kAsIs = std::string::npos;
    struct Case {
        const char* what;
        bool loggedIn;
        Packet packet;
        size_t at;
        char value;
    } const cases[] = {
        {"handshake status", false, hello, 6, 1},
        {"handshake byte 7", false, hello, 7, 1},
        {"handshake login id", false, hello, 8, 0},
        {"handshake flag", false, hello, 16, 1},
        {"handshake last byte", false, hello, 31, 1},
        {"login flag", false, login, 16, 0},
        {"login login id", false, login, 11, 0},
        {"login reserved", false, login, 99, 1},
        {"logout flag", true, logout, 16, 1},
        {"logout of another login", true, otherLogout, kAsIs, 0},
        {"logout before login", false, logout, kAsIs, 0},
        {"upgrade flag", true, upgrade, 16, 0},
        {"upgrade status", true, upgrade, 6, 1},
    };
    int loginsExpected = 0;
    for (const Case& k : cases) {
        uint32_t id = 0xFFFFFFFF;
        auto c = k.loggedIn ? loggedIn(&id) : std::make_unique<Client>(address);
        loginsExpected += k.loggedIn;
        std::string packet = k.packet(id);
        if (k.at != kAsIs) packet[k.at] = k.value;
        ASSERT_TRUE(c->send(packet)) << k.what;
        EXPECT_TRUE(c->closedByCamera()) << k.what;
        const auto journal = state.journal();
        ASSERT_FALSE(journal.empty());
        EXPECT_EQ(journal.back().direction, ChannelPacket::Direction::In) << k.what;
        EXPECT_TRUE(journal.back().refused) << k.what;
        // Refused as soon as the faulty part arrived: the header, or the login's body.
        const size_t read = k.at != kAsIs && k.at >= 32 ? 108 : 32;
        EXPECT_EQ(journal.back().bytes, packet.substr(0, read)) << k.what;
    }
    EXPECT_EQ(count(&ChannelState::logins), loginsExpected);
    EXPECT_EQ(count(&ChannelState::refusedLogins), 0);
    EXPECT_EQ(count(&ChannelState::logouts), 0);
    EXPECT_TRUE(upgrades().empty());
}

TEST_F(BinaryChannelTest, ClientThatNeverReadsDoesNotStallOthers) {
    Client flood(address);
    int small = 4096;
    ::setsockopt(flood.fd, SOL_SOCKET, SO_RCVBUF, &small, sizeof small);
    std::string batch;
    for (int i = 0; i < 128; ++i)
        batch += handshake();
    // Requests pile up until the unread answers fill every buffer and the camera stops taking
    // more from this client.
    pollfd writable{flood.fd, POLLOUT, 0};
    for (int i = 0; i < 100000; ++i) {
        if (::send(flood.fd, batch.data(), batch.size(), MSG_DONTWAIT | MSG_NOSIGNAL) > 0) continue;
        if (errno != EAGAIN || ::poll(&writable, 1, 200) != 1) break;
    }
    EXPECT_TRUE(Client(address).request(handshake(), 40).received);
}

TEST_F(BinaryChannelTest, ConnectionsBeyondTheCapAreClosed) {
    std::vector<std::unique_ptr<Client>> clients;
    for (int i = 0; i < 64; ++i) {
        clients.push_back(std::make_unique<Client>(address));
        ASSERT_TRUE(clients.back()->request(handshake(), 40).received) << i;
    }
    Client extra(address);
    EXPECT_TRUE(extra.closedByCamera());
    clients.pop_back();
    // The freed slot becomes usable once the camera has seen the close.
    EXPECT_TRUE(eventually([&] { return Client(address).request(handshake(), 40).received; }));
}

TEST_F(BinaryChannelTest, StopClosesOpenConnections) {
    Client c(address);
    ASSERT_TRUE(c.request(handshake(), 40).received);
    camera->stop();
    EXPECT_TRUE(c.closedByCamera());
    camera->stop();  // idempotent
}

TEST(BinaryChannelCameras, TwoCamerasAnswerWithTheirOwnSerials) {
    ChannelState stateA, stateB;
    BinaryChannel a({"127.0.50.3", 80, 0x1111111111111111ULL, "admin", "a"}, stateA);
    BinaryChannel b({"127.0.50.4", 80, 0x2222222222222222ULL, "admin", "b"}, stateB);
    std::string error;
    ASSERT_TRUE(a.start(&error)) << error;
    ASSERT_TRUE(b.start(&error)) << error;
    Client ca("127.0.50.3"), cb("127.0.50.4");
    EXPECT_EQ(ca.request(handshake(), 40).bytes.substr(32), std::string(8, 0x11));
    EXPECT_EQ(cb.request(handshake(), 40).bytes.substr(32), std::string(8, 0x22));
    EXPECT_EQ(ca.login("admin", "a", 0x1111111111111111ULL, 0x1111111111111111ULL).status(), 0);
    EXPECT_NE(cb.login("admin", "a", 0x2222222222222222ULL, 0x2222222222222222ULL).status(), 0);
}

TEST(BinaryChannelCameras, BindFailureNamesTheAddress) {
    ChannelState first, second;
    BinaryChannel holder({"127.0.50.5", 80, kSerial, "admin", "x"}, first);
    BinaryChannel clash({"127.0.50.5", 80, kSerial, "admin", "x"}, second);
    std::string error;
    ASSERT_TRUE(holder.start(&error)) << error;
    EXPECT_FALSE(clash.start(&error));
    EXPECT_EQ(error, "cannot bind 127.0.50.5:80: Address already in use");
}

}  // namespace
}  // namespace camsim
