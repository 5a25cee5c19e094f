// The LAN search through the C interface, over real UDP broadcasts, against simulated cameras and
// against replies this program crafts and broadcasts itself. The program runs inside the private
// network namespace made by scripts/netns-run and refuses to send anything anywhere else.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sched.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <future>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "camsim.h"
#include "support/camera_fixture.h"
#include "support/private_namespace.h"

namespace {

using testsupport::inPrivateNamespace;
using Clock = std::chrono::steady_clock;
using Datagram = std::vector<uint8_t>;
using namespace std::chrono_literals;

constexpr uint16_t kXmlPort = 10000;
constexpr uint16_t kBinaryPort = 6789;
// Bound on every wait for an event; far above what a namespace of its own needs.
constexpr auto kPatience = 5s;

bool shell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

// A second Ethernet-type adapter, 10.232.0.1/24 on a veth pair fk2/fk3, for one test.
class SecondAdapter {
public:
    SecondAdapter() {
        ok_ = shell(
            "ip link add fk2 type veth peer name fk3 && ip addr add 10.232.0.1/24 dev fk2 && "
            "ip link set fk3 up && ip link set fk2 up");
    }
    ~SecondAdapter() { shell("ip link del fk2 2>/dev/null"); }
    bool ok() const { return ok_; }

private:
    bool ok_ = false;
};

// The test's own socket on a search port, shared with the search as another program would:
// hears what the search sends (with the source and destination address) and broadcasts
// crafted replies.
class Probe {
public:
    struct Heard {
        Datagram data;
        std::string from;  // source address
        std::string to;    // destination address of the IP header
    };

    explicit Probe(uint16_t port) : port_(port), fd_(::socket(AF_INET, SOCK_DGRAM, 0)) {
        int on = 1, buffer = 1 << 20;
        ::setsockopt(fd_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        ::setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
        ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &buffer, sizeof buffer);
        ::setsockopt(fd_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on);
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        bound_ = ::bind(fd_, reinterpret_cast<sockaddr*>(&local), sizeof local) == 0;
    }
    ~Probe() { ::close(fd_); }
    Probe(const Probe&) = delete;
    Probe& operator=(const Probe&) = delete;

    bool bound() const { return bound_; }

    void broadcast(const Datagram& data) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port_);
        to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
        ssize_t sent = ::sendto(fd_, data.data(), data.size(), 0,
                                reinterpret_cast<const sockaddr*>(&to), sizeof to);
        EXPECT_EQ(sent, static_cast<ssize_t>(data.size())) << std::strerror(errno);
    }

    // Datagrams `wanted` accepts, heard since the probe was made, until `done` says enough came
    // or kPatience has passed.
    std::vector<Heard> collect(const std::function<bool(const Datagram&)>& wanted,
                               const std::function<bool(const std::vector<Heard>&)>& done) {
        std::vector<Heard> got;
        for (const auto& heard : history_) {
            if (wanted(heard.data)) got.push_back(heard);
        }
        const auto deadline = Clock::now() + kPatience;
        while (!done(got)) {
            std::optional<Heard> heard = next(deadline);
            if (!heard) break;
            history_.push_back(*heard);
            if (wanted(heard->data)) got.push_back(std::move(*heard));
        }
        return got;
    }

private:
    std::optional<Heard> next(Clock::time_point deadline) {
        auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd entry{fd_, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        Heard heard;
        heard.data.resize(65536);
        sockaddr_in from{};
        iovec part{heard.data.data(), heard.data.size()};
        alignas(cmsghdr) char control[256];
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        ssize_t n = ::recvmsg(fd_, &message, 0);
        if (n < 0) return std::nullopt;
        heard.data.resize(static_cast<size_t>(n));
        heard.from = ::inet_ntoa(from.sin_addr);
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info;
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                heard.to = ::inet_ntoa(info.ipi_addr);
            }
        }
        return heard;
    }

    uint16_t port_;
    int fd_;
    bool bound_ = false;
    std::vector<Heard> history_;
};

// ---- What the search sends and what cameras answer ----

