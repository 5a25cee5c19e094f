#include "dbimportmodule.h"

#include <QDebug>
#include <QDir>

#include "exitgrace.h"
#include "interaction.h"
#include "jobcontrol.h"
#include "packagefile.h"
#include "packagejob.h"
#include "zipreader.h"

DbImportModule::DbImportModule(const SDeviceInfo& device, const QString& zipPath, QObject* parent)
    : QThread(parent), device_(device), zipPath_(zipPath), stops_(JobControl::currentStopState()) {
    // Emitted on the job's thread; the owner receives it queued.
    connect(
        &progress_, &ProgressReporter::signalProgress, this,
        [this](int val) { emit signalProgress(val, 100); }, Qt::DirectConnection);
}

DbImportModule::~DbImportModule() {
    exitgrace::join(this);
    if (workDir_) exitgrace::forgetPath(workDir_->path());
}

bool DbImportModule::unpackZip() {
    workDir_ = std::make_unique<QTemporaryDir>();
    if (!workDir_->isValid()) {
        PACKAGE_LOG("[import failed], temporary dir create failed\n");
        errorCode_ = packagejob::kWorkDirError;
        return false;
    }
    exitgrace::keepPath(workDir_->path());
    if (!QDir(workDir_->path()).mkdir(package::kImagesDir)) {
        PACKAGE_LOG("[import failed], subdir images create failed\n");
        errorCode_ = packagejob::kWorkDirError;
        return false;
    }
    bool started = false;
    errorCode_ = packagejob::unpack(zipPath_, workDir_->path(), [this, &started](int, int total) {
        if (!started) progress_.beginStage(0, 10, total);
        started = true;
        progress_.step();
    });
    const bool invalid = errorCode_ != packagejob::kOk && !packagejob::isSizeRefusal(errorCode_);
    if (invalid) PACKAGE_LOG("[import failed]. zip file is invalid.\n");
    return errorCode_ == packagejob::kOk;
}

bool DbImportModule::readPackage() {
    errorCode_ =
        packagejob::readPackage(workDir_->path(), &library_, &records_, &progress_, 10, 20, true);
    return errorCode_ == packagejob::kOk;
}

bool DbImportModule::createFdb() {
    progress_.beginStage(20, 30, 0);
    errorCode_ = packagejob::createLibrary(&device_, &library_);
    return errorCode_ == packagejob::kOk;
}

void DbImportModule::uploadImageAndFeature() {
    totalCount_ = records_.size();
    progress_.beginStage(30, 100, totalCount_);
    uploadedCount_ =
        Interaction::instance().importFaceDB(device_, library_.libid, records_, [this](int) {
            progress_.step();
            return stops_->stopRequested();
        });
    if (uploadedCount_ < totalCount_) {
        errorCode_ = packagejob::kNotAllUploaded;
        qDebug() << "DbImportModule::uploadImageAndFeature"
                 << " not all image uploaded.";
    } else {
        errorCode_ = packagejob::kOk;
    }
}

void DbImportModule::run() {
    TaskScope task(JobControl::FaceDbImport);
    PACKAGE_LOG("import start...\n");
    if (!unpackZip()) {
        // A refusal for size wrote its own line: the package itself may be sound.
        if (!packagejob::isSizeRefusal(errorCode_))
            PACKAGE_LOG("[import failed]. zip file is invalid.\n");
        return;
    }
    if (!readPackage()) {
        PACKAGE_LOG("[import failed]. package is damaged or uncompleted.\n");
        return;
    }
    if (!createFdb()) {
        PACKAGE_LOG("[import failed]. create FDB (%s) failed.\n",
                    library_.name.toLocal8Bit().constData());
        return;
    }
    uploadImageAndFeature();
    PACKAGE_LOG("import finished.\n");
}
