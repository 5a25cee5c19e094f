#include "batchimportthread.h"

#include <QDebug>

#include "batchpackage.h"
#include "batchprogress.h"
#include "dbutil/packagejob.h"

BatchImportThread::BatchImportThread(const SDeviceInfo& device, QObject* parent)
    : BatchThread(device, device.ip, "batchimportthread", parent), workDir_(batchWorkDir()) {
    // Both run on the job's thread; the owner receives the signals queued.
    connect(
        &progress_, &ProgressReporter::signalProgress, this,
        [this](int val) { emit signalProgress(device_.ip, val, 100, note_); },
        Qt::DirectConnection);
    connect(this, &BatchImportThread::signalProgress, this, &BatchThread::signalItemProgress,
            Qt::DirectConnection);
}

void BatchImportThread::run() {
    importPackage();
    record();
}

QVector<reports::ReportRow> BatchImportThread::reportRows() const {
    return {outcomeRow(library_)};
}

void BatchImportThread::importPackage() {
    BATCH_LOG("import start...\n");
    note_ = batch::countNote(0, 0);
    emit signalProgress(device_.ip, 0, 100, note_);
    const packagejob::PackageImport result = packagejob::importPackage(
        &device_, workDir_, &progress_, {0, 5, 10}, false,
        [this](int uploaded, int total) { note_ = batch::countNote(uploaded, total); },
        [this] { return stopRequested(); });
    errorCode_ = result.code;
    library_ = result.library;
    totalCount_ = result.total;
    uploadedCount_ += result.uploaded;
    switch (result.stage) {
        case packagejob::PackageImport::Read:
            BATCH_LOG("[import failed]. package is damaged or uncompleted.\n");
            return;
        case packagejob::PackageImport::Create:
            BATCH_LOG("[import failed]. create FDB (%s) failed.\n",
                      library_.name.toLocal8Bit().constData());
            return;
        case packagejob::PackageImport::Upload:
            if (result.code != resultcode::Ok)
                qDebug() << "BatchImportThread::uploadImageAndFeature"
                         << " not all image uploaded.";
            BATCH_LOG("import finished.\n");
            return;
    }
}
