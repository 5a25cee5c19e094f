// The session's binary channel to the camera's port 80: handshake, DES-enciphered login,
// logout and firmware upgrade. One record per logged-in session.
#pragma once

#include <cstdint>
#include <memory>

#include "core/platform.h"

namespace camlink {

struct TcpLoginRecord;

// The three steps, reached through the record (callers hold only this table).
struct TcpSteps {
    int (*login)(TcpLoginRecord& record);   // 0, or -1 on any failure
    int (*logout)(TcpLoginRecord& record);  // 0, or -1 when the packet could not be sent
    int (*upgrade)(TcpLoginRecord& record, const char* path);  // 0, -1 or -2
};

struct TcpLoginRecord {
    char address[32] = {};
    char user[32] = {};
    char password[32] = {};
    int32_t port = 80;
    const TcpSteps* steps = nullptr;
    platform::Socket socket = platform::kNoSocket;
    int32_t channelOpen = 0;
    uint64_t serial = 0;
    uint32_t loginId = 0;

    TcpLoginRecord() = default;
    ~TcpLoginRecord() { platform::closeSocket(socket); }
    TcpLoginRecord(const TcpLoginRecord&) = delete;
    TcpLoginRecord& operator=(const TcpLoginRecord&) = delete;
};

// Address, user and password copied with truncation to 31 characters; port 80; the steps.
std::unique_ptr<TcpLoginRecord> makeTcpLoginRecord(const char* address, const char* user,
                                                   const char* password);

// The connect, and each step of the channel (a request sent and its answer received), lasts at
// most this long.
constexpr int kChannelWaitMs = 3000;

// The upgrade step (its own file).
int tcpUpgradeStep(TcpLoginRecord& record, const char* path);

}  // namespace camlink
