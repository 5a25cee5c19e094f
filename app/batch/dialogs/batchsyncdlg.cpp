#include "batchsyncdlg.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QtConcurrent>

#include "dbutil/inputcheck.h"
#include "dbutil/jobcontrol.h"
#include "reports/reportstore.h"
#include "sync/syncrun.h"
#include "synctargetmodel.h"
#include "ui/reports/reportbox.h"
#include "ui/reports/reportretry.h"
#include "ui_batchsyncdlg.h"

namespace {

// A camera the apply would write to.
bool hasWork(const facesync::TargetPlan& plan) {
    return plan.ok() && (!plan.changes.isEmpty() || plan.createLibrary);
}

}  // namespace

BatchSyncDlg::BatchSyncDlg(QWidget* parent)
    : QDialog(parent), ui(new Ui::BatchSyncDlg), model_(new SyncTargetModel(this)) {
    ui->setupUi(this);
    setModal(false);
    ui->btn_apply->setProperty("qstyle", "btn3");
    ui->table_targets->setModel(model_);
    ui->table_targets->verticalHeader()->setVisible(false);
    ui->table_targets->setSelectionMode(QAbstractItemView::NoSelection);
    QHeaderView* header = ui->table_targets->horizontalHeader();
    // The plan column takes the room a reason needs; fixed widths measure no rows.
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(SyncTargetModel::Plan, QHeaderView::Stretch);
    header->resizeSection(SyncTargetModel::Camera, 130);
    header->resizeSection(SyncTargetModel::Name, 140);
    header->resizeSection(SyncTargetModel::Group, 120);
    // As in the other batch dialogs: a double-click on the header ticks or clears every camera.
    connect(header, &QHeaderView::sectionDoubleClicked, this, [this](int column) {
        if (column == SyncTargetModel::Camera) model_->setAllChecked(!model_->allChecked());
    });
    connect(ui->btn_browse, &QPushButton::clicked, this, &BatchSyncDlg::browse);
    connect(ui->btn_plan, &QPushButton::clicked, this, &BatchSyncDlg::plan);
    connect(ui->btn_apply, &QPushButton::clicked, this, &BatchSyncDlg::apply);
    connect(ui->btn_cancel, &QPushButton::clicked, this, &BatchSyncDlg::cancel);
    connect(ui->combo_source_camera, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &BatchSyncDlg::fillSourceLibraries);
    connect(ui->combo_source_library, &QComboBox::currentTextChanged, this,
            [this](const QString& name) {
                if (ui->radio_camera->isChecked() && !name.isEmpty())
                    ui->edit_library->setText(name);
            });
    // The name on the targets follows the source until the operator types another.
    connect(ui->radio_camera, &QRadioButton::toggled, this, [this](bool camera) {
        ui->edit_library->setText(camera ? ui->combo_source_library->currentText() : QString());
    });
    // A change of what the plan was made for makes it stale.
    for (QLineEdit* input : {ui->edit_package, ui->edit_library})
        connect(input, &QLineEdit::textChanged, this, &BatchSyncDlg::dropStalePlan);
    for (QAbstractButton* input : {static_cast<QAbstractButton*>(ui->radio_package),
                                   static_cast<QAbstractButton*>(ui->chk_remove_missing)})
        connect(input, &QAbstractButton::toggled, this, &BatchSyncDlg::dropStalePlan);
    connect(ui->combo_source_library, &QComboBox::currentTextChanged, this,
            &BatchSyncDlg::dropStalePlan);
    connect(model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& from) {
        if (from.column() == SyncTargetModel::Camera) dropStalePlan();
    });
    reportretry::setHandler(reports::JobKind::Sync, this,
                            [this](const reports::JobReport& failed) { return retry(failed); });
    setStage(Stage::Idle);
}

