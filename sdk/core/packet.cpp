#include "core/packet.h"

namespace camlink {

PacketHeader makePacketHeader(PacketCommand command, uint32_t loginId, uint32_t payloadLength) {
    PacketHeader h{};
    h[2] = 0x01;
    h[3] = 0x01;
    const auto code = static_cast<uint16_t>(command);
    h[4] = static_cast<uint8_t>(code >> 8);
    h[5] = static_cast<uint8_t>(code & 0xff);
    for (int i = 0; i < 4; ++i) {
        h[8 + i] = static_cast<uint8_t>(loginId >> (8 * i));
        h[12 + i] = static_cast<uint8_t>(payloadLength >> (8 * i));
    }
    h[16] = (command == PacketCommand::Login || command == PacketCommand::Upgrade) ? 0x01 : 0x00;
    return h;
}

uint32_t packetLoginId(const uint8_t* header) {
    return static_cast<uint32_t>(header[8]) | static_cast<uint32_t>(header[9]) << 8 |
           static_cast<uint32_t>(header[10]) << 16 | static_cast<uint32_t>(header[11]) << 24;
}

uint64_t readBigEndian64(const uint8_t* bytes) {
    uint64_t value = 0;
    for (int i = 0; i < 8; ++i)
        value = value << 8 | bytes[i];
    return value;
}

void writeBigEndian64(uint64_t value, uint8_t* bytes) {
    for (int i = 7; i >= 0; --i) {
        bytes[i] = static_cast<uint8_t>(value & 0xff);
        value >>= 8;
    }
}

}  // namespace camlink
