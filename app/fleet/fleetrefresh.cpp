#include "fleetrefresh.h"

#include <QSharedPointer>

#include "applog.h"
#include "dbutil/busy.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "fleetlanes.h"
#include "fleetprobe.h"
#include "fleetsettings.h"

namespace {

const char* const kSource = "fleet\\fleetrefresh";
// What the login of a camera that never answers ends with: the transfer's time-out.
constexpr int kLoginTimedOut = 10028;

bool stopRequested() {
    const JobControl* jobs = JobControl::instance();
    return jobs && jobs->stopRequested();
}

void logFailure(const SDeviceInfo& device, int result, const LoginResult& login) {
    const bool loginFailed = login.code != 0;
    const int code = loginFailed ? login.code : result;
    FK_LOG(kSource, 3, "refresh, %s, ip: %s, result %d: %s\n",
           loginFailed ? "login failed" : "device not read", device.ip.toUtf8().constData(), code,
           ErrorText(code).toUtf8().constData());
}

}  // namespace

FleetRefresh::FleetRefresh(QObject* parent) : QObject(parent) {
    // The overlay's Cancel sets the stop flag: the cameras still waiting never start.
    queue_.setStopCheck(&stopRequested);
    connect(&queue_, &FleetQueue::signalDropped, this, &FleetRefresh::onDropped);
    connect(&queue_, &FleetQueue::signalIdle, this, &FleetRefresh::finish);
}

FleetRefresh::~FleetRefresh() {
    // A probe's thread reports to this object: it ends before the object does.
    qDeleteAll(findChildren<FleetProbe*>(QString(), Qt::FindDirectChildrenOnly));
    queue_.dropWaiting();
    if (overlayUp_) busy::end();
}

void FleetRefresh::refresh(const QVector<SDeviceInfo>& devices) {
    QVector<SDeviceInfo> fresh;
    for (const SDeviceInfo& device : devices)
        if (!pending_.contains(device.ip)) fresh << device;
    if (fresh.isEmpty()) return;
    if (!overlayUp_) {
        answered_ = dropped_ = total_ = 0;
        overlayUp_ = true;
        busy::begin(busy::ProgressCancel);
    }
    total_ += fresh.size();
    busy::count(answered_, total_);
    for (const SDeviceInfo& device : qAsConst(fresh))
        pending_.insert(device.ip);
    // More cameras than the bound: side by side, those that answer a probe go first, so a
    // live camera does not wait behind silent ones.
    if (fleet::sessionsSideBySide() && fresh.size() > fleet::limit()) {
        probe(fresh);
        return;
    }
    for (const SDeviceInfo& device : qAsConst(fresh))
        enqueue(device);
}

void FleetRefresh::enqueue(const SDeviceInfo& device) {
    auto copy = QSharedPointer<SDeviceInfo>::create(device);
    auto login = QSharedPointer<LoginResult>::create();
    auto result = QSharedPointer<int>::create(0);
    queue_.add(
        device.ip,
        [copy, login, result] {
            *result = Interaction::instance().updateIPC(copy.data(), login.data());
        },
        [this, copy, login, result] { onAnswer(*copy, *result, *login); });
}

void FleetRefresh::probe(const QVector<SDeviceInfo>& devices) {
    QHash<QString, SDeviceInfo> byIp;
    QStringList ips;
    for (const SDeviceInfo& device : devices) {
        byIp.insert(device.ip, device);
        ips << device.ip;
    }
    auto* probe = new FleetProbe(this);
    connect(probe, &FleetProbe::signalHeard, this,
            [this, byIp](const QString& ip) { enqueue(byIp.value(ip)); });
    connect(probe, &FleetProbe::signalFinished, this,
            [this, probe, byIp](const QStringList& silent) {
                delete probe;  // its thread has ended: this is its last word
                onSilent(silent, byIp);
            });
    probe->start(ips, &stopRequested);
}

// The probe waited as long as their logins would: they are offline without a login. After a
// Cancel they were never asked, and stay as they were.
void FleetRefresh::onSilent(const QStringList& ips, const QHash<QString, SDeviceInfo>& devices) {
    if (stopRequested()) {
        onDropped(ips);
    } else {
        LoginResult login;
        login.code = kLoginTimedOut;
        for (const QString& ip : ips) {
            SDeviceInfo device = devices.value(ip);
            device.status = 1;
            onAnswer(device, kLoginTimedOut, login);
        }
    }
    if (queue_.idle()) finish();
}

void FleetRefresh::onAnswer(const SDeviceInfo& device, int result, const LoginResult& login) {
    pending_.remove(device.ip);
    ++answered_;
    if (result != 0) logFailure(device, result, login);
    busy::count(answered_, total_);
    emit signalRefreshed(device, result, login);
}

void FleetRefresh::onDropped(const QStringList& ips) {
    for (const QString& ip : ips)
        pending_.remove(ip);
    dropped_ += ips.size();
    total_ -= ips.size();
    busy::count(answered_, total_);
}

void FleetRefresh::finish() {
    if (!overlayUp_ || running()) return;
    overlayUp_ = false;
    busy::end();
    if (dropped_ > 0)
        FK_LOG(kSource, 6, "refresh cancelled, %d of %d cameras not refreshed\n", dropped_,
               answered_ + dropped_);
    emit signalFinished(answered_, dropped_);
}