const std::string kBinaryMagic("searching..", 12);  // with its NUL
const std::string kXmlRequestText =
    "<MESSAGE VERSION=\"1\">\n\t<HEADER TYPE=\"4117\" />\n\t<DeviceID />\n</MESSAGE>\n";

bool binaryOfKind(const Datagram& d, uint8_t kind) {
    return d.size() > 12 && std::memcmp(d.data(), kBinaryMagic.data(), 12) == 0 && d[12] == kind;
}
bool isBinaryRequest(const Datagram& d) {
    return binaryOfKind(d, 10);
}
bool isBinaryReply(const Datagram& d) {
    return binaryOfKind(d, 11);
}

bool isXmlRequest(const Datagram& d) {
    return d.size() > 8 && d[2] == 0x01 && d[3] == 0xCA &&
           std::string(d.begin() + 8, d.end()).find("\"4117\"") != std::string::npos;
}
bool isXmlReply(const Datagram& d) {
    return d.size() > 8 && d[2] == 0x01 && d[3] == 0xCA &&
           std::string(d.begin() + 8, d.end()).find("\"4118\"") != std::string::npos;
}

// The text at `offset`, ended by its NUL or the datagram's end.
std::string textAt(const Datagram& d, size_t offset) {
    if (offset >= d.size()) return "";
    const auto* begin = reinterpret_cast<const char*>(d.data() + offset);
    return std::string(begin, strnlen(begin, d.size() - offset));
}

Datagram xmlDatagram(const std::string& text, uint32_t declared) {
    Datagram d = {0x00, 0x00, 0x01, 0xCA};
    for (int shift = 0; shift < 32; shift += 8)
        d.push_back(static_cast<uint8_t>(declared >> shift));
    d.insert(d.end(), text.begin(), text.end());
    return d;
}

Datagram xmlReply(const std::string& body) {
    std::string text =
        "<MESSAGE VERSION=\"1\">\n<HEADER TYPE=\"4118\" />\n<Result CODE=\"0\" />\n" + body +
        "</MESSAGE>\n";
    return xmlDatagram(text, static_cast<uint32_t>(text.size()));
}

std::string field(const char* text) {
    return std::string(text, strnlen(text, 64));
}

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string why;
        ASSERT_TRUE(inPrivateNamespace(&why))
            << "refusing to broadcast outside a private namespace (" << why
            << "); run this program under scripts/netns-run";
    }

    // Cameras on loopback addresses that answer both searches.
    void startCameras(int count) {
        for (int i = 0; i < count; ++i) {
            camsim::CameraConfig config;
            config.address = testsupport::freshLoopbackAddress();
            config.search = true;
            simulator_.add(config);
        }
        std::string error;
        ASSERT_TRUE(simulator_.startAll(&error)) << error;
    }

    const camsim::CameraConfig* cameraWithKey(const std::string& key) {
        for (size_t i = 0; i < simulator_.size(); ++i) {
            if (simulator_.camera(i).config().serialNo == key)
                return &simulator_.camera(i).config();
        }
        return nullptr;
    }

    camsim::Simulator simulator_;
};

// Done when every key of `cameras` was seen in at least `times` replies.
auto eachAnswered(size_t cameras, size_t times, size_t keyOffset) {
    return [=](const std::vector<Probe::Heard>& got) {
        std::map<std::string, size_t> seen;
        for (const auto& h : got)
            ++seen[textAt(h.data, keyOffset)];
        size_t often = 0;
        for (const auto& [key, n] : seen)
            often += n >= times ? 1 : 0;
        return often >= cameras;
    };
}

auto atLeast(size_t n) {
    return [n](const std::vector<Probe::Heard>& got) { return got.size() >= n; };
}

