#include "fleetrefresh.h"

#include <QSharedPointer>

#include "applog.h"
#include "dbutil/busy.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"

namespace {

const char* const kSource = "fleet\\fleetrefresh";

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
    queue_.setStopCheck([] {
        const JobControl* jobs = JobControl::instance();
        return jobs && jobs->stopRequested();
    });
    connect(&queue_, &FleetQueue::signalDropped, this, &FleetRefresh::onDropped);
    connect(&queue_, &FleetQueue::signalIdle, this, &FleetRefresh::finish);
}

FleetRefresh::~FleetRefresh() {
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
    for (const SDeviceInfo& device : qAsConst(fresh)) {
        pending_.insert(device.ip);
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
