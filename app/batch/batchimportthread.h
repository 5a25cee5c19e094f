// Loads the unpacked package of the batch work directory into a new library of one camera:
// read "package.dat", create the library, upload every record. Stopped through the cancel
// entry of the camera's ip.
#pragma once

#include "batchthread.h"
#include "dbutil/progressreporter.h"

class BatchImportThread : public BatchThread {
    Q_OBJECT
public:
    explicit BatchImportThread(const SDeviceInfo& device, QObject* parent = nullptr);

    // errorCode() is Ok, or FileError, Incompatible (package), LibraryError (library not
    // created), NotAllTransferred; uploadedCount() of totalCount() records were accepted.
    int totalCount() const { return totalCount_; }
    // The library as created on the camera (its new libid).
    const SDBInfo& library() const { return library_; }

signals:
    // total is always 100; note is "uploaded/total".
    void signalProgress(const QString& deviceIp, int val, int total, const QString& note);

protected:
    void run() override;
    // One row for the camera.
    QVector<reports::ReportRow> reportRows() const override;

private:
    void importPackage();

    const QString workDir_;
    SDBInfo library_;
    int totalCount_ = 0;
    QString note_;
    ProgressReporter progress_;
};