TEST_F(SearchTest, SecondGenerationListsEachCameraOnceFromEveryAdapter) {
    SecondAdapter extra;
    ASSERT_TRUE(extra.ok());
    ASSERT_NO_FATAL_FAILURE(startCameras(3));
    Probe probe(kBinaryPort);
    ASSERT_TRUE(probe.bound());

    const vcam_search_area_v2* area = vcam_scan_v2(1500);

    // One request to the limited broadcast and one to each adapter's own broadcast address;
    // loopback and the address-less fk1 are no adapters.
    auto requests = probe.collect(isBinaryRequest, atLeast(3));
    std::multiset<std::string> targets;
    for (const auto& r : requests) {
        targets.insert(r.to);
        ASSERT_EQ(r.data.size(), 114u);
        EXPECT_EQ(textAt(r.data, 16), "Fuck_Ip");
        EXPECT_EQ(textAt(r.data, 32), "Fuck_Mac");
        EXPECT_EQ(std::count(r.data.begin() + 13, r.data.end(), 0), 114 - 13 - 7 - 8);
    }
    EXPECT_EQ(targets,
              (std::multiset<std::string>{"255.255.255.255", "10.231.0.255", "10.232.0.255"}));
    // So every camera answered more than once; each is listed once.
    const auto answeredTwice = eachAnswered(3, 2, 448);
    EXPECT_TRUE(answeredTwice(probe.collect(isBinaryReply, answeredTwice)));
    ASSERT_EQ(area->count, 3);
    std::set<std::string> keys;
    for (int i = 0; i < area->count; ++i) {
        const vcam_search_record_v2& r = area->records[i];
        keys.insert(field(r.device_key));
        const camsim::CameraConfig* camera = cameraWithKey(field(r.device_key));
        ASSERT_NE(camera, nullptr) << field(r.device_key);
        EXPECT_EQ(field(r.ip_address), camera->address);
        EXPECT_EQ(field(r.firmware_version), camera->firmware);
        EXPECT_EQ(field(r.device_type), camera->deviceType);
        EXPECT_EQ(r.http_port, camera->httpPort);  // camsim writes little-endian, as this host
        EXPECT_EQ(r.private_port, camera->tcpPort);
        EXPECT_EQ(field(r.device_name), "FaceCam");
        EXPECT_EQ(field(r.hardware_version), "HW-FR-V1.0");
        EXPECT_EQ(field(r.build_date), "20190801");
        EXPECT_EQ(field(r.build_number), "1");
        EXPECT_EQ(field(r.netmask), "255.0.0.0");
        EXPECT_EQ(field(r.gateway), "127.0.0.1");
        EXPECT_EQ(field(r.dns), "127.0.0.1");
        EXPECT_EQ(field(r.mac_address).size(), 12u);
    }
    EXPECT_EQ(keys.size(), 3u);
}

TEST_F(SearchTest, FirstGenerationListsEachCameraOnceFromEveryAdapter) {
    SecondAdapter extra;
    ASSERT_TRUE(extra.ok());
    ASSERT_NO_FATAL_FAILURE(startCameras(2));
    Probe probe(kXmlPort);
    ASSERT_TRUE(probe.bound());

    const vcam_search_area* area = vcam_scan(1500);

    // One request from each adapter's address, port 10001.
    auto requests = probe.collect(isXmlRequest, atLeast(2));
    std::multiset<std::string> sources;
    for (const auto& r : requests) {
        sources.insert(r.from);
        EXPECT_EQ(r.to, "255.255.255.255");
        EXPECT_EQ(r.data, xmlDatagram(kXmlRequestText, 71));
    }
    EXPECT_EQ(sources, (std::multiset<std::string>{"10.231.0.1", "10.232.0.1"}));
    // Each camera answered both requests; each is listed once.
    EXPECT_GE(probe.collect(isXmlReply, atLeast(4)).size(), 4u);
    ASSERT_EQ(area->count, 2);
    for (int i = 0; i < area->count; ++i) {
        const vcam_search_record& r = area->records[i];
        const camsim::CameraConfig* camera = cameraWithKey(field(r.SerialNo));
        ASSERT_NE(camera, nullptr) << field(r.SerialNo);
        const std::map<std::string, std::string> texts = {
            {field(r.VERSION), "1"},
            {field(r.TYPE), "4118"},
            {field(r.CODE), "0"},
            {field(r.DeviceType), camera->deviceType},
            {field(r.Sensor), "CMOS-2MP"},
            {field(r.User), "admin"},
            {field(r.Version), camera->firmware},
            {field(r.Date), "20190801"},
            {field(r.OldPrograms), "1"},
            {field(r.MacAddress), camera->mac},
            {field(r.LocalIp), camera->address},
            {field(r.NetMask), "255.0.0.0"},
            {field(r.GateWay), "127.0.0.1"},
            {field(r.Dns2), "0.0.0.0"},
            {field(r.Attribute2), "0"},
            {field(r.IpcType), camera->deviceType},
            {field(r.SubType), "0"},
            {field(r.swVersion), camera->firmware},
            {field(r.HwVersion), "HW-FR-V1.0"},
        };
        for (const auto& [got, expected] : texts)
            EXPECT_EQ(got, expected);
        EXPECT_EQ(field(r.Password), "");
        EXPECT_EQ(r.PrivatePort, camera->tcpPort);
        EXPECT_EQ(r.HttpPort, camera->httpPort);
        EXPECT_EQ(r.RtspPort, 554);
        EXPECT_EQ(r.OnvifPort, 8000);
        EXPECT_EQ(r.OnvifHttpPort, 8080);
    }
}

