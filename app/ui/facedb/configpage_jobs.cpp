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
#include "reports/reportstore.h"
#include "ui/reports/reportbox.h"
#include "ui/reports/reportretry.h"
#include "ui_configpage.h"

namespace {
void setTask(JobControl::Task task, bool on) {
    if (JobControl* control = JobControl::instance()) control->setTask(task, on);
}

// The one row of a package job: the camera, the library and the package file.
reports::JobReport packageReport(reports::JobKind kind, const QDateTime& started,
                                 const SDeviceInfo& device, const SDBInfo& library,
                                 const QString& file, int code) {
    reports::JobReport report;
    report.kind = kind;
    report.started = started;
    report.ended = QDateTime::currentDateTime();
    report.source = file;
    reports::ReportRow row;
    row.camera = device.ip;
    row.library = library.name;
    row.libid = library.libid;
    row.file = file;
    report.rows << (code == resultcode::Ok ? reports::storedRow(row) : reports::failedRow(row, code));
    return report;
}

// Kept in the store, then shown behind "Details" of the summary box.
void summarize(QWidget* page, const QString& title, const QString& text,
               const reports::JobReport& report) {
    reports::saveInBackground(report);
    reportbox::information(page, title, text, report);
}
}  // namespace

// ---- Retry from a job report ----

void ConfigPage::registerRetries() {
    using reports::JobKind;
    reportretry::setHandler(JobKind::FolderUpload, this,
                            [this](const reports::JobReport& failed) { return retryUpload(failed); });
    reportretry::setHandler(JobKind::LibraryImport, this, [this](const reports::JobReport& failed) {
        if (!retryTargetShown(failed, false)) return false;
        startImport(failed.rows.first().file);
        return true;
    });
    reportretry::setHandler(JobKind::LibraryExport, this, [this](const reports::JobReport& failed) {
        if (!retryTargetShown(failed, true)) return false;
        const reports::ReportRow& row = failed.rows.first();
        startExport(findDb(device_, row.libid), row.file);
        return true;
    });
}

// A retry works on the camera (and library) this page shows, with its credentials as they are.
bool ConfigPage::retryTargetShown(const reports::JobReport& failed, bool needLibrary) {
    const reports::ReportRow& row = failed.rows.first();
    const bool shown = row.camera == device_.ip &&
                       (!needLibrary || findDb(device_, row.libid).libid == row.libid);
    const bool idle = !JobControl::instance() || !JobControl::instance()->anyTaskRunning();
    if (shown && idle) return true;
    QMessageBox::information(this, tr("Information"),
                             shown ? tr("Another job is running; retry when it has ended.")
                                   : tr("Open the library page of %1 to retry.").arg(row.camera));
    return false;
}

bool ConfigPage::retryUpload(const reports::JobReport& failed) {
    if (!retryTargetShown(failed, true)) return false;
    QVector<SFeatrueInfo> images;
    for (const reports::ReportRow& row : failed.rows)
        images << CheckImageThread::imageRecord(row.file);
    startUpload(images, findDb(device_, failed.rows.first().libid), failed.source);
    return true;
}

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
    startExport(currentLibrary(), path);
}

void ConfigPage::startExport(const SDBInfo& library, const QString& path) {
    busy::begin(busy::ProgressBar);
    auto* module = new DbExportModule(device_, library.libid, this);
    module->setSavePath(path);
    connect(module, &DbExportModule::signalProgress, this,
            [](int val, int total) { busy::progress(val, total); });
    const QDateTime started = QDateTime::currentDateTime();
    connect(module, &QThread::finished, this, [this, module, library, started] {
        finishExport(module, packageReport(reports::JobKind::LibraryExport, started, device_,
                                           library, module->savePath(), module->errorCode()));
    });
    module->start();
}

void ConfigPage::finishExport(DbExportModule* module, const reports::JobReport& report) {
    module->deleteLater();  // removes the work directory
    busy::end();
    if (busy::closing()) return;
    jobsummary::PackageCounts counts;
    counts.code = module->errorCode();
    counts.total = module->expectedCount();
    counts.done = module->exportedCount();
    counts.pictures = module->pictureCount();
    counts.leftOut = module->leftOut().size();
    summarize(this, tr("Information"), jobsummary::exportText(counts), report);
}

void ConfigPage::on_btn_import_clicked() {
    if (device_.dbs.size() >= SDeviceInfo::kMaxLibraries) {
        QMessageBox::information(this, tr("Information"), tr("There can be only 2 db"));
        return;
    }
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Open face DB data file"), ".", tr("Zip (*.zip)"));
    if (path.isEmpty()) return;
    startImport(path);
}

void ConfigPage::startImport(const QString& path) {
    busy::begin(busy::ProgressBar);
    auto* module = new DbImportModule(device_, path, this);
    connect(module, &DbImportModule::signalProgress, this,
            [](int val, int total) { busy::progress(val, total); });
    const QDateTime started = QDateTime::currentDateTime();
    connect(module, &QThread::finished, this, [this, module, path, started] {
        finishImport(module, packageReport(reports::JobKind::LibraryImport, started, device_,
                                           module->library(), path, module->errorCode()));
    });
    module->start();
}

void ConfigPage::finishImport(DbImportModule* module, const reports::JobReport& report) {
    module->deleteLater();
    busy::end();
    if (busy::closing()) return;
    const int code = module->errorCode();
    jobsummary::PackageCounts counts;
    counts.code = code;
    counts.total = module->totalCount();
    counts.done = module->uploadedCount();
    counts.leftOut = module->leftOut().size();
    summarize(this, tr("Information"), jobsummary::importText(counts), report);
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
    startUpload(images, currentLibrary(), check->directory());
}

void ConfigPage::startUpload(const QVector<SFeatrueInfo>& images, const SDBInfo& library,
                             const QString& folder) {
    setTask(JobControl::UploadBatch, true);
    busy::begin(busy::ProgressCancel);
    auto* thread = new BatchUploadThread(device_, library, images, false, this);
    auto recorder = std::make_shared<reports::ReportRecorder>(reports::JobKind::FolderUpload, folder);
    thread->setRecorder(recorder);
    connect(thread, &BatchUploadThread::signalProgress, this,
            [](const QString&, int val, int total) { busy::progress(val, total); });
    connect(thread, &QThread::finished, this,
            [this, thread, recorder] { finishUpload(thread, recorder->finish()); });
    thread->start();
}

void ConfigPage::finishUpload(BatchUploadThread* thread, const reports::JobReport& report) {
    setTask(JobControl::UploadBatch, false);
    thread->deleteLater();
    busy::end();
    if (busy::closing()) return;
    if (thread->uploadedCount() > 0) loadPage();
    summarize(this, tr("Info"), jobsummary::upload(thread->imageCount(), thread->uploadedCount()),
              report);
}