BatchSyncDlg::~BatchSyncDlg() {
    if (JobControl* jobs = JobControl::instance()) jobs->setTask(JobControl::SyncBatch, false);
    if (stopLoading_) *stopLoading_ = true;
    dropRun();
    delete ui;
}

void BatchSyncDlg::setCameras(const QVector<SDeviceInfo>& targets,
                              const QVector<SDeviceInfo>& listed) {
    if (isBusy()) return;
    dropRun();
    QVector<SyncTargetModel::Target> rows;
    for (const SDeviceInfo& device : targets)
        rows << targetRow(device);
    model_->setTargets(rows);
    fillSourceCameras(listed);
    setStage(Stage::Idle);
}

SyncTargetModel::Target BatchSyncDlg::targetRow(const SDeviceInfo& device,
                                                const QSet<QString>& onlyUids) const {
    SyncTargetModel::Target row;
    row.device = device;
    row.label = labels_ ? labels_(device.ip) : DeviceLabel{};
    row.onlyUids = onlyUids;
    return row;
}

void BatchSyncDlg::fillSourceCameras(const QVector<SDeviceInfo>& listed) {
    const QString chosen = ui->combo_source_camera->currentData().toString();
    listed_.clear();
    {
        const QSignalBlocker quiet(ui->combo_source_camera);
        ui->combo_source_camera->clear();
        for (const SDeviceInfo& device : listed)
            addSourceCamera(device);
        ui->combo_source_camera->setCurrentIndex(
            qMax(0, ui->combo_source_camera->findData(chosen)));
    }
    ui->radio_camera->setEnabled(!listed_.isEmpty());
    fillSourceLibraries();
}

// Only a camera that answered and holds a library can be a source.
void BatchSyncDlg::addSourceCamera(const SDeviceInfo& device) {
    if (device.status != 0 || device.dbs.isEmpty()) return;
    listed_ << device;
    const DeviceLabel label = labels_ ? labels_(device.ip) : DeviceLabel{};
    ui->combo_source_camera->addItem(
        label.name.isEmpty() ? device.ip : device.ip + " " + label.name, device.ip);
    ui->radio_camera->setEnabled(true);
}

void BatchSyncDlg::fillSourceLibraries() {
    const int index = ui->combo_source_camera->currentIndex();
    ui->combo_source_library->clear();
    if (index >= 0 && index < listed_.size())
        ui->combo_source_library->addItems(dbNames(listed_.at(index)));
}

void BatchSyncDlg::browse() {
    const QString file = QFileDialog::getOpenFileName(this, tr("Open face DB data file"),
                                                      ui->edit_package->text(), tr("Zip (*.zip)"));
    if (file.isEmpty()) return;
    ui->edit_package->setText(file);
    ui->radio_package->setChecked(true);
    ui->edit_library->clear();  // the package's own name, once it is read
}

// ---- stages ----

void BatchSyncDlg::setStage(Stage stage) {
    stage_ = stage;
    const bool busy = isBusy();
    // The exit guard names a running sync and stops it before the program ends.
    if (JobControl* jobs = JobControl::instance()) jobs->setTask(JobControl::SyncBatch, busy);
    for (QWidget* input :
         {static_cast<QWidget*>(ui->group_source), static_cast<QWidget*>(ui->edit_library),
          static_cast<QWidget*>(ui->chk_remove_missing),
          static_cast<QWidget*>(ui->chk_extract_after)})
        input->setEnabled(!busy);
    model_->setLocked(busy);
    ui->btn_plan->setEnabled(!busy);
    ui->btn_apply->setEnabled(stage == Stage::Planned && run_ && !runRows_.isEmpty());
    ui->progress->setVisible(busy);
    if (!busy) ui->label_state->clear();
}

void BatchSyncDlg::warn(const QString& text) {
    QMessageBox::warning(this, tr("Warning"), text);
}

void BatchSyncDlg::dropRun() {
    if (!run_) return;
    run_->disconnect(this);
    run_->cancel();
    run_->deleteLater();
    run_ = nullptr;
    runRows_.clear();
}

