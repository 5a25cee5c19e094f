#include "search/search_responder.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>
#include <thread>
#include <utility>

namespace camsim {

namespace {

// Owns one file descriptor (socket or eventfd); closes it when replaced or destroyed.
class UniqueFd {
public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) {
            reset();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

private:
    int fd_ = -1;
};

// Datagrams larger than this are no request of either generation and are dropped unread.
constexpr size_t kMaxDatagram = 4096;

// ---- Second generation (binary, UDP 6789) ----

constexpr char kBinaryMagic[] = "searching..";  // compared with its NUL: 12 bytes
constexpr size_t kBinaryMagicSize = sizeof(kBinaryMagic);
constexpr size_t kBinaryKindOffset = 12;
constexpr uint8_t kBinaryRequest = 10;
constexpr uint8_t kBinaryReply = 11;
constexpr size_t kBinaryReplySize = 772;

struct Area {
    size_t offset;
    size_t width;
};

// Text areas of the reply; each text is cut so that its NUL lies inside its own area.
constexpr Area kAddressArea{24, 16};
constexpr Area kNetmaskArea{40, 16};
constexpr Area kGatewayArea{56, 16};
constexpr Area kMacArea{72, 16};
constexpr Area kDnsArea{88, 16};
constexpr Area kDeviceTypeArea{104, 64};
constexpr Area kHttpPortArea{240, 2};
constexpr Area kPrivatePortArea{244, 2};
constexpr Area kNameArea{304, 16};
constexpr Area kFirmwareArea{320, 64};
constexpr Area kHardwareArea{384, 64};
constexpr Area kKeyArea{448, 32};
constexpr Area kBuildDateArea{480, 16};
constexpr Area kBuildNumberArea{496, 16};

constexpr Area kReplyAreas[] = {
    {0, kBinaryMagicSize + 1},
    kAddressArea,
    kNetmaskArea,
    kGatewayArea,
    kMacArea,
    kDnsArea,
    kDeviceTypeArea,
    kHttpPortArea,
    kPrivatePortArea,
    kNameArea,
    kFirmwareArea,
    kHardwareArea,
    kKeyArea,
    kBuildDateArea,
    kBuildNumberArea,
};

constexpr bool areasInOrderAndDisjoint() {
    size_t end = 0;
    for (const Area& area : kReplyAreas) {
        if (area.offset < end) return false;
        end = area.offset + area.width;
    }
    return end <= kBinaryReplySize;
}
static_assert(areasInOrderAndDisjoint(), "second-generation reply areas overlap");

// Fixed properties every simulated camera reports alike.
constexpr std::string_view kProductName = "FaceCam";
constexpr std::string_view kHardwareVersion = "HW-FR-V1.0";
constexpr std::string_view kBuildDate = "20190801";
constexpr std::string_view kBuildNumber = "1";
constexpr std::string_view kSensor = "CMOS-2MP";

// At most `max` bytes of the text, never ending inside a UTF-8 sequence.
std::string_view cutText(std::string_view text, size_t max) {
    if (text.size() <= max) return text;
    size_t n = max;
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
        --n;
    return text.substr(0, n);
}

void putText(std::array<uint8_t, kBinaryReplySize>& reply, Area area, std::string_view text) {
    text = text.substr(0, text.find('\0'));
    text = cutText(text, area.width - 1);
    std::memcpy(reply.data() + area.offset, text.data(), text.size());
}

void putU16(std::array<uint8_t, kBinaryReplySize>& reply, Area area, uint16_t value) {
    reply[area.offset] = static_cast<uint8_t>(value & 0xFF);
    reply[area.offset + 1] = static_cast<uint8_t>(value >> 8);
}

// The MAC area holds 15 characters; a separated MAC (17) goes in as its bare hex digits.
std::string bareMac(std::string_view mac) {
    std::string out;
    for (char c : mac) {
        if (c != ':' && c != '-') out += c;
    }
    return out;
}

bool isBinaryRequest(const uint8_t* data, size_t size) {
    return size > kBinaryKindOffset && std::memcmp(data, kBinaryMagic, kBinaryMagicSize) == 0 &&
           data[kBinaryKindOffset] == kBinaryRequest;
}

std::array<uint8_t, kBinaryReplySize> binaryReply(const SearchIdentity& id) {
    std::array<uint8_t, kBinaryReplySize> reply{};
    std::memcpy(reply.data(), kBinaryMagic, kBinaryMagicSize);
    reply[kBinaryKindOffset] = kBinaryReply;
    putText(reply, kAddressArea, id.address);
    putText(reply, kNetmaskArea, id.netmask);
    putText(reply, kGatewayArea, id.gateway);
    putText(reply, kMacArea, bareMac(id.mac));
    putText(reply, kDnsArea, id.gateway);
    putText(reply, kDeviceTypeArea, id.deviceType);
    putU16(reply, kHttpPortArea, id.httpPort);
    putU16(reply, kPrivatePortArea, id.privatePort);
    putText(reply, kNameArea, kProductName);
    putText(reply, kFirmwareArea, id.firmware);
    putText(reply, kHardwareArea, kHardwareVersion);
    putText(reply, kKeyArea, id.serialNo);
    putText(reply, kBuildDateArea, kBuildDate);
    putText(reply, kBuildNumberArea, kBuildNumber);
    return reply;
}

// ---- First generation (XML, UDP 10000) ----

constexpr uint8_t kXmlMagic[4] = {0x00, 0x00, 0x01, 0xCA};
constexpr size_t kXmlHeaderSize = 8;
constexpr std::string_view kXmlRequestMark = "HEADER TYPE=\"4117\"";

uint32_t readU32Le(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool isXmlRequest(const uint8_t* data, size_t size) {
    if (size < kXmlHeaderSize || data[2] != kXmlMagic[2] || data[3] != kXmlMagic[3]) return false;
    size_t available = size - kXmlHeaderSize;
    size_t declared = readU32Le(data + 4);
    std::string_view text(reinterpret_cast<const char*>(data + kXmlHeaderSize),
                          declared < available ? declared : available);
    return text.find(kXmlRequestMark) != std::string_view::npos;
}

// Text fit for XML content and attribute values; characters XML 1.0 cannot carry are dropped.
std::string xmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) >= 0x20 || c == '\t' || c == '\n') out += c;
        }
    }
    return out;
}

