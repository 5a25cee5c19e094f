#include "core/platform.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

namespace camlink::platform {

namespace {

WaitResult waitFor(Socket socket, short events, int milliseconds) {
    pollfd entry{socket, events, 0};
    for (;;) {
        int n = poll(&entry, 1, milliseconds);
        if (n > 0)
            return (entry.revents & (events | POLLHUP | POLLERR)) ? WaitResult::Ready
                                                                  : WaitResult::Failed;
        if (n == 0) return WaitResult::TimedOut;
        if (errno != EINTR) return WaitResult::Failed;
    }
}

int remainingMs(std::chrono::steady_clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

Socket openTcpSocket() {
    Socket s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0) {
        std::perror("socket");
        return kNoSocket;
    }
    return s;
}

bool connectTo(Socket socket, const std::string& address, uint16_t port) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) return false;
    int rc;
    do {
        rc = ::connect(socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
}

bool makeNonBlocking(Socket socket) {
    int flags = fcntl(socket, F_GETFL, 0);
    return flags >= 0 && fcntl(socket, F_SETFL, flags | O_NONBLOCK) == 0;
}

void closeSocket(Socket& socket) {
    if (socket != kNoSocket) ::close(socket);
    socket = kNoSocket;
}

WaitResult waitWritable(Socket socket, int milliseconds) {
    return waitFor(socket, POLLOUT, milliseconds);
}

WaitResult waitReadable(Socket socket, int milliseconds) {
    return waitFor(socket, POLLIN, milliseconds);
}

long sendSome(Socket socket, const void* data, size_t size) {
    long n;
    do {
        n = ::send(socket, data, size, MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n;
}

long receiveSome(Socket socket, void* data, size_t size) {
    long n;
    do {
        n = ::recv(socket, data, size, 0);
    } while (n < 0 && errno == EINTR);
    return n;
}

WaitResult sendAll(Socket socket, const void* data, size_t size, int milliseconds) {
    const auto* bytes = static_cast<const char*>(data);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    size_t sent = 0;
    while (sent < size) {
        WaitResult ready = waitWritable(socket, remainingMs(deadline));
        if (ready != WaitResult::Ready) return ready;
        long n = sendSome(socket, bytes + sent, size - sent);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return WaitResult::Failed;
        sent += static_cast<size_t>(n);
    }
    return WaitResult::Ready;
}

WaitResult receiveAll(Socket socket, void* data, size_t size, int milliseconds) {
    auto* bytes = static_cast<char*>(data);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    size_t got = 0;
    while (got < size) {
        WaitResult ready = waitReadable(socket, remainingMs(deadline));
        if (ready != WaitResult::Ready) return ready;
        long n = receiveSome(socket, bytes + got, size - got);
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) continue;
        if (n <= 0) return WaitResult::Failed;
        got += static_cast<size_t>(n);
    }
    return WaitResult::Ready;
}

void sleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace camlink::platform