// Broadcasts `replies` on `port` once the running search has sent its first request.
template <typename Area>
const Area* searchHearing(const Area* (*search)(int), uint16_t port,
                          bool (*isRequest)(const Datagram&),
                          const std::vector<Datagram>& replies) {
    Probe probe(port);
    EXPECT_TRUE(probe.bound());
    auto running = std::async(std::launch::async, search, 1500);
    EXPECT_EQ(probe.collect(isRequest, atLeast(1)).size(), 1u);
    for (const auto& reply : replies)
        probe.broadcast(reply);
    return running.get();
}

TEST_F(SearchTest, FirstGenerationKeepsOnlyRepliesWithAnAddressInEth0) {
    auto liar = xmlReply(
        "<PARAMETERS><SerialNo>LIAR</SerialNo><Eth0><LocalIp>10.231.0.54</LocalIp></Eth0>"
        "</PARAMETERS>");
    liar[4] = liar[5] = liar[6] = liar[7] = 0xFF;  // a length far beyond the datagram
    auto wrongMagic = xmlReply(
        "<PARAMETERS><SerialNo>MAGIC</SerialNo><Eth0><LocalIp>10.231.0.55</LocalIp></Eth0>"
        "</PARAMETERS>");
    wrongMagic[3] = 0xCB;
    const std::vector<Datagram> replies = {
        xmlReply("<PARAMETERS><MacAddress>WRONG</MacAddress><SerialNo>GOOD</SerialNo>"
                 "<HttpPort>x1</HttpPort><RtspPort>70000</RtspPort><Eth0><MacAddress>RIGHT"
                 "</MacAddress><LocalIp>10.231.0.50</LocalIp></Eth0></PARAMETERS>"),
        xmlReply("<PARAMETERS><SerialNo>NO-IP</SerialNo><Eth0><NetMask>255.0.0.0</NetMask>"
                 "</Eth0></PARAMETERS>"),
        xmlReply("<PARAMETERS><SerialNo>EMPTY-IP</SerialNo><Eth0><LocalIp></LocalIp></Eth0>"
                 "</PARAMETERS>"),
        xmlReply("<PARAMETERS><SerialNo>NO-ETH0</SerialNo><LocalIp>10.231.0.51</LocalIp>"
                 "</PARAMETERS>"),
        xmlReply("<SerialNo>NO-PARAMETERS</SerialNo><Eth0><LocalIp>10.231.0.52</LocalIp></Eth0>"),
        xmlReply("<PARAMETERS><SerialNo>BROKEN</SerialNo><Eth0><LocalIp>10.231.0.53</LocalIp>"),
        wrongMagic,
        liar,
        // Two cameras without a serial number: the second counts as the first.
        xmlReply("<PARAMETERS><SerialNo></SerialNo><Eth0><LocalIp>10.231.0.61</LocalIp></Eth0>"
                 "</PARAMETERS>"),
        xmlReply("<PARAMETERS><Eth0><LocalIp>10.231.0.62</LocalIp></Eth0></PARAMETERS>"),
        xmlReply("<PARAMETERS><SerialNo>" + std::string(100, 'S') +
                 "</SerialNo><Eth0><LocalIp>10.231.0.63</LocalIp></Eth0></PARAMETERS>"),
    };
    const vcam_search_area* area = searchHearing(vcam_scan, kXmlPort, isXmlRequest, replies);

    std::map<std::string, const vcam_search_record*> listed;
    for (int i = 0; i < area->count; ++i)
        listed[field(area->records[i].SerialNo)] = &area->records[i];
    ASSERT_EQ(area->count, 4);
    ASSERT_EQ(listed.size(), 4u);
    ASSERT_TRUE(listed.count("GOOD") && listed.count("LIAR") && listed.count(""));
    ASSERT_TRUE(listed.count(std::string(63, 'S')));
    EXPECT_EQ(field(listed[""]->LocalIp), "10.231.0.61");
    const vcam_search_record& good = *listed["GOOD"];
    EXPECT_EQ(field(good.MacAddress), "RIGHT");
    EXPECT_EQ(good.HttpPort, 0);
    EXPECT_EQ(good.RtspPort, 70000 & 0xFFFF);
    EXPECT_EQ(field(good.DeviceType), "");
}