void xmlElement(std::string& xml, std::string_view name, std::string_view text) {
    xml.append("<").append(name).append(">").append(xmlEscape(text));
    xml.append("</").append(name).append(">\n");
}

std::string xmlAttr(std::string_view name, std::string_view value) {
    return std::string(" ").append(name).append("=\"").append(xmlEscape(value)).append("\"");
}

std::string xmlReplyText(const SearchIdentity& id) {
    std::string xml = "<MESSAGE VERSION=\"1\">\n<HEADER TYPE=\"4118\" />\n<Result CODE=\"0\" />\n";
    xml += "<PARAMETERS>\n";
    xmlElement(xml, "SerialNo", id.serialNo);
    xmlElement(xml, "DeviceType", id.deviceType);
    xmlElement(xml, "Sensor", kSensor);
    // The search is unauthenticated: the password is never disclosed.
    xmlElement(xml, "User", "admin");
    xmlElement(xml, "Password", "");
    xml += "<Version" + xmlAttr("Version", id.firmware) + xmlAttr("Date", kBuildDate) + " />\n";
    xml += "<Programs" + xmlAttr("OldPrograms", kBuildNumber) + " />\n";
    xml += "<Eth0>\n";
    xmlElement(xml, "MacAddress", id.mac);
    xmlElement(xml, "LocalIp", id.address);
    xmlElement(xml, "NetMask", id.netmask);
    xmlElement(xml, "GateWay", id.gateway);
    xmlElement(xml, "Dns1", id.gateway);
    xmlElement(xml, "Dns2", "0.0.0.0");
    xml += "</Eth0>\n";
    xml += "<ServiceAbility" + xmlAttr("Attribute", "0") + xmlAttr("Attribute2", "0") + " />\n";
    xmlElement(xml, "PrivatePort", std::to_string(id.privatePort));
    xmlElement(xml, "HttpPort", std::to_string(id.httpPort));
    xmlElement(xml, "RtspPort", "554");
    xmlElement(xml, "OnvifPort", "8000");
    xmlElement(xml, "OnvifHttpPort", "8080");
    xmlElement(xml, "IpcType", id.deviceType);
    xmlElement(xml, "SubType", "0");
    xml += "<OvfsVersion" + xmlAttr("swVersion", id.firmware) +
           xmlAttr("HwVersion", kHardwareVersion) + " />\n";
    xml += "</PARAMETERS>\n</MESSAGE>\n";
    return xml;
}

std::string xmlReply(const SearchIdentity& id) {
    std::string text = xmlReplyText(id);
    uint32_t size = static_cast<uint32_t>(text.size());
    std::string datagram(reinterpret_cast<const char*>(kXmlMagic), sizeof(kXmlMagic));
    for (int shift = 0; shift < 32; shift += 8) {
        datagram += static_cast<char>((size >> shift) & 0xFF);
    }
    return datagram + text;
}

