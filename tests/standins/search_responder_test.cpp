// Both LAN search responders over real UDP broadcasts. The program runs inside the private
// network namespace made by scripts/netns-run, and refuses to send anything anywhere else.
#include "search/search_responder.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <mxml.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "support/private_namespace.h"

namespace {

using camsim::SearchIdentity;
using camsim::SearchResponder;
using testsupport::inPrivateNamespace;
using Datagram = std::vector<uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr uint16_t kBinaryPort = 6789;
constexpr uint16_t kXmlPort = 10000;
constexpr char kNamespaceAddress[] = "10.231.0.1";  // fk0, set up by netns-run
// Long enough for replies on an idle namespace; collection ends early once all have come.
constexpr auto kWindow = std::chrono::milliseconds(1500);
// After the expected replies: time for any unwanted extra reply to show up.
constexpr auto kLinger = std::chrono::milliseconds(300);

// A searching client's UDP socket: port shared and broadcast allowed, as the real client does.
class ClientSocket {
public:
    ClientSocket(const char* address, uint16_t port) : fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        int on = 1;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on));
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof(on));
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(port);
        ::inet_pton(AF_INET, address, &addr.sin_addr);
        bound_ = ::bind(fd_, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) == 0;
    }
    ~ClientSocket() { ::close(fd_); }
    ClientSocket(const ClientSocket&) = delete;
    ClientSocket& operator=(const ClientSocket&) = delete;

    bool bound() const { return bound_; }

    void broadcast(uint16_t port, const Datagram& data) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        ssize_t sent = ::sendto(fd_, data.data(), data.size(), 0,
                                reinterpret_cast<const sockaddr*>(&to), sizeof(to));
        EXPECT_EQ(sent, static_cast<ssize_t>(data.size())) << std::strerror(errno);
    }

    // Datagrams that `wanted` accepts, until `enough` of them came or `window` has passed.
    std::vector<Datagram> collect(const std::function<bool(const Datagram&)>& wanted, size_t enough,
                                  Clock::duration window) {
        std::vector<Datagram> got;
        const auto deadline = Clock::now() + window;
        while (got.size() < enough) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            pollfd pfd{fd_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) break;
            Datagram buffer(4096);
            ssize_t n = ::recv(fd_, buffer.data(), buffer.size(), 0);
            if (n < 0) break;
            buffer.resize(static_cast<size_t>(n));
            if (wanted(buffer)) got.push_back(std::move(buffer));
        }
        return got;
    }

private:
    int fd_;
    bool bound_ = false;
};

// What the responders sent back: datagrams `wanted` accepts that are not echoes of our own
// broadcasts, until `expected` came, then a little longer to catch any unwanted extra.
std::vector<Datagram> responses(ClientSocket& socket, bool (*wanted)(const Datagram&),
                                const std::vector<Datagram>& sent, size_t expected) {
    auto fromResponder = [&](const Datagram& d) {
        return wanted(d) && std::find(sent.begin(), sent.end(), d) == sent.end();
    };
    std::vector<Datagram> got = socket.collect(fromResponder, expected, kWindow);
    for (auto& extra : socket.collect(fromResponder, 64, kLinger)) {
        got.push_back(std::move(extra));
    }
    return got;
}

// ---- Second generation ----

const std::string kMagic("searching..", 12);  // with its NUL

Datagram binaryRequest() {
    Datagram d(114, 0);
    std::memcpy(d.data(), kMagic.data(), kMagic.size());
    d[12] = 10;
    std::memcpy(d.data() + 16, "ProbeIp", 7);
    std::memcpy(d.data() + 32, "ProbeMac", 8);
    return d;
}

bool isBinaryReply(const Datagram& d) {
    return d.size() > 12 && std::memcmp(d.data(), kMagic.data(), kMagic.size()) == 0 && d[12] == 11;
}