void BatchSyncDlg::dropStalePlan() {
    if (stage_ != Stage::Planned) return;
    dropRun();
    model_->clearPlans();
    ui->label_totals->clear();
    setStage(Stage::Idle);
}

// Cancel before Apply sends nothing: the plan only read. During Apply it stops the run, whose
// report then tells what was done.
void BatchSyncDlg::cancel() {
    switch (stage_) {
        case Stage::Loading:
            *stopLoading_ = true;
            stopLoading_.reset();
            setStage(Stage::Idle);
            return;
        case Stage::Planning:
            dropRun();
            model_->clearPlans();
            ui->label_totals->clear();
            setStage(Stage::Idle);
            return;
        case Stage::Applying:
            run_->cancel();
            ui->btn_cancel->setEnabled(false);
            ui->label_state->setText(tr("Stopping..."));
            return;
        case Stage::Idle:
        case Stage::Planned:
            reject();
            return;
    }
}

// Closing the window is a Cancel; during Apply it only stops the run, whose report still comes.
void BatchSyncDlg::reject() {
    if (stage_ == Stage::Applying) return cancel();
    if (stopLoading_) *stopLoading_ = true;
    stopLoading_.reset();
    dropRun();
    setStage(Stage::Idle);
    QDialog::reject();
}

// ---- the plan ----

void BatchSyncDlg::plan() {
    if (model_->checkedRows().isEmpty()) return warn(tr("No item selected"));
    const QString name = ui->edit_library->text().trimmed();
    if (!name.isEmpty() && !isValidLibraryName(name))
        return warn(tr("The library name must be 1 to 16 characters."));
    if (ui->radio_package->isChecked() && ui->edit_package->text().isEmpty())
        return warn(tr("Choose the package to sync from."));
    if (ui->radio_camera->isChecked() && ui->combo_source_library->currentText().isEmpty())
        return warn(tr("Choose the library to sync from."));
    startPlan();
}

void BatchSyncDlg::startPlan() {
    dropRun();
    model_->clearPlans();
    ui->label_totals->clear();
    setStage(Stage::Loading);
    ui->btn_cancel->setEnabled(true);
    ui->progress->setRange(0, 0);
    ui->label_state->setText(tr("Reading the source..."));
    stopLoading_ = std::make_shared<std::atomic<bool>>(false);
    const std::shared_ptr<std::atomic<bool>> stop = stopLoading_;
    const bool fromPackage = ui->radio_package->isChecked();
    const QString path = ui->edit_package->text();
    const int cameraIndex = ui->combo_source_camera->currentIndex();
    SDeviceInfo camera =
        cameraIndex >= 0 && cameraIndex < listed_.size() ? listed_.at(cameraIndex) : SDeviceInfo();
    if (devices_ && !fromPackage) camera = devices_(camera.ip);  // its credentials as they are now
    const QString library = ui->combo_source_library->currentText();
    const QString goneText = tr("The camera is no longer in the device list.");
    auto* watcher = new QFutureWatcher<Loaded>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, stop] {
        watcher->deleteLater();
        if (stop == stopLoading_ && !*stop) sourceLoaded(watcher->result());
    });
    watcher->setFuture(QtConcurrent::run([fromPackage, path, camera, library, goneText, stop] {
        auto source = std::make_shared<facesync::Source>();
        Loaded loaded;
        bool ok = false;
        if (fromPackage)
            ok = facesync::loadPackageSource(path, source.get(), &loaded.error);
        else if (camera.ip.isEmpty())
            loaded.error = goneText;
        else
            ok = facesync::loadCameraSource(camera, library, source.get(), &loaded.error,
                                            [stop] {
                                                return stop->load() ||
                                                       JobControl::exitRequested();
                                            });
        if (ok) loaded.source = source;
        return loaded;
    }));
}