// ---- Sockets ----

UniqueFd openSearchSocket(uint16_t port, std::string* error) {
    UniqueFd fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    auto fail = [&](const char* what) {
        if (error) {
            *error = std::string("search responder: ") + what + " (UDP port " +
                     std::to_string(port) + "): " + std::strerror(errno);
        }
        return UniqueFd();
    };
    if (!fd.valid()) return fail("socket");
    int on = 1;
    // The searching client binds the same port on the same host, so the port must be shared.
    if (::setsockopt(fd.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof(on)) != 0 ||
        ::setsockopt(fd.get(), SOL_SOCKET, SO_BROADCAST, &on, sizeof(on)) != 0) {
        return fail("setsockopt");
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&addr), sizeof(addr)) != 0) {
        return fail("bind");
    }
    return fd;
}

void broadcast(int fd, uint16_t port, const void* data, size_t size) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(port);
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    // A lost reply is what the client expects of UDP anyway; nothing to do on failure.
    ::sendto(fd, data, size, 0, reinterpret_cast<const sockaddr*>(&to), sizeof(to));
}

}  // namespace

struct SearchResponder::Impl {
    std::function<std::vector<SearchIdentity>()> cameras;
    uint16_t binaryPort;
    uint16_t xmlPort;
    UniqueFd binarySocket;
    UniqueFd xmlSocket;
    UniqueFd wake;
    std::thread thread;

    void run();
    void serveOne(int fd, bool binary);
    void answer(int fd, bool binary);
};

void SearchResponder::Impl::run() {
    pollfd fds[3] = {
        {wake.get(), POLLIN, 0}, {binarySocket.get(), POLLIN, 0}, {xmlSocket.get(), POLLIN, 0}};
    for (;;) {
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents != 0) return;
        if (fds[1].revents != 0) serveOne(binarySocket.get(), true);
        if (fds[2].revents != 0) serveOne(xmlSocket.get(), false);
    }
}

void SearchResponder::Impl::serveOne(int fd, bool binary) {
    std::array<uint8_t, kMaxDatagram> buffer;
    // MSG_TRUNC reports the datagram's real size, so oversized ones are recognised and dropped.
    ssize_t size = ::recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT | MSG_TRUNC);
    if (size < 0 || static_cast<size_t>(size) > buffer.size()) return;
    bool request = binary ? isBinaryRequest(buffer.data(), static_cast<size_t>(size))
                          : isXmlRequest(buffer.data(), static_cast<size_t>(size));
    if (request) answer(fd, binary);
}

void SearchResponder::Impl::answer(int fd, bool binary) {
    // The callback belongs to the owner; a failure in it costs this one request, not the thread.
    try {
        for (const SearchIdentity& id : cameras()) {
            if (binary) {
                auto reply = binaryReply(id);
                broadcast(fd, binaryPort, reply.data(), reply.size());
            } else {
                std::string reply = xmlReply(id);
                broadcast(fd, xmlPort, reply.data(), reply.size());
            }
        }
    } catch (const std::exception&) {
    }
}

SearchResponder::SearchResponder(std::function<std::vector<SearchIdentity>()> cameras,
                                 uint16_t binaryPort, uint16_t xmlPort)
    : impl_(new Impl{std::move(cameras), binaryPort, xmlPort, {}, {}, {}, {}}) {}

SearchResponder::~SearchResponder() {
    stop();
}

bool SearchResponder::start(std::string* error) {
    Impl& impl = *impl_;
    if (impl.thread.joinable()) return true;
    UniqueFd binarySocket = openSearchSocket(impl.binaryPort, error);
    if (!binarySocket.valid()) return false;
    UniqueFd xmlSocket = openSearchSocket(impl.xmlPort, error);
    if (!xmlSocket.valid()) return false;
    UniqueFd wake(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK));
    if (!wake.valid()) {
        if (error) *error = std::string("search responder: eventfd: ") + std::strerror(errno);
        return false;
    }
    impl.binarySocket = std::move(binarySocket);
    impl.xmlSocket = std::move(xmlSocket);
    impl.wake = std::move(wake);
    impl.thread = std::thread([&impl] { impl.run(); });
    return true;
}

void SearchResponder::stop() {
    Impl& impl = *impl_;
    if (!impl.thread.joinable()) return;
    ::eventfd_write(impl.wake.get(), 1);
    impl.thread.join();
    impl.binarySocket.reset();
    impl.xmlSocket.reset();
    impl.wake.reset();
}

}  // namespace camsim
