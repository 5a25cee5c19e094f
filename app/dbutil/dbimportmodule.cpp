#include "dbimportmodule.h"

#include <QDebug>
#include <QDir>

#include "exitgrace.h"
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
        errorCode_ = resultcode::NotDone;
        return false;
    }
    exitgrace::keepPath(workDir_->path());
    if (!QDir(workDir_->path()).mkdir(package::kImagesDir)) {
        PACKAGE_LOG("[import failed], subdir images create failed\n");
        errorCode_ = resultcode::NotDone;
        return false;
    }
    bool started = false;
    errorCode_ = packagejob::unpack(zipPath_, workDir_->path(), [this, &started](int, int total) {
        if (!started) progress_.beginStage(0, 10, total);
        started = true;
        progress_.step();
    });
    const bool invalid = errorCode_ != resultcode::Ok && !packagejob::isSizeRefusal(errorCode_);
    if (invalid) PACKAGE_LOG("[import failed]. zip file is invalid.\n");
    return errorCode_ == resultcode::Ok;
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
    const packagejob::PackageImport result = packagejob::importPackage(
        &device_, workDir_->path(), &progress_, {10, 20, 30}, true, {},
        [this] { return stops_->stopRequested(); });
    errorCode_ = result.code;
    library_ = result.library;
    totalCount_ = result.total;
    uploadedCount_ = result.uploaded;
    leftOut_ = result.leftOut;
    if (result.code == resultcode::Ok || result.code == resultcode::NotAllTransferred) {
        if (result.code != resultcode::Ok)
            qDebug() << "DbImportModule::uploadImageAndFeature"
                     << " not all image uploaded.";
        PACKAGE_LOG("import finished.\n");
    } else if (result.stage == packagejob::PackageImport::Read) {
        PACKAGE_LOG("[import failed]. package is damaged or uncompleted.\n");
    } else {
        PACKAGE_LOG("[import failed]. create FDB (%s) failed.\n",
                    library_.name.toLocal8Bit().constData());
    }
}
