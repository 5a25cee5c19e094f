// The background check of the listed cameras: every interval each camera is asked whether it
// still answers (a login and its firmware version; a camera that was lost is read whole, so
// that its row comes back with its libraries), at most fleet::limit() at once and without the
// busy overlay. While the overlay is up (the operator's own job) no camera starts, and an
// answer that arrives then, or for a camera being refreshed or edited meanwhile, is dropped:
// what the operator asked for wins. A camera that was normal and no longer answers is marked
// lost and written to the program log.
#pragma once

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "dbutil/records.h"
#include "fleetqueue.h"

class HealthCheck : public QObject {
    Q_OBJECT
public:
    // The cameras listed now, and one of them as it is stored now (a record with an empty ip
    // once removed).
    using Cameras = std::function<QVector<SDeviceInfo>()>;
    using Current = std::function<SDeviceInfo(const QString& ip)>;
    // True while the operator's own call or refresh of that camera runs.
    using Busy = std::function<bool(const QString& ip)>;

    HealthCheck(Cameras cameras, Current current, Busy busy, QObject* parent = nullptr);

    // Milliseconds between the starts of two rounds; 0 stops the check.
    void setInterval(int ms);
    int interval() const { return interval_; }
    // Starts a round now unless one runs.
    void checkNow();
    bool running() const { return !todo_.isEmpty() || !queue_.idle(); }

    // When the camera last answered (a check or any refresh); invalid when never.
    QDateTime lastSeen(const QString& ip) const { return lastSeen_.value(ip); }
    // The camera was normal and a check found it lost; cleared when it answers again.
    bool lost(const QString& ip) const { return lost_.contains(ip); }
    // A refresh or edit answered for this camera: seen when it is reachable.
    void noteAnswer(const SDeviceInfo& device);

signals:
    // A check found the camera's status changed: its record as it is now known.
    void signalChanged(const SDeviceInfo& device);
    // The round is over.
    void signalRoundDone();

private:
    void pump();
    void startOne(const SDeviceInfo& device);
    void onAnswer(const SDeviceInfo& checked, int result);
    bool paused() const;

    Cameras cameras_;
    Current current_;
    Busy busy_;
    FleetQueue queue_;
    QTimer timer_;
    int interval_ = 0;
    QStringList todo_;  // this round's cameras not started yet
    bool roundOpen_ = false;
    QHash<QString, QDateTime> lastSeen_;
    QSet<QString> lost_;
};
