#include "mainwindow.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMessageBox>
#include <QPixmap>

#include "dbutil/jobcontrol.h"
#include "exitguard.h"
#include "fleetlimitdialog.h"
#include "healthintervaldialog.h"
#include "startup.h"
#include "tools/extractfacedialog.h"
#include "ui/reports/reportlistdialog.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui_mainwindow.h"

namespace {

MainWindow* g_window = nullptr;

const QPoint kMenuOffset(4, 32);

}  // namespace

MainWindow* MainWindow::instance() {
    return g_window;
}

MainWindow::MainWindow() : ui(new Ui::MainWindow) {
    if (!JobControl::instance()) ownJobs_ = new JobControl(this);
    ui->setupUi(this);
    overlay_ = new InteractionWaitingWidget(ui->contents);
    connect(ui->index_page, &IndexPage::signalConfig, this, &MainWindow::slotConfig);
    connect(ui->config_page, &ConfigPage::signalReturn, this, &MainWindow::slotReturn);
    setMinimumSize(1024, 600);
    syncMaximizeButtons();
    const QString title = tr("header_title");
    setWindowTitle(title);
    ui->label_2->setText(title);
    loadLogo();
    buildSettingsMenu();
    g_window = this;
}

MainWindow::~MainWindow() {
    if (g_window == this) g_window = nullptr;
    delete ui;
}

void MainWindow::loadLogo() {
    QPixmap logo;
    if (logo.load(startup::programFile("images/logo.png"))) ui->label->setPixmap(logo);
}

void MainWindow::buildSettingsMenu() {
    settingsMenu_ = new QMenu(this);
    connect(settingsMenu_->addAction(tr("Preprocess image")), &QAction::triggered, this,
            &MainWindow::slotPreprocessImage);
    QAction* reports = settingsMenu_->addAction(tr("Job reports"));
    reports->setObjectName(QStringLiteral("action_job_reports"));
    connect(reports, &QAction::triggered, this, &MainWindow::slotJobReports);
    settingsMenu_->addSeparator();
    const fleet::Settings settings = fleet::load();
    sideBySide_ = settingsMenu_->addAction(tr("Cameras side by side"));
    sideBySide_->setObjectName(QStringLiteral("action_side_by_side"));
    sideBySide_->setCheckable(true);
    sideBySide_->setChecked(settings.sideBySide);
    connect(sideBySide_, &QAction::toggled, this, &MainWindow::slotSideBySide);
    fleetLimit_ = settingsMenu_->addAction(QString());
    fleetLimit_->setObjectName(QStringLiteral("action_fleet_limit"));
    connect(fleetLimit_, &QAction::triggered, this, &MainWindow::slotFleetLimit);
    showFleetLimit();
    healthInterval_ = settingsMenu_->addAction(QString());
    healthInterval_->setObjectName(QStringLiteral("action_health_interval"));
    connect(healthInterval_, &QAction::triggered, this, &MainWindow::slotHealthInterval);
    applyHealthInterval(settings.healthMinutes);
}

void MainWindow::applyHealthInterval(int minutes) {
    ui->index_page->setHealthInterval(minutes * 60 * 1000);
    healthInterval_->setText(minutes == 0
                                 ? tr("Background check: off...")
                                 : tr("Check the cameras every %1 minutes...").arg(minutes));
}

void MainWindow::slotHealthInterval() {
    fleet::Settings settings = fleet::load();
    HealthIntervalDialog dialog(settings.healthMinutes, this);
    if (dialog.exec() != QDialog::Accepted) return;
    settings.healthMinutes = dialog.minutes();
    saveFleetSettings(settings);
    applyHealthInterval(settings.healthMinutes);
}

void MainWindow::slotJobReports() {
    if (!jobReports_) jobReports_ = new ReportListDialog(this);
    jobReports_->reload();
    jobReports_->show();
    jobReports_->raise();
}

void MainWindow::showFleetLimit() {
    fleetLimit_->setText(tr("At most %1 cameras at once...").arg(fleet::limit()));
}

// camlink reads its session mode once, at its first call: the running program keeps its mode.
void MainWindow::slotSideBySide(bool on) {
    fleet::Settings settings = fleet::load();
    settings.sideBySide = on;
    saveFleetSettings(settings);
    QMessageBox::information(this, tr("Information"),
                             tr("Takes effect the next time the program starts."));
}

void MainWindow::slotFleetLimit() {
    FleetLimitDialog dialog(fleet::limit(), this);
    if (dialog.exec() != QDialog::Accepted) return;
    fleet::setLimit(dialog.limit());
    fleet::Settings settings = fleet::load();
    settings.limit = fleet::limit();
    saveFleetSettings(settings);
    showFleetLimit();
}

void MainWindow::saveFleetSettings(const fleet::Settings& settings) {
    if (fleet::save(settings)) return;
    QMessageBox::warning(this, tr("Warning"), tr("The settings could not be saved."));
}

// One face-crop window per run, made on first use (it configures the face-analysis library) and
// shown modeless; later uses bring the same one back with its folders.
void MainWindow::slotPreprocessImage() {
    if (!extractFace_) extractFace_ = new ExtractFaceDialog(this);
    extractFace_->show();
    extractFace_->raise();
    extractFace_->activateWindow();
}

void MainWindow::slotConfig(QString ip) {
    ui->stackedWidget->setCurrentIndex(1);
    ui->config_page->setDevice(ui->index_page->deviceInfo(ip));
}

void MainWindow::slotReturn(QString ip, bool changed) {
    ui->stackedWidget->setCurrentIndex(0);
    if (changed) ui->index_page->slotUpdate(ip);
}

bool MainWindow::hitTopMenu(int x, int y) {
    const QPoint local = mapFromGlobal(QPoint(x, y));
    if (local.y() >= kTitleHeight) return false;
    const QPoint inCommands = ui->frame_cmds->mapFrom(this, local);
    return !ui->frame_cmds->rect().contains(inCommands);
}

void MainWindow::syncMaximizeButtons() {
    const bool maximized = isMaximized();
    ui->system__btn_max->setVisible(!maximized);
    ui->system__btn_max_normal->setVisible(maximized);
}

void MainWindow::changeEvent(QEvent* event) {
    QShellFrame::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange) syncMaximizeButtons();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QShellFrame::resizeEvent(event);
    overlay_->resize(ui->contents->size());
}

void MainWindow::on_system__setting_clicked() {
    settingsMenu_->popup(pos() + ui->frame_cmds->pos() + kMenuOffset);
}

void MainWindow::on_system__btn_min_clicked() {
    showMinimized();
}

void MainWindow::on_system__btn_max_clicked() {
    showMaximized();
}

void MainWindow::on_system__btn_max_normal_clicked() {
    showNormal();
}

void MainWindow::on_system__btn_close_clicked() {
    close();
}

// While the guard waits for the jobs, a second close request is not asked again.
void MainWindow::closeEvent(QCloseEvent* event) {
    JobControl* jobs = JobControl::instance();
    if (stopping_ || !jobs || !jobs->anyTaskRunning()) {
        event->accept();
        return;
    }
    if (!exitguard::confirm(this, jobs->tasks())) {
        event->ignore();
        return;
    }
    stopping_ = true;
    // Threads still running keep the process until they end; the operator sees it closed.
    hide();
    exitguard::stopAndWait(*jobs, exitguard::kWaitMs);
    event->accept();
}
