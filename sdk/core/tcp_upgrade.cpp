// The firmware upgrade over the session's binary channel: a header announcing the length, the
// file in 1024-byte blocks, one answer, then a pause while the camera takes the file in.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/file_handle.h"
#include "core/packet.h"
#include "core/tcp_login.h"

namespace camlink {

namespace {

using platform::WaitResult;

constexpr size_t kBlockSize = 1024;
constexpr int kSettleMs = 5000;
// The length field holds 32 bits, but a camera may read it as signed: 2 GiB and more is
// refused before anything is sent.
constexpr long kMaxFirmwareBytes = 0x7FFFFFFFL;

// Sends one block completely; false after writing why to standard error.
bool sendBlock(platform::Socket socket, const char* data, size_t size) {
    size_t sent = 0;
    while (sent < size) {
        WaitResult ready = platform::waitWritable(socket, kChannelWaitMs);
        if (ready == WaitResult::Failed) {
            std::perror("select");
            return false;
        }
        if (ready == WaitResult::TimedOut) {
            std::fprintf(stderr, "Upgrade packet send timeout!\n");
            return false;
        }
        long n = platform::sendSome(socket, data + sent, size - sent);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

// 0 when exactly the announced bytes went out, -2 otherwise. A file that grows or shrinks
// while it is sent fails rather than putting more or fewer bytes on the channel than the
// header announced, which would leave the camera reading data as packets or waiting.
int sendFile(platform::Socket socket, FILE* file, uint32_t length) {
    auto buffer = std::make_unique<char[]>(kBlockSize);
    uint64_t sent = 0;
    bool ok = true;
    while (ok && !std::feof(file)) {
        size_t n = std::fread(buffer.get(), 1, kBlockSize, file);
        std::printf("send size: %d\n", static_cast<int>(n));
        if (n == 0) {
            ok = !std::ferror(file);
            continue;
        }
        sent += n;
        ok = sent <= length && sendBlock(socket, buffer.get(), n);
    }
    if (!ok || sent != length) {
        std::printf("send upgrade failed.\n");
        return -2;
    }
    return 0;
}

// The length of a regular file, or -1: anything else (a device, a directory, a pipe) has no
// length to announce.
long firmwareLength(const char* path, FILE* file) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return -1;
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    std::rewind(file);
    return length;
}

}  // namespace

int tcpUpgradeStep(TcpLoginRecord& r, const char* path) {
    if (!r.channelOpen || !path) return -1;
    std::printf("upgrade file: %s\n", path);
    File file = openFile(path, "rb");
    if (!file) return -1;
    const long length = firmwareLength(path, file.get());
    if (length < 0 || length > kMaxFirmwareBytes) return -1;

    PacketHeader header =
        makePacketHeader(PacketCommand::Upgrade, r.loginId, static_cast<uint32_t>(length));
    if (WaitResult sent = platform::sendAll(r.socket, header.data(), header.size(),
                                            platform::deadlineIn(kChannelWaitMs));
        sent != WaitResult::Ready) {
        if (sent == WaitResult::TimedOut)
            std::printf("Write upgrade header timeout!\n");
        else
            std::perror("send");
        return -1;
    }
    if (int sent = sendFile(r.socket, file.get(), static_cast<uint32_t>(length)); sent != 0)
        return sent;
    file.reset();

    uint8_t answer[kPacketHeaderSize];
    if (WaitResult got = platform::receiveAll(r.socket, answer, sizeof answer,
                                              platform::deadlineIn(kChannelWaitMs));
        got != WaitResult::Ready) {
        if (got == WaitResult::TimedOut)
            std::printf("Receive upgrade response timeout!\n");
        else
            std::perror("recv");
        return -1;
    }
    if (packetStatus(answer) != 0) return -2;
    platform::sleepMilliseconds(kSettleMs);
    return 0;
}

}  // namespace camlink
