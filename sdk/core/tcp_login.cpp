#include "core/tcp_login.h"

#include <cstdio>
#include <cstring>

#include "core/des_cipher.h"
#include "core/packet.h"

namespace camlink {

namespace {

using platform::WaitResult;

constexpr size_t kHandshakeResponseSize = 40;
constexpr size_t kLoginRequestSize = 108;
constexpr size_t kLoginResponseSize = 32;

// Sends the bytes or says which way it failed, in the channel's console words.
bool sendPacket(TcpLoginRecord& r, const uint8_t* bytes, size_t size, const char* failure) {
    if (platform::waitWritable(r.socket, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("Login timeout!\n");
        return false;
    }
    if (platform::sendAll(r.socket, bytes, size, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("%s\n", failure);
        return false;
    }
    return true;
}

// Waits for the answer, then reads it whole within the same wait.
bool receivePacket(TcpLoginRecord& r, uint8_t* bytes, size_t size, const char* failure) {
    if (platform::waitReadable(r.socket, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("Login timeout!\n");
        return false;
    }
    if (platform::receiveAll(r.socket, bytes, size, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("%s\n", failure);
        return false;
    }
    return true;
}

void buildLoginRequest(const TcpLoginRecord& r, uint8_t* packet) {
    PacketHeader header = makePacketHeader(PacketCommand::Login, kNoLoginId, 76);
    std::memcpy(packet, header.data(), header.size());
    std::strncpy(reinterpret_cast<char*>(packet + 32), r.user, 32);
    std::strncpy(reinterpret_cast<char*>(packet + 64), r.password, 32);
    writeBigEndian64(r.serial, packet + 100);
    uint8_t key[8];
    writeBigEndian64(r.serial, key);
    // The serial number, as received, is the key: nothing secret is kept in the program.
    for (int block = 0; block < 4; ++block)
        desEncryptBlock(key, packet + 64 + 8 * block);
    desEncryptBlock(key, packet + 100);
}

int loginStep(TcpLoginRecord& r) {
    r.socket = platform::openTcpSocket();
    if (r.socket == platform::kNoSocket) return -1;
    if (!platform::connectTo(r.socket, r.address, static_cast<uint16_t>(r.port))) {
        std::printf("connect failed!\n");
        return -1;
    }
    platform::makeNonBlocking(r.socket);
    PacketHeader handshake = makePacketHeader(PacketCommand::Handshake, kNoLoginId, 0);
    if (!sendPacket(r, handshake.data(), handshake.size(), "Send handshake request failed!"))
        return -1;
    uint8_t response[kHandshakeResponseSize];
    if (!receivePacket(r, response, sizeof response, "Receive handshake response failed!"))
        return -1;
    r.serial = readBigEndian64(response + 32);
    std::printf("user serial number: %llx\n", static_cast<unsigned long long>(r.serial));

    uint8_t request[kLoginRequestSize] = {};
    buildLoginRequest(r, request);
    if (!sendPacket(r, request, sizeof request, "Send login request failed!")) return -1;
    uint8_t answer[kLoginResponseSize];
    if (!receivePacket(r, answer, sizeof answer, "Receive login reponse failed!")) return -1;
    if (packetStatus(answer) != 0) return -1;
    r.loginId = packetLoginId(answer);
    r.channelOpen = 1;
    return 0;
}

int logoutStep(TcpLoginRecord& r) {
    if (!r.channelOpen) return 0;
    PacketHeader packet = makePacketHeader(PacketCommand::Logout, r.loginId, 0);
    int result = 0;
    if (platform::waitWritable(r.socket, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("Send logout packet failed!\n");
        result = -1;
    } else if (platform::sendSome(r.socket, packet.data(), packet.size()) < 0) {
        std::printf("Send logout request failed!\n");
    }
    platform::closeSocket(r.socket);
    r.channelOpen = 0;
    return result;
}

const TcpSteps kSteps = {&loginStep, &logoutStep, &tcpUpgradeStep};

void copyTruncated(char (&field)[32], const char* text) {
    std::snprintf(field, sizeof field, "%s", text ? text : "");
}

}  // namespace

std::unique_ptr<TcpLoginRecord> makeTcpLoginRecord(const char* address, const char* user,
                                                   const char* password) {
    auto record = std::make_unique<TcpLoginRecord>();
    copyTruncated(record->address, address);
    copyTruncated(record->user, user);
    copyTruncated(record->password, password);
    record->port = 80;
    record->steps = &kSteps;
    return record;
}

}  // namespace camlink