void BatchSyncDlg::sourceLoaded(const Loaded& loaded) {
    stopLoading_.reset();
    if (JobControl::exitRequested()) return setStage(Stage::Idle);
    if (!loaded.source) {
        setStage(Stage::Idle);
        warn(tr("The source cannot be read") + ": " + loaded.error);
        emit signalPlanDone();
        return;
    }
    if (ui->edit_library->text().trimmed().isEmpty())
        ui->edit_library->setText(loaded.source->library.name);
    facesync::Options options;
    options.libraryName = ui->edit_library->text().trimmed();
    options.removeMissing = ui->chk_remove_missing->isChecked();
    options.extractAfter = ui->chk_extract_after->isChecked();
    QVector<facesync::Target> targets;
    runRows_.clear();
    for (int row : model_->checkedRows()) {
        const SyncTargetModel::Target& target = model_->targets().at(row);
        SDeviceInfo now = devices_ ? devices_(target.device.ip) : target.device;
        if (now.ip.isEmpty()) {
            model_->setPlan(row, tr("removed from the device list"), true);
            continue;
        }
        targets << facesync::Target{now, target.onlyUids};
        runRows_ << row;
    }
    if (targets.isEmpty()) {
        setStage(Stage::Idle);
        emit signalPlanDone();
        return;
    }
    run_ = new facesync::SyncRun(loaded.source, options, targets, this);
    connect(run_, &facesync::SyncRun::signalPlanned, this, &BatchSyncDlg::showPlanned);
    connect(run_, &facesync::SyncRun::signalPlanDone, this, &BatchSyncDlg::planDone);
    connect(run_, &facesync::SyncRun::signalProgress, this, &BatchSyncDlg::showProgress);
    connect(run_, &facesync::SyncRun::signalApplied, this, &BatchSyncDlg::applied);
    setStage(Stage::Planning);
    showProgress(0, targets.size());
    run_->plan();
}

void BatchSyncDlg::showPlanned(int index) {
    if (!run_ || index < 0 || index >= runRows_.size() || index >= run_->plans().size()) return;
    const facesync::TargetPlan& plan = run_->plans().at(index);
    QString text = plan.ok() ? plan.summary() : plan.reason;
    if (plan.ok() && plan.createLibrary) text += " " + tr("(new library)");
    if (plan.ok() && plan.withoutUid > 0)
        text += " " + tr("(without uid, left alone: %1)").arg(plan.withoutUid);
    model_->setPlan(runRows_.at(index), text, !plan.ok());
    int answered = 0;
    for (int row : runRows_)
        answered += model_->targets().at(row).plan.isEmpty() ? 0 : 1;
    showProgress(answered, runRows_.size());
    showTotals();
}

void BatchSyncDlg::showTotals() {
    QVector<facesync::TargetPlan> syncable;
    int refused = 0;
    for (int index = 0; index < run_->plans().size(); ++index) {
        if (model_->targets().at(runRows_.at(index)).plan.isEmpty()) continue;  // not answered
        const facesync::TargetPlan& plan = run_->plans().at(index);
        if (plan.ok())
            syncable << plan;
        else
            refused += 1;
    }
    QString text =
        tr("Total %1 (cameras: %2)").arg(facesync::totalSummary(syncable)).arg(syncable.size());
    if (refused > 0) text += "; " + tr("cannot be synced: %1").arg(refused);
    ui->label_totals->setText(text);
}

void BatchSyncDlg::planDone() {
    if (!run_) return;
    for (int index = 0; index < run_->plans().size(); ++index)
        showPlanned(index);
    setStage(Stage::Planned);
    bool anything = false;
    for (const facesync::TargetPlan& plan : run_->plans())
        anything = anything || hasWork(plan);
    ui->btn_apply->setEnabled(anything);
    ui->label_state->setText(anything ? tr("Planned: nothing has been sent yet")
                                      : tr("Every camera holds the source already"));
    emit signalPlanDone();
}

