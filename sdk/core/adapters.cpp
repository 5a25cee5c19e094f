#include "core/adapters.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <net/if_arp.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>

namespace camlink::platform {

namespace {

// Room for a burst of replies arriving faster than the receiver wakes up.
constexpr int kReceiveBufferBytes = 4 * 1024 * 1024;

struct IfaddrsFree {
    void operator()(ifaddrs* list) const { freeifaddrs(list); }
};
using IfaddrsList = std::unique_ptr<ifaddrs, IfaddrsFree>;

// Wired Ethernet (veth included) and the wireless link types.
bool usableLinkType(unsigned short type) {
    return type == ARPHRD_ETHER || type == ARPHRD_IEEE80211 || type == ARPHRD_IEEE80211_PRISM ||
           type == ARPHRD_IEEE80211_RADIOTAP;
}

// What the walk knows of one interface. A type of this file, so the containers of it stay
// private to the library.
struct Interface {
    std::string name;
    unsigned short linkType = 0;
    bool ended = false;  // an address 0.0.0.0 was met
    bool gatewayRead = false;
    uint32_t gateway = 0;
};

// Every interface with its link type, from the packet entries of the list.
std::vector<Interface> interfacesOf(const ifaddrs* list) {
    std::vector<Interface> interfaces;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        if (entry->ifa_name && entry->ifa_addr && entry->ifa_addr->sa_family == AF_PACKET) {
            Interface known;
            known.name = entry->ifa_name;
            known.linkType = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr)->sll_hatype;
            interfaces.push_back(std::move(known));
        }
    }
    return interfaces;
}

Interface* find(std::vector<Interface>& interfaces, const char* name) {
    auto it = std::find_if(interfaces.begin(), interfaces.end(),
                           [name](const Interface& known) { return known.name == name; });
    return it == interfaces.end() ? nullptr : &*it;
}

bool upIpv4NotLoopback(const ifaddrs* entry) {
    return entry->ifa_name && entry->ifa_addr && entry->ifa_addr->sa_family == AF_INET &&
           (entry->ifa_flags & IFF_UP) != 0 && (entry->ifa_flags & IFF_LOOPBACK) == 0;
}

uint32_t ipv4Of(const sockaddr* address) {
    if (!address || address->sa_family != AF_INET) return 0;
    return ntohl(reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr);
}

// The interface's gateway in the routing table of the calling thread's namespace: that of its
// default route, else of its first route through a gateway; 0 when it has none.
uint32_t gatewayOf(const std::string& name) {
    std::ifstream routes("/proc/thread-self/net/route");
    if (!routes) routes.open("/proc/net/route");
    std::string line;
    std::getline(routes, line);  // column titles
    uint32_t first = 0;
    while (std::getline(routes, line)) {
        std::istringstream fields(line);
        std::string device;
        uint32_t destination = 0, gateway = 0, flags = 0;
        if (!(fields >> device >> std::hex >> destination >> gateway >> flags)) continue;
        if (device != name || (flags & RTF_GATEWAY) == 0 || gateway == 0) continue;
        // The table shows addresses as their network-order bytes read as one native word.
        if (destination == 0) return ntohl(gateway);
        if (first == 0) first = ntohl(gateway);
    }
    return first;
}

void enlargeReceiveBuffer(Socket socket) {
    int wanted = kReceiveBufferBytes;
    ::setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &wanted, sizeof wanted);
    int granted = 0;
    socklen_t length = sizeof granted;
    // Above the system's cap only a privileged process may go; others keep what they got.
    if (::getsockopt(socket, SOL_SOCKET, SO_RCVBUF, &granted, &length) == 0 && granted < wanted) {
        ::setsockopt(socket, SOL_SOCKET, SO_RCVBUFFORCE, &wanted, sizeof wanted);
    }
}

sockaddr_in ipv4Address(uint32_t address, uint16_t port) {
    sockaddr_in out{};
    out.sin_family = AF_INET;
    out.sin_port = htons(port);
    out.sin_addr.s_addr = htonl(address);
    return out;
}

}  // namespace

std::vector<Adapter> adapterList() {
    ifaddrs* raw = nullptr;
    if (getifaddrs(&raw) != 0) return {};
    IfaddrsList list(raw);
    std::vector<Interface> interfaces = interfacesOf(raw);
    std::vector<Adapter> adapters;
    for (const ifaddrs* entry = raw; entry; entry = entry->ifa_next) {
        if (!upIpv4NotLoopback(entry)) continue;
        Interface* known = find(interfaces, entry->ifa_name);
        if (!known || !usableLinkType(known->linkType) || known->ended) continue;
        const uint32_t address = ipv4Of(entry->ifa_addr);
        if (address == 0) {
            known->ended = true;
            continue;
        }
        if (!known->gatewayRead) {
            known->gateway = gatewayOf(known->name);
            known->gatewayRead = true;
        }
        adapters.push_back({address, ipv4Of(entry->ifa_netmask), known->gateway});
    }
    return adapters;
}

UdpSocket::UdpSocket() : socket_(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {
    if (socket_ < 0) {
        std::printf("\"socket \" error! error code is %d\n", errno);
        socket_ = kNoSocket;
        return;
    }
    const int on = 1;
    // Another program may listen on the search ports (a second search, a camera tool).
    ::setsockopt(socket_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    enlargeReceiveBuffer(socket_);
}

bool UdpSocket::bind(uint32_t address, uint16_t port) {
    const sockaddr_in local = ipv4Address(address, port);
    return valid() && ::bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) == 0;
}

bool UdpSocket::sendTo(uint32_t address, uint16_t port, const void* data, size_t size) {
    const sockaddr_in peer = ipv4Address(address, port);
    long sent;
    do {
        sent = ::sendto(socket_, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&peer),
                        sizeof peer);
    } while (sent < 0 && errno == EINTR);
    return sent == static_cast<long>(size);
}

long UdpSocket::receive(void* data, size_t size) {
    long got;
    do {
        got = ::recv(socket_, data, size, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    return got;
}

}  // namespace camlink::platform
