// The LAN search's share of the platform layer: the local IPv4 adapters and the UDP socket the
// search sends and listens on. With platform.cpp, the only code that includes socket headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/platform.h"

namespace camlink::platform {

// One usable local IPv4 address; every value in host byte order, gateway 0 when unknown.
struct Adapter {
    uint32_t address;
    uint32_t mask;
    uint32_t gateway;
};

// IPv4 addresses of the interfaces that are up, not loopback, and of Ethernet or wireless type,
// in kernel order; an address 0.0.0.0 ends the walk for its interface. Empty on any failure.
std::vector<Adapter> adapterList();

// An IPv4 UDP socket, closed on destruction. Every search socket shares its port with other
// programs, may broadcast and has a receive buffer large enough for a burst of replies.
class UdpSocket {
public:
    // When the socket cannot be created it prints the console line of the search and stays
    // invalid.
    UdpSocket();
    ~UdpSocket() { closeSocket(socket_); }
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    bool valid() const { return socket_ != kNoSocket; }
    bool bind(uint32_t address, uint16_t port);
    bool sendTo(uint32_t address, uint16_t port, const void* data, size_t size);
    WaitResult waitReadable(int milliseconds) {
        return platform::waitReadable(socket_, milliseconds);
    }
    // One datagram, cut to `size`, without waiting; -1 when none is queued or on error.
    long receive(void* data, size_t size);

private:
    Socket socket_;
};

}  // namespace camlink::platform