// The text at `offset`, or nullopt when no NUL ends it within `width` bytes.
std::optional<std::string> textAt(const Datagram& d, size_t offset, size_t width) {
    if (offset + width > d.size()) return std::nullopt;
    const char* begin = reinterpret_cast<const char*>(d.data() + offset);
    const void* nul = std::memchr(begin, '\0', width);
    if (nul == nullptr) return std::nullopt;
    return std::string(begin, static_cast<const char*>(nul));
}

uint16_t u16At(const Datagram& d, size_t offset) {
    return static_cast<uint16_t>(d.at(offset) | d.at(offset + 1) << 8);
}

SearchIdentity camera(const std::string& address, const std::string& key) {
    SearchIdentity id;
    id.address = address;
    id.serialNo = key;
    id.firmware = "QX-IPC2019-01B-V1.2.1-RECOG-beta.pb3";
    id.deviceType = "IPC-FR200";
    id.mac = "02:00:0A:E7:00:15";
    id.netmask = "255.255.255.0";
    id.gateway = "10.231.0.1";
    id.httpPort = 8089;
    id.privatePort = 80;
    return id;
}

class SearchResponderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(inPrivateNamespace(&why))
            << "refusing to broadcast outside a private namespace (" << why
            << "); run this program under scripts/netns-run";
        setCameras({camera("10.231.0.21", "KEY-A"), camera("10.231.0.22", "KEY-B")});
        responder_ = std::make_unique<SearchResponder>([this] {
            std::lock_guard<std::mutex> lock(mutex_);
            return cameras_;
        });
        std::string error;
        ASSERT_TRUE(responder_->start(&error)) << error;
    }

    void setCameras(std::vector<SearchIdentity> cameras) {
        std::lock_guard<std::mutex> lock(mutex_);
        cameras_ = std::move(cameras);
    }

    // Second-generation replies to the datagrams sent as the real client does, from and to
    // port 6789.
    static std::vector<Datagram> binarySearch(const std::vector<Datagram>& sent, size_t expected) {
        ClientSocket client("0.0.0.0", kBinaryPort);
        EXPECT_TRUE(client.bound());
        for (const auto& d : sent) {
            client.broadcast(kBinaryPort, d);
        }
        return responses(client, isBinaryReply, sent, expected);
    }

    static std::vector<Datagram> binarySearch(size_t expected) {
        return binarySearch({binaryRequest()}, expected);
    }

    static std::multiset<std::string> keys(const std::vector<Datagram>& replies) {
        std::multiset<std::string> out;
        for (const auto& r : replies) {
            out.insert(textAt(r, 448, 32).value_or("<no NUL>"));
        }
        return out;
    }

    std::mutex mutex_;
    std::vector<SearchIdentity> cameras_;
    std::unique_ptr<SearchResponder> responder_;  // last: stopped before the list goes
};

TEST_F(SearchResponderTest, EveryCameraAnswersEachRequestExactlyOnce) {
    // Replies are heard by the responder too; answering them would multiply without end.
    for (int round = 0; round < 3; ++round) {
        auto replies = binarySearch(2);
        EXPECT_EQ(keys(replies), (std::multiset<std::string>{"KEY-A", "KEY-B"})) << round;
    }
}

TEST_F(SearchResponderTest, SecondGenerationReplyHoldsFieldsAtFixedOffsets) {
    auto replies = binarySearch(2);
    ASSERT_EQ(replies.size(), 2u);
    const Datagram& r = textAt(replies[0], 448, 32) == "KEY-A" ? replies[0] : replies[1];
    ASSERT_GE(r.size(), 544u);
    EXPECT_EQ(textAt(r, 24, 16), "10.231.0.21");
    EXPECT_EQ(textAt(r, 40, 16), "255.255.255.0");
    EXPECT_EQ(textAt(r, 56, 16), "10.231.0.1");
    EXPECT_EQ(textAt(r, 72, 16), "02000AE70015");
    EXPECT_EQ(textAt(r, 104, 64), "IPC-FR200");
    EXPECT_EQ(u16At(r, 240), 8089);
    EXPECT_EQ(u16At(r, 244), 80);
    EXPECT_EQ(textAt(r, 320, 64), "QX-IPC2019-01B-V1.2.1-RECOG-beta.pb3");
    EXPECT_EQ(textAt(r, 448, 32), "KEY-A");
    for (size_t offset : {88, 304, 384, 480, 496}) {
        auto text = textAt(r, offset, 16);
        ASSERT_TRUE(text.has_value()) << offset;
        EXPECT_FALSE(text->empty()) << offset;
    }
}

