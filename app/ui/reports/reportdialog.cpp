#include "reportdialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QHeaderView>
#include <QMessageBox>
#include <QtConcurrent>

#include "reportmodel.h"
#include "reportretry.h"
#include "reports/reportfiles.h"
#include "ui_reportdialog.h"

namespace {

QString lastSaveDir = ".";

// The combo's entries in order: all, then one per outcome.
const reports::Outcome kFilterOutcomes[] = {reports::Outcome::Failed, reports::Outcome::Stored,
                                            reports::Outcome::Skipped};

QString timeText(const QDateTime& time) {
    return time.toString("yyyy-MM-dd HH:mm:ss");
}

// Both files, the JSON one beside the CSV one; empty on success, else why not.
QString writeBoth(const reports::JobReport& report, const QString& csvPath) {
    const QFileInfo csv(csvPath);
    const QString jsonPath = csv.dir().filePath(csv.completeBaseName() + ".json");
    QString error;
    if (!reports::writeFile(csvPath, reports::toCsv(report), &error)) return error;
    if (!reports::writeFile(jsonPath, reports::toJson(report), &error)) return error;
    return {};
}

}  // namespace

ReportDialog::ReportDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ReportDialog), model_(new ReportModel(this)) {
    ui->setupUi(this);
    ui->tableView->setModel(model_);
    // Long paths keep their file name in sight.
    ui->tableView->setTextElideMode(Qt::ElideMiddle);
    QHeaderView* header = ui->tableView->horizontalHeader();
    // Fixed widths: sizing to contents would measure every row of a large report.
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(ReportModel::File, QHeaderView::Stretch);
    header->resizeSection(ReportModel::Camera, 120);
    header->resizeSection(ReportModel::Library, 110);
    header->resizeSection(ReportModel::Outcome, 80);
    header->resizeSection(ReportModel::Reason, 170);
    ui->tableView->verticalHeader()->setDefaultSectionSize(22);
    ui->tableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const QSignalBlocker block(ui->comb_outcome);
    ui->comb_outcome->addItem(tr("All"));
    for (reports::Outcome outcome : kFilterOutcomes)
        ui->comb_outcome->addItem(reports::outcomeText(outcome), int(outcome));
}

ReportDialog::~ReportDialog() {
    delete ui;
}

ReportDialog* ReportDialog::open(QWidget* parent, const reports::JobReport& report) {
    auto* dialog = new ReportDialog(parent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setReport(report);
    dialog->show();
    return dialog;
}

void ReportDialog::setReport(const reports::JobReport& report) {
    model_->setReport(report);
    ui->label_job->setText(reports::kindText(report.kind));
    ui->label_times->setText(timeText(report.started) + " - " + timeText(report.ended));
    ui->label_source->setText(report.source);
    ui->label_source->setVisible(!report.source.isEmpty());
    const int failed = report.count(reports::Outcome::Failed);
    ui->label_counts->setText(
        tr("Stored: %1, Failed: %2, Skipped: %3")
            .arg(report.count(reports::Outcome::Stored))
            .arg(failed)
            .arg(report.count(reports::Outcome::Skipped)));
    ui->btn_retry->setEnabled(failed > 0 && reportretry::available(report.kind));
}

void ReportDialog::on_comb_outcome_currentIndexChanged(int index) {
    const QVariant outcome = ui->comb_outcome->itemData(index);
    model_->setFilter(outcome.isValid()
                          ? std::optional<reports::Outcome>(reports::Outcome(outcome.toInt()))
                          : std::nullopt);
}

void ReportDialog::on_btn_retry_clicked() {
    if (reportretry::retry(model_->report().failedOnly())) close();
}

void ReportDialog::on_btn_save_clicked() {
    const reports::JobReport& report = model_->report();
    const QString name = "report_" + reports::kindKey(report.kind) + "_" +
                         report.ended.toString("yyyyMMdd_HHmmss") + ".csv";
    const QString path = QFileDialog::getSaveFileName(
        this, tr("Save report"), QDir(lastSaveDir).filePath(name), tr("CSV (*.csv)"));
    if (path.isEmpty()) return;
    lastSaveDir = QFileInfo(path).absolutePath();
    saveTo(path);
}

void ReportDialog::saveTo(const QString& csvPath) {
    ui->btn_save->setEnabled(false);
    auto* watcher = new QFutureWatcher<QString>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher] {
        watcher->deleteLater();
        const QString error = watcher->result();
        finishSave(error.isEmpty(), error);
    });
    watcher->setFuture(QtConcurrent::run(writeBoth, model_->report(), csvPath));
}

void ReportDialog::finishSave(bool ok, const QString& error) {
    ui->btn_save->setEnabled(true);
    emit signalSaved(ok, error);
    if (!ok) QMessageBox::warning(this, tr("Warning"), tr("Report not saved") + ": " + error);
}

void ReportDialog::on_btn_close_clicked() {
    close();
}
