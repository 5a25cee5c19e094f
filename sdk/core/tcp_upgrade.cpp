// The firmware upgrade over the session's binary channel: a header announcing the length, the
// file in 1024-byte blocks, one answer, then a pause while the camera takes the file in.
#include <cerrno>
#include <cstdio>
#include <memory>

#include "core/file_handle.h"
#include "core/packet.h"
#include "core/tcp_login.h"

namespace camlink {

namespace {

using platform::WaitResult;

constexpr size_t kBlockSize = 1024;
constexpr int kSettleMs = 5000;

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

// 0 when every block went out, -2 otherwise.
int sendFile(platform::Socket socket, FILE* file) {
    auto buffer = std::make_unique<char[]>(kBlockSize);
    while (!std::feof(file)) {
        size_t n = std::fread(buffer.get(), 1, kBlockSize, file);
        std::printf("send size: %d\n", static_cast<int>(n));
        if (n == 0) {
            if (std::ferror(file)) break;
            continue;
        }
        if (!sendBlock(socket, buffer.get(), n)) {
            std::printf("send upgrade failed.\n");
            return -2;
        }
    }
    if (std::ferror(file)) {
        std::printf("send upgrade failed.\n");
        return -2;
    }
    return 0;
}

}  // namespace

int tcpUpgradeStep(TcpLoginRecord& r, const char* path) {
    if (!r.channelOpen || !path) return -1;
    std::printf("upgrade file: %s\n", path);
    File file = openFile(path, "rb");
    if (!file) return -1;
    // The length field is 32 bits wide; larger files cannot be announced.
    if (std::fseek(file.get(), 0, SEEK_END) != 0) return -1;
    long length = std::ftell(file.get());
    if (length < 0 || static_cast<unsigned long>(length) > 0xFFFFFFFFul) return -1;
    std::rewind(file.get());

    PacketHeader header = makePacketHeader(PacketCommand::Upgrade, r.loginId,
                                           static_cast<uint32_t>(length));
    if (platform::waitWritable(r.socket, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("Write upgrade header timeout!\n");
        return -1;
    }
    if (platform::sendAll(r.socket, header.data(), header.size(), kChannelWaitMs) !=
        WaitResult::Ready) {
        std::perror("send");
        return -1;
    }
    if (int sent = sendFile(r.socket, file.get()); sent != 0) return sent;
    file.reset();

    if (platform::waitReadable(r.socket, kChannelWaitMs) != WaitResult::Ready) {
        std::printf("Receive upgrade response timeout!\n");
        return -1;
    }
    uint8_t answer[kPacketHeaderSize];
    if (platform::receiveAll(r.socket, answer, sizeof answer, kChannelWaitMs) != WaitResult::Ready) {
        std::perror("recv");
        return -1;
    }
    if (packetStatus(answer) != 0) return -2;
    platform::sleepMilliseconds(kSettleMs);
    return 0;
}

}  // namespace camlink