TEST_F(SearchResponderTest, OverlongTextsAreCutInsideTheirOwnAreas) {
    auto replies = binarySearch(2);
    ASSERT_FALSE(replies.empty());
    const Datagram normal = replies[0];

    SearchIdentity big = camera(std::string(40, '9'), std::string(100, 'K'));
    big.firmware = "RECOG-" + std::string(200, 'f');
    big.deviceType = std::string(200, 't');
    big.gateway = std::string(30, 'g');
    setCameras({big});
    replies = binarySearch(1);
    ASSERT_EQ(replies.size(), 1u);
    const Datagram& r = replies[0];
    EXPECT_EQ(textAt(r, 24, 16), std::string(15, '9'));
    EXPECT_EQ(textAt(r, 104, 64), std::string(63, 't'));
    EXPECT_EQ(textAt(r, 320, 64), "RECOG-" + std::string(57, 'f'));
    EXPECT_EQ(textAt(r, 448, 32), std::string(31, 'K'));
    // Neighbouring fields survive their long predecessors.
    EXPECT_EQ(textAt(r, 40, 16), textAt(normal, 40, 16));
    EXPECT_EQ(textAt(r, 304, 16), textAt(normal, 304, 16));
    EXPECT_EQ(textAt(r, 384, 64), textAt(normal, 384, 64));
    EXPECT_EQ(textAt(r, 480, 16), textAt(normal, 480, 16));
    EXPECT_EQ(u16At(r, 240), u16At(normal, 240));
}

// Datagrams of every shape that is not a request; each must be ignored without a reply. Few and
// small enough that the burst fits the receive buffers and the request sent after it is kept.
std::vector<Datagram> hostileDatagrams(uint8_t firstByte) {
    std::vector<Datagram> out = {{}, {firstByte}, Datagram(13, 0), Datagram(1400, 0xFF)};
    std::mt19937 random(7);
    for (int i = 0; i < 40; ++i) {
        Datagram d(random() % 300);
        for (auto& byte : d) {
            byte = static_cast<uint8_t>(random());
        }
        if (!d.empty()) d[0] = firstByte;
        out.push_back(std::move(d));
    }
    return out;
}

TEST_F(SearchResponderTest, SecondGenerationIgnoresAnythingButARequest) {
    std::vector<Datagram> bad = hostileDatagrams('s');
    Datagram magicOnly(kMagic.begin(), kMagic.end());
    Datagram fakeReply = binaryRequest();
    fakeReply[12] = 11;
    Datagram otherKind = binaryRequest();
    otherKind[12] = 12;
    Datagram noNul = binaryRequest();
    noNul[11] = '.';
    Datagram wrongPrefix = binaryRequest();
    wrongPrefix[0] = 'S';
    for (auto& d : {magicOnly, fakeReply, otherKind, noNul, wrongPrefix}) {
        bad.push_back(d);
    }
    // The shortest datagram that is a request, sent last: its replies follow any unwanted one.
    Datagram shortest = binaryRequest();
    shortest.resize(13);
    bad.push_back(shortest);
    EXPECT_EQ(keys(binarySearch(bad, 2)), (std::multiset<std::string>{"KEY-A", "KEY-B"}));
}

TEST_F(SearchResponderTest, CameraListIsReadOnEveryRequest) {
    EXPECT_EQ(keys(binarySearch(2)), (std::multiset<std::string>{"KEY-A", "KEY-B"}));
    setCameras({camera("10.231.0.21", "KEY-A")});
    EXPECT_EQ(keys(binarySearch(1)), (std::multiset<std::string>{"KEY-A"}));
    setCameras({camera("10.231.0.21", "KEY-A"), camera("10.231.0.23", "KEY-C")});
    EXPECT_EQ(keys(binarySearch(2)), (std::multiset<std::string>{"KEY-A", "KEY-C"}));
    setCameras({});
    EXPECT_TRUE(binarySearch(0).empty());
}

