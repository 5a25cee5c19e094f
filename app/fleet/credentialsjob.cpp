#include "credentialsjob.h"

#include <QSharedPointer>

#include "applog.h"
#include "dbutil/busy.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/resultcode.h"

namespace {

const char* const kSource = "fleet\\credentialsjob";

}  // namespace

CredentialsJob::CredentialsJob(QObject* parent) : QObject(parent) {
    queue_.setStopCheck([] {
        const JobControl* jobs = JobControl::instance();
        return jobs && jobs->stopRequested();
    });
    connect(&queue_, &FleetQueue::signalDropped, this, &CredentialsJob::onDropped);
    connect(&queue_, &FleetQueue::signalIdle, this, &CredentialsJob::finish);
}

CredentialsJob::~CredentialsJob() {
    queue_.dropWaiting();
    if (overlayUp_) busy::end();
}

void CredentialsJob::start(const QVector<SDeviceInfo>& devices, const QString& user,
                           const QString& password) {
    if (overlayUp_ || devices.isEmpty()) return;
    results_.clear();
    answered_ = 0;
    total_ = devices.size();
    overlayUp_ = true;
    busy::begin(busy::ProgressCancel);
    busy::count(0, total_);
    for (const SDeviceInfo& device : devices) {
        Result untried;
        untried.device = device;
        untried.device.username = user;
        untried.device.password = password;
        results_ << untried;
    }
    for (int index = 0; index < results_.size(); ++index) {
        auto copy = QSharedPointer<SDeviceInfo>::create(results_.at(index).device);
        auto login = QSharedPointer<LoginResult>::create();
        auto result = QSharedPointer<int>::create(0);
        queue_.add(
            copy->ip,
            [copy, login, result] {
                *result = Interaction::instance().checkIPC(copy.data(), login.data());
            },
            [this, index, copy, login, result] { onAnswer(index, *copy, *result, *login); });
    }
}

void CredentialsJob::onAnswer(int index, const SDeviceInfo& device, int result,
                              const LoginResult& login) {
    Result& answer = results_[index];
    answer.device = device;
    answer.login = login;
    // A login that went through means the camera took them, whatever its firmware said.
    answer.outcome = login.code == resultcode::Ok && result != resultcode::LoginFailed ? Taken : Refused;
    answer.code = login.code != resultcode::Ok ? login.code : result;
    if (answer.outcome == Refused)
        FK_LOG(kSource, 3, "new credentials refused, ip: %s, result %d: %s\n",
               device.ip.toUtf8().constData(), answer.code,
               ErrorText(answer.code).toUtf8().constData());
    busy::count(++answered_, total_);
}

void CredentialsJob::onDropped(const QStringList& ips) {
    total_ -= ips.size();
    busy::count(answered_, total_);
}

void CredentialsJob::finish() {
    if (!overlayUp_) return;
    overlayUp_ = false;
    busy::end();
    emit signalFinished(results_);
}