// ---- applying ----

void BatchSyncDlg::apply() {
    if (stage_ != Stage::Planned || !run_) return;
    int cameras = 0;
    for (const facesync::TargetPlan& plan : run_->plans())
        cameras += hasWork(plan) ? 1 : 0;
    if (cameras > 1 &&
        QMessageBox::question(this, tr("Information"), tr("Sync %1 cameras?").arg(cameras),
                              QMessageBox::Ok | QMessageBox::Cancel,
                              QMessageBox::Cancel) != QMessageBox::Ok)
        return;
    setStage(Stage::Applying);
    ui->btn_cancel->setEnabled(true);
    showProgress(0, 0);
    run_->apply();
}

void BatchSyncDlg::showProgress(int done, int total) {
    ui->progress->setRange(0, qMax(1, total));
    ui->progress->setValue(qBound(0, done, qMax(1, total)));
    const QString what = stage_ == Stage::Applying ? tr("Applying") : tr("Planning");
    ui->label_state->setText(QString("%1 %2 / %3").arg(what).arg(done).arg(total));
}

void BatchSyncDlg::applied(const reports::JobReport& report) {
    dropRun();
    setStage(Stage::Idle);
    ui->btn_cancel->setEnabled(true);
    reports::saveInBackground(report);
    const QString text = tr("Sync finished.") + "\n" +
                         tr("Stored: %1, Failed: %2, Skipped: %3")
                             .arg(report.count(reports::Outcome::Stored))
                             .arg(report.count(reports::Outcome::Failed))
                             .arg(report.count(reports::Outcome::Skipped));
    // The program is going: no box left behind.
    if (!JobControl::exitRequested())
        reportbox::information(parentWidget(), tr("Information"), text, report);
    emit signalApplied(report);
}

// ---- retry ----

bool BatchSyncDlg::retry(const reports::JobReport& failed) {
    if (isBusy()) {
        QMessageBox::information(parentWidget(), tr("Information"),
                                 tr("The job is still running; retry when it has ended."));
        return false;
    }
    QVector<SDeviceInfo> listed;  // the report's cameras as the device list holds them now
    for (const reports::ReportRow& row : failed.rows) {
        const SDeviceInfo now = devices_ ? devices_(row.camera) : SDeviceInfo();
        if (!now.ip.isEmpty() && !listed.contains(now)) listed << now;
    }
    QVector<SyncTargetModel::Target> targets;
    for (const facesync::Target& target : facesync::retryTargets(failed, listed))
        targets << targetRow(target.device, target.onlyUids);
    if (targets.isEmpty()) {
        QMessageBox::information(parentWidget(), tr("Information"),
                                 tr("None of these cameras is in the device list any more."));
        return false;
    }
    if (!chooseSource(failed.source)) return false;
    dropRun();
    model_->setTargets(targets);
    ui->edit_library->setText(failed.rows.value(0).library);
    show();
    raise();
    startPlan();
    return true;
}

bool BatchSyncDlg::chooseSource(const QString& source) {
    if (QFileInfo(source).isFile()) {
        ui->edit_package->setText(source);
        ui->radio_package->setChecked(true);
        return true;
    }
    const QString ip = source.section(':', 0, 0);
    const QString library = source.section(':', 1);
    if (ui->combo_source_camera->findData(ip) < 0 && devices_) addSourceCamera(devices_(ip));
    const int camera = ui->combo_source_camera->findData(ip);
    if (camera >= 0) {
        ui->combo_source_camera->setCurrentIndex(camera);
        const int index = ui->combo_source_library->findText(library);
        if (index >= 0) {
            ui->combo_source_library->setCurrentIndex(index);
            ui->radio_camera->setChecked(true);
            return true;
        }
    }
    QMessageBox::information(parentWidget(), tr("Information"),
                             tr("The source %1 is no longer there.").arg(source));
    return false;
}