TEST_F(SearchResponderTest, StoppedResponderIsSilentAndCanStartAgain) {
    responder_->stop();
    EXPECT_TRUE(binarySearch(0).empty());
    std::string error;
    ASSERT_TRUE(responder_->start(&error)) << error;
    EXPECT_EQ(keys(binarySearch(2)), (std::multiset<std::string>{"KEY-A", "KEY-B"}));
}

TEST_F(SearchResponderTest, StartFailsReadablyWhenAPortIsTaken) {
    int blocker = ::socket(AF_INET, SOCK_DGRAM, 0);  // no SO_REUSEADDR: the port is not shared
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(16790);
    ASSERT_EQ(::bind(blocker, reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)), 0);
    SearchResponder other([] { return std::vector<SearchIdentity>{}; }, 16789, 16790);
    std::string error;
    EXPECT_FALSE(other.start(&error));
    EXPECT_NE(error.find("16790"), std::string::npos) << error;
    ::close(blocker);
}

// ---- First generation ----

const std::string kXmlRequestText =
    "<MESSAGE VERSION=\"1\">\n\t<HEADER TYPE=\"4117\" />\n\t<DeviceID />\n</MESSAGE>\n";

Datagram xmlDatagram(const std::string& text, uint32_t declared) {
    Datagram d = {0x00, 0x00, 0x01, 0xCA};
    for (int shift = 0; shift < 32; shift += 8) {
        d.push_back(static_cast<uint8_t>(declared >> shift));
    }
    d.insert(d.end(), text.begin(), text.end());
    return d;
}

bool isXmlReply(const Datagram& d) {
    std::string text(d.begin(), d.end());
    return d.size() > 8 && d[2] == 0x01 && d[3] == 0xCA &&
           text.find("TYPE=\"4118\"") != std::string::npos;
}

using XmlTree = std::unique_ptr<mxml_node_t, decltype(&mxmlDelete)>;

XmlTree parseReply(const Datagram& d) {
    std::string text(d.begin() + 8, d.end());
    return XmlTree(mxmlLoadString(nullptr, text.c_str(), MXML_OPAQUE_CALLBACK), &mxmlDelete);
}

mxml_node_t* find(mxml_node_t* from, const char* name) {
    return mxmlFindElement(from, from, name, nullptr, nullptr, MXML_DESCEND);
}

std::string textOf(mxml_node_t* from, const char* name) {
    mxml_node_t* node = find(from, name);
    const char* text = node ? mxmlGetOpaque(node) : nullptr;
    return text ? text : "";
}

std::string attrOf(mxml_node_t* node, const char* attr) {
    const char* value = node ? mxmlElementGetAttr(node, attr) : nullptr;
    return value ? value : "<absent>";
}

std::string attrOf(mxml_node_t* from, const char* element, const char* attr) {
    return attrOf(find(from, element), attr);
}

// Replies to requests sent as the real client does: from fk0 port 10001, heard on port 10000.
std::vector<Datagram> xmlSearch(const std::vector<Datagram>& requests, size_t expected) {
    ClientSocket receiver("0.0.0.0", kXmlPort);
    ClientSocket sender(kNamespaceAddress, 10001);
    EXPECT_TRUE(receiver.bound() && sender.bound());
    for (const auto& request : requests) {
        sender.broadcast(kXmlPort, request);
    }
    return responses(receiver, isXmlReply, requests, expected);
}

