#include "healthcheck.h"

#include <QSharedPointer>

#include "applog.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "fleetsettings.h"

namespace {

const char* const kSource = "fleet\\healthcheck";
constexpr int kReachable = 0;

}  // namespace

HealthCheck::HealthCheck(Cameras cameras, Current current, Busy busy, QObject* parent)
    : QObject(parent),
      cameras_(std::move(cameras)),
      current_(std::move(current)),
      busy_(std::move(busy)) {
    connect(&timer_, &QTimer::timeout, this, &HealthCheck::checkNow);
    // Cameras held back by the overlay start once it lifts.
    if (JobControl* jobs = JobControl::instance())
        connect(jobs, &JobControl::signalIdle, this, &HealthCheck::pump);
}

void HealthCheck::setInterval(int ms) {
    interval_ = qMax(0, ms);
    if (interval_ == 0) {
        timer_.stop();
        todo_.clear();  // those running end; nothing new starts
        return;
    }
    timer_.start(interval_);
}

void HealthCheck::checkNow() {
    if (running()) return;  // a slow round is not stacked on another
    for (const SDeviceInfo& device : cameras_())
        todo_ << device.ip;
    roundOpen_ = true;
    pump();
}

bool HealthCheck::paused() const {
    const JobControl* jobs = JobControl::instance();
    return jobs && (jobs->busy() || jobs->closing());
}

// Tops the queue up to the bound, so that each camera is looked at just before it starts.
void HealthCheck::pump() {
    while (!todo_.isEmpty() && !paused() && queue_.running() < fleet::limit()) {
        const SDeviceInfo device = current_(todo_.takeFirst());
        if (device.ip.isEmpty() || busy_(device.ip)) continue;
        startOne(device);
    }
    if (roundOpen_ && !running()) {
        roundOpen_ = false;
        emit signalRoundDone();
    }
}

void HealthCheck::startOne(const SDeviceInfo& device) {
    auto copy = QSharedPointer<SDeviceInfo>::create(device);
    auto result = QSharedPointer<int>::create(0);
    const bool wasLost = device.status != kReachable;
    queue_.add(
        device.ip,
        [copy, result, wasLost] {
            // A camera back from lost needs its libraries too; a normal one only its answer.
            Interaction& cameras = Interaction::instance();
            *result = wasLost ? cameras.updateIPC(copy.data(), nullptr)
                              : cameras.checkIPC(copy.data(), nullptr);
        },
        [this, copy, result] {
            onAnswer(*copy, *result);
            pump();
        });
}

void HealthCheck::onAnswer(const SDeviceInfo& checked, int result) {
    const SDeviceInfo now = current_(checked.ip);
    // Removed, edited or being refreshed meanwhile, or the operator's job is on: not ours.
    if (now.ip.isEmpty() || !now.sameCredentials(checked.username, checked.password) ||
        busy_(checked.ip) || paused())
        return;
    noteAnswer(checked);
    if (checked.status == now.status) return;
    if (checked.status != kReachable) {
        lost_.insert(checked.ip);
        FK_LOG(kSource, 3, "camera lost, ip: %s, result %d: %s, last seen %s\n",
               checked.ip.toUtf8().constData(), result, ErrorText(result).toUtf8().constData(),
               lastSeen(checked.ip).toString(Qt::ISODate).toUtf8().constData());
        SDeviceInfo gone = now;
        gone.status = checked.status;
        emit signalChanged(gone);
        return;
    }
    FK_LOG(kSource, 6, "camera back, ip: %s\n", checked.ip.toUtf8().constData());
    SDeviceInfo back = checked;
    back.checked = now.checked;
    emit signalChanged(back);
}

void HealthCheck::noteAnswer(const SDeviceInfo& device) {
    if (device.status != kReachable) return;
    lastSeen_.insert(device.ip, QDateTime::currentDateTime());
    lost_.remove(device.ip);
}
