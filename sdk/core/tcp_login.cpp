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

// Reports a failed step in the channel's console words: a time-out, or the step's own failure.
bool stepDone(WaitResult result, const char* failure) {
    if (result == WaitResult::Ready) return true;
    std::printf("%s\n", result == WaitResult::TimedOut ? "Login timeout!" : failure);
    return false;
}

// One step of the channel: the request out and its whole answer in, both within one wait.
bool exchange(TcpLoginRecord& r, const uint8_t* request, size_t requestSize, const char* sendFailure,
              uint8_t* answer, size_t answerSize, const char* receiveFailure) {
    const platform::Deadline deadline = platform::deadlineIn(kChannelWaitMs);
    return stepDone(platform::sendAll(r.socket, request, requestSize, deadline), sendFailure) &&
           stepDone(platform::receiveAll(r.socket, answer, answerSize, deadline), receiveFailure);
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
    if (!platform::connectWithin(r.socket, r.address, static_cast<uint16_t>(r.port),
                                 kChannelWaitMs)) {
        std::printf("connect failed!\n");
        return -1;
    }
    PacketHeader handshake = makePacketHeader(PacketCommand::Handshake, kNoLoginId, 0);
    uint8_t response[kHandshakeResponseSize];
    if (!exchange(r, handshake.data(), handshake.size(), "Send handshake request failed!",
                  response, sizeof response, "Receive handshake response failed!"))
        return -1;
    r.serial = readBigEndian64(response + 32);
    std::printf("user serial number: %llx\n", static_cast<unsigned long long>(r.serial));

    uint8_t request[kLoginRequestSize] = {};
    buildLoginRequest(r, request);
    uint8_t answer[kLoginResponseSize];
    if (!exchange(r, request, sizeof request, "Send login request failed!", answer,
                  sizeof answer, "Receive login reponse failed!"))
        return -1;
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