TEST_F(SearchTest, SecondGenerationIgnoresRequestsAndCutsTextsWithoutEnd) {
    Datagram full(4096, 'A');  // no NUL anywhere after the prefix
    std::memcpy(full.data(), kBinaryMagic.data(), 12);
    full[12] = 11;
    Datagram sameKey = full;  // differs only outside the key: a duplicate
    std::fill(sameKey.begin() + 24, sameKey.begin() + 40, 'B');
    Datagram request(544, 0);  // a request long enough to carry a key
    std::memcpy(request.data(), kBinaryMagic.data(), 12);
    request[12] = 10;
    std::memcpy(request.data() + 448, "REQUEST", 7);
    Datagram otherKind = request;
    otherKind[12] = 12;
    Datagram noNul = full;
    noNul[11] = '.';
    Datagram shortReply(kBinaryMagic.begin(), kBinaryMagic.end());
    shortReply.push_back(11);
    shortReply.resize(24, 0);
    for (char c : std::string("10.231.0"))
        shortReply.push_back(static_cast<uint8_t>(c));

    const vcam_search_area_v2* area =
        searchHearing(vcam_scan_v2, kBinaryPort, isBinaryRequest,
                      {request, otherKind, noNul, full, sameKey, shortReply});

    ASSERT_EQ(area->count, 2);
    const vcam_search_record_v2& cut = area->records[0];
    const auto* bytes = reinterpret_cast<const char*>(&cut);
    for (size_t offset : {0, 64, 128, 192, 256, 320, 388, 452, 516, 580, 644, 708}) {
        EXPECT_EQ(std::string(bytes + offset), std::string(63, 'A')) << offset;
    }
    EXPECT_EQ(cut.http_port, 0x4141);
    EXPECT_EQ(cut.private_port, 0x4141);
    // A short datagram reads as zeros beyond its end.
    const vcam_search_record_v2& small = area->records[1];
    EXPECT_EQ(field(small.ip_address), "10.231.0");
    EXPECT_EQ(field(small.device_key), "");
    EXPECT_EQ(field(small.firmware_version), "");
}

TEST_F(SearchTest, WithoutUsableAdapterBothSearchesEndAtOnceEmpty) {
    ASSERT_NO_FATAL_FAILURE(startCameras(1));
    ASSERT_EQ(vcam_scan_v2(1000)->count, 1);
    ASSERT_EQ(vcam_scan(1000)->count, 1);

    // In a namespace of its own with loopback and an Ethernet pair but no address, only this
    // thread (and the commands it runs) sees no adapter.
    bool isolated = false;
    int32_t second = -1, first = -1;
    Clock::duration took{};
    std::thread([&] {
        if (::unshare(CLONE_NEWNET) != 0) return;
        isolated = shell(
            "ip link set lo up && ip link add fk0 type veth peer name fk1 && ip link set fk0 up "
            "&& ip link set fk1 up");
        if (!isolated) return;
        const auto start = Clock::now();
        second = vcam_scan_v2(10000)->count;
        first = vcam_scan(10000)->count;
        took = Clock::now() - start;
    }).join();
    ASSERT_TRUE(isolated);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(first, 0);
    EXPECT_LT(took, 10s) << "searches without an adapter must not wait out their time";
}

