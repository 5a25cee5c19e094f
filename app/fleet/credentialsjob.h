// One user name and password for many cameras: each camera is tried with them (a login and its
// firmware version), at most fleet::limit() at once, under the busy overlay's bar "k / n" and
// its Cancel. The job only finds out; the owner stores what was taken, so a camera that refuses
// keeps its old credentials.
#pragma once

#include <QObject>
#include <QVector>

#include "dbutil/records.h"
#include "fleetqueue.h"

class CredentialsJob : public QObject {
    Q_OBJECT
public:
    enum Outcome { Taken, Refused, NotTried };
    struct Result {
        SDeviceInfo device;  // with the new credentials and the status found
        Outcome outcome = NotTried;
        int code = 0;  // why it was refused: the login's code or the call's
        LoginResult login;
    };

    explicit CredentialsJob(QObject* parent = nullptr);
    // Drops the cameras not started yet and ends the overlay of a job still running.
    ~CredentialsJob() override;

    // Ignored while a job runs.
    void start(const QVector<SDeviceInfo>& devices, const QString& user, const QString& password);
    bool running() const { return overlayUp_; }

signals:
    // Every camera in the order given; those a Cancel dropped are NotTried.
    void signalFinished(const QVector<CredentialsJob::Result>& results);

private:
    void onAnswer(int index, const SDeviceInfo& device, int result, const LoginResult& login);
    void onDropped(const QStringList& ips);
    void finish();

    FleetQueue queue_;
    QVector<Result> results_;
    bool overlayUp_ = false;
    int answered_ = 0;
    int total_ = 0;
};