TEST_F(SearchResponderTest, FirstGenerationReplyIsTheDocumentTheClientReads) {
    auto replies = xmlSearch({xmlDatagram(kXmlRequestText, 71)}, 2);
    ASSERT_EQ(replies.size(), 2u);
    std::set<std::string> serials;
    for (const auto& r : replies) {
        EXPECT_EQ(r.size() - 8, uint32_t{r[4]} | r[5] << 8 | r[6] << 16 | uint32_t{r[7]} << 24);
        XmlTree tree = parseReply(r);
        ASSERT_TRUE(tree) << std::string(r.begin() + 8, r.end());
        EXPECT_STREQ(mxmlGetElement(tree.get()), "MESSAGE");
        EXPECT_EQ(attrOf(tree.get(), "VERSION"), "1");
        EXPECT_EQ(attrOf(tree.get(), "HEADER", "TYPE"), "4118");
        EXPECT_EQ(attrOf(tree.get(), "Result", "CODE"), "0");
        mxml_node_t* params = find(tree.get(), "PARAMETERS");
        ASSERT_NE(params, nullptr);
        mxml_node_t* eth0 = find(params, "Eth0");
        ASSERT_NE(eth0, nullptr);
        EXPECT_EQ(textOf(eth0, "MacAddress"), "02:00:0A:E7:00:15");
        EXPECT_EQ(textOf(params, "NetMask"), "255.255.255.0");
        EXPECT_EQ(textOf(params, "User"), "admin");
        EXPECT_EQ(textOf(params, "Password"), "");
        EXPECT_NE(attrOf(params, "Version", "Version").find("RECOG"), std::string::npos);
        EXPECT_EQ(textOf(params, "HttpPort"), "8089");
        EXPECT_EQ(textOf(params, "PrivatePort"), "80");
        serials.insert(textOf(params, "SerialNo") + "@" + textOf(params, "LocalIp"));
    }
    EXPECT_EQ(serials, (std::set<std::string>{"KEY-A@10.231.0.21", "KEY-B@10.231.0.22"}));
}

TEST_F(SearchResponderTest, FirstGenerationEscapesMarkupInTexts) {
    SearchIdentity odd = camera("10.231.0.24", "S&<1>\"'");
    odd.deviceType = "</DeviceType><LocalIp>6.6.6.6</LocalIp>";
    odd.firmware = "RECOG \"quoted\" & <tagged>";
    setCameras({odd});
    auto replies = xmlSearch({xmlDatagram(kXmlRequestText, 71)}, 1);
    ASSERT_EQ(replies.size(), 1u);
    XmlTree tree = parseReply(replies[0]);
    ASSERT_TRUE(tree);
    EXPECT_EQ(textOf(tree.get(), "SerialNo"), odd.serialNo);
    EXPECT_EQ(textOf(tree.get(), "DeviceType"), odd.deviceType);
    EXPECT_EQ(textOf(tree.get(), "LocalIp"), "10.231.0.24");
    EXPECT_EQ(attrOf(tree.get(), "Version", "Version"), odd.firmware);
}

TEST_F(SearchResponderTest, FirstGenerationIgnoresAnythingButARequest) {
    std::vector<Datagram> bad = hostileDatagrams(0x00);
    std::string reply = kXmlRequestText;
    reply.replace(reply.find("4117"), 4, "4118");
    bad.push_back(
        xmlDatagram(reply, static_cast<uint32_t>(reply.size())));  // a reply, not a request
    Datagram wrongMagic = xmlDatagram(kXmlRequestText, 71);
    wrongMagic[3] = 0xCB;
    bad.push_back(wrongMagic);
    // The mark lies beyond the declared length.
    bad.push_back(xmlDatagram(kXmlRequestText, 20));
    bad.push_back(Datagram(wrongMagic.begin(), wrongMagic.begin() + 7));
    // A declared length far beyond the datagram must not lead the search past its end.
    bad.push_back(xmlDatagram(reply, 0xFFFFFFFFu));
    // A real request, sent last: its replies follow any unwanted one.
    bad.push_back(xmlDatagram(kXmlRequestText, 71));
    auto replies = xmlSearch(bad, 2);
    EXPECT_EQ(replies.size(), 2u);
}

}  // namespace