TEST_F(SearchTest, SearchLastsItsTimeAndKeepsItsArea) {
    ASSERT_NO_FATAL_FAILURE(startCameras(1));
    const vcam_search_area_v2* before = vcam_scan_v2(200);
    const auto start = Clock::now();
    const vcam_search_area_v2* area = vcam_scan_v2(2000);
    const auto took = Clock::now() - start;
    EXPECT_EQ(area->count, 1);
    EXPECT_EQ(area, before);
    EXPECT_GE(took, 2000ms);
    EXPECT_LT(took, 20s);
}

// Session 0 is the search's, no login: logging it out, during a search or after, is refused,
// and the areas and what they hold stay where the caller's pointers found them.
TEST_F(SearchTest, SessionZeroCannotBeLoggedOut) {
    ASSERT_NO_FATAL_FAILURE(startCameras(1));
    Probe probe(kBinaryPort);
    ASSERT_TRUE(probe.bound());
    const vcam_search_area* first = vcam_scan(200);
    auto running = std::async(std::launch::async, vcam_scan_v2, 1500);
    ASSERT_EQ(probe.collect(isBinaryRequest, atLeast(1)).size(), 1u);
    EXPECT_EQ(vcam_control_logout(0), 10);
    const vcam_search_area_v2* area = running.get();
    ASSERT_EQ(area->count, 1);
    const vcam_search_record_v2 found = area->records[0];

    EXPECT_EQ(vcam_control_logout(0), 10);
    EXPECT_EQ(area->count, 1);
    EXPECT_EQ(std::memcmp(&area->records[0], &found, sizeof found), 0);
    EXPECT_EQ(vcam_scan(200), first);
    EXPECT_EQ(vcam_scan_v2(200), area);
}

TEST_F(SearchTest, SessionCallsGoOnWhileASearchListens) {
    ASSERT_NO_FATAL_FAILURE(startCameras(1));
    const std::string address = simulator_.camera(0).config().address;
    Probe probe(kBinaryPort);
    ASSERT_TRUE(probe.bound());
    auto search = std::async(std::launch::async, vcam_scan_v2, 4000);
    ASSERT_EQ(probe.collect(isBinaryRequest, atLeast(1)).size(), 1u);

    int session = 0;
    char reply[VCAM_LOGIN_REPLY_SIZE];
    EXPECT_EQ(vcam_control_login_v2(&session, address.c_str(), "admin", "admin", reply), 0);
    EXPECT_EQ(vcam_control_logout(session), 0);
    EXPECT_EQ(vcam_control_logout(987654), 10);
    EXPECT_EQ(search.wait_for(0s), std::future_status::timeout)
        << "the session calls waited for the search";
    EXPECT_EQ(search.get()->count, 1);
}

TEST_F(SearchTest, SearchesTakeTurns) {
    Probe probe(kBinaryPort);
    ASSERT_TRUE(probe.bound());
    const auto start = Clock::now();
    auto first = std::async(std::launch::async, vcam_scan_v2, 1500);
    ASSERT_EQ(probe.collect(isBinaryRequest, atLeast(1)).size(), 1u);
    auto second = std::async(std::launch::async, vcam_scan_v2, 200);
    // The first search sends two requests (limited and fk0's broadcast); the third is the
    // second search's.
    ASSERT_EQ(probe.collect(isBinaryRequest, atLeast(3)).size(), 3u);
    EXPECT_GE(Clock::now() - start, 1500ms) << "the second search did not wait for the first";
    first.get();
    second.get();
}

}  // namespace
