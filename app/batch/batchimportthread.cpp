#include "batchimportthread.h"

#include <QDebug>

#include "batchpackage.h"
#include "batchprogress.h"
#include "dbutil/interaction.h"
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

bool BatchImportThread::readPackage() {
    errorCode_ = packagejob::readPackage(workDir_, &library_, &records_, &progress_, 0, 5, false);
    return errorCode_ == packagejob::kOk;
}

bool BatchImportThread::createLibrary() {
    progress_.beginStage(5, 10, 1);
    errorCode_ = packagejob::createLibrary(&device_, &library_);
    if (errorCode_ != packagejob::kOk) return false;
    progress_.step();
    return true;
}

void BatchImportThread::uploadRecords() {
    totalCount_ = records_.size();
    progress_.beginStage(10, 100, totalCount_);
    uploadedCount_ += Interaction::instance().importFaceDB(
        device_, library_.libid, records_, [this](int uploaded) {
            note_ = batch::countNote(uploaded, totalCount_);
            progress_.step();
            return stopRequested();
        });
    if (uploadedCount_ < totalCount_) {
        errorCode_ = packagejob::kNotAllUploaded;
        qDebug() << "BatchImportThread::uploadImageAndFeature"
                 << " not all image uploaded.";
    } else {
        errorCode_ = packagejob::kOk;
    }
}

void BatchImportThread::run() {
    BATCH_LOG("import start...\n");
    note_ = batch::countNote(0, records_.size());
    emit signalProgress(device_.ip, 0, 100, note_);
    if (!readPackage()) {
        BATCH_LOG("[import failed]. package is damaged or uncompleted.\n");
        return;
    }
    if (!createLibrary()) {
        BATCH_LOG("[import failed]. create FDB (%s) failed.\n",
                  library_.name.toLocal8Bit().constData());
        return;
    }
    uploadRecords();
    BATCH_LOG("import finished.\n");
}
