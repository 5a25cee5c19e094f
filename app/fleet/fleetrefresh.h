// Refreshes many cameras (log in again, read the firmware version and the libraries), at most
// fleet::limit() at once, under the busy overlay's bar "k / n" and its Cancel. Each camera's
// record is handed over as soon as that camera has answered. A Cancel drops the cameras not
// started yet: their records are never touched. Every failed camera leaves a program-log line.
// Side by side, with more cameras than the bound, a probe of them all first lets the cameras
// that answer go ahead; those silent through the probe's wait are offline without a login.
#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QVector>

#include "dbutil/records.h"
#include "fleetqueue.h"

class FleetRefresh : public QObject {
    Q_OBJECT
public:
    explicit FleetRefresh(QObject* parent = nullptr);
    // Drops the cameras not started yet and ends the overlay of a refresh still running.
    ~FleetRefresh() override;

    // Adds the cameras not being refreshed already; the first of a run shows the overlay.
    void refresh(const QVector<SDeviceInfo>& devices);
    bool running() const { return !pending_.isEmpty(); }
    // That camera is being asked or waits its turn.
    bool refreshing(const QString& ip) const { return pending_.contains(ip); }
    int answered() const { return answered_; }
    int total() const { return total_; }

signals:
    // One camera answered or gave up: its record as it is now known (status 0: reachable).
    void signalRefreshed(const SDeviceInfo& device, int result, const LoginResult& login);
    // The run has ended, the overlay is lifted: dropped cameras were cancelled before their turn.
    void signalFinished(int answered, int dropped);

private:
    void enqueue(const SDeviceInfo& device);
    void probe(const QVector<SDeviceInfo>& devices);
    void onSilent(const QStringList& ips, const QHash<QString, SDeviceInfo>& devices);
    void onAnswer(const SDeviceInfo& device, int result, const LoginResult& login);
    void onDropped(const QStringList& ips);
    void finish();

    FleetQueue queue_;
    QSet<QString> pending_;   // started or waiting
    bool overlayUp_ = false;  // one busy begin per run, ended once
    int answered_ = 0;
    int dropped_ = 0;
    int total_ = 0;
};
