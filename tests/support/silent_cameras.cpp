#include "support/silent_cameras.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "support/camera_fixture.h"

namespace testsupport {
namespace {

int listenOn(const std::string& address, std::string* error) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        *error = std::strerror(errno);
        return -1;
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(SilentCameras::kHttpPort);
    ::inet_pton(AF_INET, address.c_str(), &addr.sin_addr);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(fd, 256) != 0) {
        *error = address + ": " + std::strerror(errno);
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

bool SilentCameras::start(int count, std::string* error) {
    std::string ignored;
    if (!error) error = &ignored;
    if (::pipe2(wake_, O_CLOEXEC) != 0) {
        *error = std::strerror(errno);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        const std::string address = freshLoopbackAddress();
        const int fd = listenOn(address, error);
        if (fd < 0) {
            stop();
            return false;
        }
        listeners_.push_back(fd);
        addresses_.push_back(address);
    }
    thread_ = std::thread([this] { serve(); });
    return true;
}

void SilentCameras::stop() {
    if (thread_.joinable()) {
        const char byte = 0;
        (void)!::write(wake_[1], &byte, 1);
        thread_.join();
    }
    for (int fd : listeners_)
        ::close(fd);
    listeners_.clear();
    addresses_.clear();
    for (int& fd : wake_) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

// Requests are read and thrown away; a connection ends only when its client closes it.
void SilentCameras::serve() {
    std::vector<pollfd> fds{{wake_[0], POLLIN, 0}};
    for (int fd : listeners_)
        fds.push_back({fd, POLLIN, 0});
    const size_t firstConnection = fds.size();
    for (;;) {
        if (::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) break;
        if (fds[0].revents) break;
        std::vector<pollfd> accepted;
        for (size_t i = 1; i < fds.size(); ++i) {
            if (!fds[i].revents) continue;
            if (i < firstConnection) {
                const int client = ::accept4(fds[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
                if (client < 0) continue;
                ++accepted_;
                ++open_;
                accepted.push_back({client, POLLIN, 0});
                continue;
            }
            char buffer[4096];
            if (::recv(fds[i].fd, buffer, sizeof buffer, 0) > 0) continue;
            ::close(fds[i].fd);
            fds[i].fd = -1;
            --open_;
        }
        fds.erase(std::remove_if(fds.begin() + firstConnection, fds.end(),
                                 [](const pollfd& p) { return p.fd < 0; }),
                  fds.end());
        fds.insert(fds.end(), accepted.begin(), accepted.end());
    }
    for (size_t i = firstConnection; i < fds.size(); ++i)
        ::close(fds[i].fd);
    open_ = 0;
}

}  // namespace testsupport
