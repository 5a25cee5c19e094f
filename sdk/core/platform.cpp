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

int remainingMs(Deadline deadline) {
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

bool connectWithin(Socket socket, const std::string& address, uint16_t port, int milliseconds) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(port);
    if (inet_pton(AF_INET, address.c_str(), &peer.sin_addr) != 1) return false;
    if (!makeNonBlocking(socket)) return false;
    if (::connect(socket, reinterpret_cast<sockaddr*>(&peer), sizeof peer) == 0) return true;
    // An interrupted non-blocking connect goes on in the background, like one in progress.
    if (errno != EINPROGRESS && errno != EINTR) return false;
    if (waitWritable(socket, milliseconds) != WaitResult::Ready) return false;
    int error = 0;
    socklen_t length = sizeof error;
    return getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
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

Deadline deadlineIn(int milliseconds) {
    return std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
}

WaitResult sendAll(Socket socket, const void* data, size_t size, Deadline deadline) {
    const auto* bytes = static_cast<const char*>(data);
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

WaitResult receiveAll(Socket socket, void* data, size_t size, Deadline deadline) {
    auto* bytes = static_cast<char*>(data);
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
