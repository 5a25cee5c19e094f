#include "fleetprobe.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QtConcurrent>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <vector>

#include "fleetqueue.h"

namespace fleet {
namespace {

constexpr int kSliceMs = 20;  // how often a stop is noticed

struct Probe {
    int fd = -1;
    bool sent = false;
    bool heard = false;
};

// A non-blocking connection under way, or -1 when it failed at once.
int connectTo(const QString& ip, quint16 port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, ip.toLatin1().constData(), &address.sin_addr) != 1) return -1;
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ||
        errno == EINPROGRESS)
        return fd;
    close(fd);
    return -1;
}

// Connected: the request a camera answers without credentials. False when the connection
// failed or the request could not go out.
bool sendRequest(const Probe& probe, const QString& ip) {
    int error = 0;
    socklen_t length = sizeof error;
    if (getsockopt(probe.fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
        return false;
    const QByteArray request =
        "GET / HTTP/1.1\r\nHost: " + ip.toLatin1() + "\r\nConnection: close\r\n\r\n";
    return send(probe.fd, request.constData(), request.size(), MSG_NOSIGNAL) == request.size();
}

}  // namespace

QVector<int> probeAll(const QStringList& ips, quint16 port, int timeoutMs,
                      const std::function<void(int index)>& heard,
                      const std::function<bool()>& stop) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::vector<Probe> probes(ips.size());
    auto hear = [&](int index) {
        probes[index].heard = true;
        heard(index);
    };
    for (int i = 0; i < ips.size() && !stop(); ++i) {
        probes[i].fd = connectTo(ips[i], port);
        if (probes[i].fd < 0) hear(i);
    }
    std::vector<pollfd> polled;
    std::vector<int> indexes;
    while (!stop()) {
        polled.clear();
        indexes.clear();
        for (int i = 0; i < ips.size(); ++i) {
            if (probes[i].heard || probes[i].fd < 0) continue;
            polled.push_back({probes[i].fd, short(probes[i].sent ? POLLIN : POLLOUT), 0});
            indexes.push_back(i);
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (polled.empty() || left <= 0) break;
        const int ready =
            poll(polled.data(), polled.size(), int(std::min<long long>(left, kSliceMs)));
        if (ready < 0 && errno != EINTR) break;
        for (size_t k = 0; k < polled.size() && ready > 0; ++k) {
            const short events = polled[k].revents;
            Probe& probe = probes[indexes[k]];
            if (events == 0) continue;
            const bool writable = (events & POLLOUT) && !(events & (POLLERR | POLLHUP));
            if (!probe.sent && writable && sendRequest(probe, ips[indexes[k]]))
                probe.sent = true;
            else
                hear(indexes[k]);  // an answer, a refusal or a close
        }
    }
    QVector<int> silent;
    for (int i = 0; i < ips.size(); ++i) {
        if (probes[i].fd >= 0) close(probes[i].fd);
        if (!probes[i].heard) silent << i;
    }
    return silent;
}

}  // namespace fleet

FleetProbe::FleetProbe(QObject* parent) : QObject(parent) {}

FleetProbe::~FleetProbe() {
    abandoned_->store(true);
    run_.waitForFinished();
}

void FleetProbe::start(const QStringList& ips, std::function<bool()> stop) {
    const auto abandoned = abandoned_;
    run_ = QtConcurrent::run(&FleetQueue::pool(), [this, ips, stop, abandoned] {
        const QVector<int> silent = fleet::probeAll(
            ips, kHttpPort, kTimeoutMs, [&](int index) { emit signalHeard(ips[index]); },
            [&] { return abandoned->load() || (stop && stop()); });
        QStringList silentIps;
        for (int index : silent)
            silentIps << ips[index];
        emit signalFinished(silentIps);
    });
}
