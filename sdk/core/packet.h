// The 32-byte header that starts every packet of the binary channel on port 80, little-endian.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace camlink {

constexpr size_t kPacketHeaderSize = 32;
using PacketHeader = std::array<uint8_t, kPacketHeaderSize>;

enum class PacketCommand : uint16_t {
    Handshake = 0x0101,  // bytes 4-5: 0x01 0x01
    Login = 0x0000,
    Logout = 0x0100,   // bytes 4-5: 0x01 0x00
    Upgrade = 0x0220,  // bytes 4-5: 0x02 0x20
};

constexpr uint32_t kNoLoginId = 0xFFFFFFFFu;

// Bytes 0-3 00 00 01 01, the command, the login id, the payload length and byte 16 (0x01 for
// login and upgrade requests).
PacketHeader makePacketHeader(PacketCommand command, uint32_t loginId, uint32_t payloadLength);

inline uint8_t packetStatus(const uint8_t* header) {
    return header[6];
}
uint32_t packetLoginId(const uint8_t* header);

// Big-endian 64-bit value of 8 bytes (the serial number of the handshake).
uint64_t readBigEndian64(const uint8_t* bytes);
void writeBigEndian64(uint64_t value, uint8_t* bytes);

}  // namespace camlink
