// Loads a package file into a new face library of one camera, on a thread of its own: unpack
// the zip into a temporary work directory, read "package.dat", create the library and upload
// every record with its picture and feature. Only the upload can be stopped (stop flag).
#pragma once

#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "jobcontrol.h"
#include "progressreporter.h"
#include "records.h"

class DbImportModule : public QThread {
    Q_OBJECT
public:
    DbImportModule(const SDeviceInfo& device, const QString& zipPath, QObject* parent = nullptr);
    ~DbImportModule() override;

    // Read after the thread has finished: 0, or 23, 14, 8, 15, 7, 10.
    int errorCode() const { return errorCode_; }
    int uploadedCount() const { return uploadedCount_; }
    int totalCount() const { return totalCount_; }
    // The library as created on the camera (its new libid).
    const SDBInfo& library() const { return library_; }
    // "name: reason" for each record of the package that was not sent.
    const QStringList& leftOut() const { return leftOut_; }

signals:
    void signalProgress(int val, int total);

protected:
    void run() override;

private:
    bool unpackZip();

    int errorCode_ = 0;
    int uploadedCount_ = 0;
    int totalCount_ = 0;
    SDeviceInfo device_;
    QString zipPath_;
    SDBInfo library_;
    QStringList leftOut_;
    std::unique_ptr<QTemporaryDir> workDir_;
    ProgressReporter progress_;
    // Held, not looked up: the import may outlive the job control at exit.
    const std::shared_ptr<const JobControl::StopState> stops_;
};
