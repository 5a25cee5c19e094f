// A liveness probe of many cameras at once, from one thread: a connection to each camera's
// HTTP port and a request without credentials, which a live camera answers at once (with its
// digest challenge). The bounded refresh takes the cameras in the order they were heard from,
// so a live camera never waits behind silent ones.
#pragma once

#include <QFuture>
#include <QObject>
#include <QStringList>
#include <QVector>
#include <atomic>
#include <functional>
#include <memory>

class FleetProbe : public QObject {
    Q_OBJECT
public:
    // As long as a login's exchange waits: a camera silent this long would fail its login too.
    static constexpr int kTimeoutMs = 2000;
    static constexpr quint16 kHttpPort = 8089;

    explicit FleetProbe(QObject* parent = nullptr);
    // Ends a probe still running; waits at most one poll slice for its thread.
    ~FleetProbe() override;

    // Probes the addresses on the fleet's pool; stop is asked between poll slices (any thread).
    void start(const QStringList& ips, std::function<bool()> stop);

signals:
    // A camera reacted: it answered, refused or closed the connection (a login fails fast).
    void signalHeard(const QString& ip);
    // The probe has ended: these were not heard from within the time-out (or before a stop).
    void signalFinished(const QStringList& silent);

private:
    QFuture<void> run_;
    std::shared_ptr<std::atomic<bool>> abandoned_ = std::make_shared<std::atomic<bool>>(false);
};

namespace fleet {

// The probe itself, on the calling thread: heard(index) for each address as it reacts, in that
// order; returns the indexes never heard from. Bad addresses count as heard (a login fails fast).
QVector<int> probeAll(const QStringList& ips, quint16 port, int timeoutMs,
                      const std::function<void(int index)>& heard,
                      const std::function<bool()>& stop);

}  // namespace fleet
