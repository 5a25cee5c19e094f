// The long jobs of the library page, each on a thread of its own: package export and import,
// feature extraction and the upload of a folder of pictures. Their finished handlers show
// nothing once the main window is closing.
#include <QFileDialog>
#include <QMessageBox>

#include "batch/batchextractthread.h"
#include "batch/batchuploadthread.h"
#include "configpage.h"
#include "dbutil/busy.h"
#include "dbutil/checkimagethread.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/dbimportmodule.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/resultcode.h"
#include "jobsummary.h"
#include "ui_configpage.h"

namespace {
void setTask(JobControl::Task task, bool on) {
    if (JobControl* control = JobControl::instance()) control->setTask(task, on);
}
}  // namespace

// ---- Extraction ----

void ConfigPage::on_btn_gen_feature_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("There is no db"));
        return;
    }
    if (QMessageBox::information(this, tr("Information"),
                                 tr("Extract cannot stop if started, are you sure to continue?"),
                                 QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    setTask(JobControl::ExtractFeature, true);
    busy::begin(busy::ProgressBar);
    auto* thread = new BatchExtractThread(device_, currentLibrary(), this);
    connect(thread, &BatchExtractThread::signalProgress, this,
            [](const QString&, int val, int total) { busy::progress(val, total); });
    connect(thread, &QThread::finished, this, [this, thread] { finishExtraction(thread); });
    thread->start();
}

void ConfigPage::finishExtraction(BatchExtractThread* thread) {
    setTask(JobControl::ExtractFeature, false);
    thread->deleteLater();
    busy::end();
    if (busy::closing()) return;
    if (thread->errorCode() != 0) {
        QMessageBox::information(this, tr("Information"), tr("Extract failed"));
        return;
    }
    loadPage();
    if (thread->total() != thread->extracted() + thread->errors()) {
        QMessageBox::information(this, tr("Info"), tr("Retrieve data failed, please try again"));
        return;
    }
    QMessageBox::information(
        this, tr("Info"),
        jobsummary::counts(tr("Extract finished"), thread->total(), thread->extracted()));
}

// ---- Package export and import ----

void ConfigPage::on_btn_export_clicked() {
    if (!hasLibrary()) {
        QMessageBox::information(this, tr("Information"), tr("You must select one db"));
        return;
    }
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save File"), QString("fdb_export_%1.zip").arg(device_.ip), tr("Zip (*.zip)"));
    if (path.isEmpty()) return;
    busy::begin(busy::ProgressBar);
    auto* module = new DbExportModule(device_, currentLibid(), this);
    module->setSavePath(path);
    connect(module, &DbExportModule::signalProgress, this,
            [](int val, int total) { busy::progress(val, total); });
    connect(module, &QThread::finished, this, [this, module] { finishExport(module); });
    module->start();
}

void ConfigPage::finishExport(DbExportModule* module) {
    module->deleteLater();  // removes the work directory
    busy::end();
    if (busy::closing()) return;
    jobsummary::PackageCounts counts;
    counts.code = module->errorCode();
    counts.total = module->expectedCount();
    counts.done = module->exportedCount();
    counts.pictures = module->pictureCount();
    counts.leftOut = module->leftOut().size();
    QMessageBox::information(this, tr("Information"), jobsummary::exportText(counts));
}

void ConfigPage::on_btn_import_clicked() {
    if (device_.dbs.size() >= SDeviceInfo::kMaxLibraries) {
        QMessageBox::information(this, tr("Information"), tr("There can be only 2 db"));
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open face DB data file"), ".", tr("Zip (*.zip)"));
    if (path.isEmpty()) return;
    busy::begin(busy::ProgressBar);
    auto* module = new DbImportModule(device_, path, this);
    connect(module, &DbImportModule::signalProgress, this,
            [](int val, int total) { busy::progress(val, total); });
    connect(module, &QThread::finished, this, [this, module] { finishImport(module); });
    module->start();
}

void ConfigPage::finishImport(DbImportModule* module) {
    module->deleteLater();
    busy::end();
    if (busy::closing()) return;
    const int code = module->errorCode();
    jobsummary::PackageCounts counts;
    counts.code = code;
    counts.total = module->totalCount();
    counts.done = module->uploadedCount();
    counts.leftOut = module->leftOut().size();
    QMessageBox::information(this, tr("Information"), jobsummary::importText(counts));
    if (code == resultcode::Ok || code == resultcode::NotAllTransferred) {
        changed_ = true;
        refreshLibraries(currentLibid());
    }
}

// ---- Folder upload ----

void ConfigPage::on_btn_item_muladd_clicked() {
    const QString dir = QFileDialog::getExistingDirectory(this, tr("Open Image Dir"), lastImageDir_,
                                                          QFileDialog::ShowDirsOnly);
    if (dir.isEmpty()) return;
    lastImageDir_ = dir;
    busy::begin(busy::Animation);
    auto* check = new CheckImageThread(dir, this);
    connect(check, &QThread::finished, this, [this, check] { finishImageCheck(check); });
    check->start();
}

void ConfigPage::finishImageCheck(CheckImageThread* check) {
    check->deleteLater();
    const QVector<SFeatrueInfo> images = check->images();
    busy::end();  // the check's overlay; the upload shows its own
    if (busy::closing()) return;
    if (images.isEmpty()) {
        QMessageBox::information(this, tr("Information"),
                                 tr("The directory has no valid image, please retry"));
        return;
    }
    if (!check->errorCounts().isEmpty()) {
        const QString text = tr("Valid images number") + ": " + QString::number(images.size()) +
                             "\n" + tr("Continue to upload valid images") + "?";
        if (QMessageBox::information(this, tr("Warning"), text,
                                     QMessageBox::Ok | QMessageBox::Cancel) != QMessageBox::Ok)
            return;
    }
    startUpload(images);
}

void ConfigPage::startUpload(const QVector<SFeatrueInfo>& images) {
    setTask(JobControl::UploadBatch, true);
    busy::begin(busy::ProgressCancel);
    auto* thread = new BatchUploadThread(device_, currentLibrary(), images, false, this);
    connect(thread, &BatchUploadThread::signalProgress, this,
            [](const QString&, int val, int total) { busy::progress(val, total); });
    connect(thread, &QThread::finished, this, [this, thread] { finishUpload(thread); });
    thread->start();
}

void ConfigPage::finishUpload(BatchUploadThread* thread) {
    setTask(JobControl::UploadBatch, false);
    thread->deleteLater();
    busy::end();
    if (busy::closing()) return;
    if (thread->uploadedCount() > 0) loadPage();
    QMessageBox::information(this, tr("Info"),
                             jobsummary::upload(thread->imageCount(), thread->uploadedCount()));
}
