#include "batchimportdlg.h"

#include <QFileDialog>
#include <QFutureWatcher>
#include <QMessageBox>
#include <QtConcurrent>

#include "batch/batchimportthread.h"
#include "batch/batchpackage.h"
#include "dbutil/busy.h"
#include "ui_batchimportdlg.h"

BatchImportDlg::BatchImportDlg(QWidget* parent)
    : BatchDialog(BatchJob::Import, parent), ui(new Ui::BatchImportDlg) {
    ui->setupUi(this);
    setUpTable(ui->tableWidget, ui->btn_ok);
    ui->tableWidget->setHorizontalHeaderLabels({tr("IP"), tr("DB1"), tr("DB2")});
}

BatchImportDlg::~BatchImportDlg() {
    delete ui;
}

bool BatchImportDlg::eligible(const SDeviceInfo& device) const {
    return device.status == 0 && device.dbs.size() < SDeviceInfo::kMaxLibraries;
}

void BatchImportDlg::fillRow(int row, const SDeviceInfo& device) {
    auto* ip = new QTableWidgetItem(device.ip);
    ip->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
    ip->setCheckState(Qt::Checked);
    table()->setItem(row, 0, ip);
    for (int i = 0; i < device.dbs.size(); ++i)
        table()->setItem(row, i + 1, new QTableWidgetItem(device.dbs.at(i).name));
}

void BatchImportDlg::toggleColumn(int column) {
    if (column == 0) setColumnChecked(0, !columnAllChecked(0));
}

void BatchImportDlg::on_btn_ok_clicked() {
    QVector<SDeviceInfo> targets;
    for (int row = 0; row < devices().size(); ++row)
        if (isChecked(row, 0)) targets << devices().at(row);
    if (targets.isEmpty()) {
        warnNothingSelected();
        return;
    }
    if (!confirmFleet(tr("Import into %1 cameras?").arg(targets.size()), targets.size())) return;
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Open face DB data file"), ".", tr("Zip (*.zip)"));
    if (file.isEmpty()) return;
    hide();
    clearLeftOut();
    unpackAndStart(file, targets);
}

bool BatchImportDlg::retry(const reports::JobReport& failed) {
    if (!idleForRetry()) return false;
    QVector<SDeviceInfo> targets;
    for (const RetryTarget& target : retryTargets(failed, false))
        targets << target.device;
    if (targets.isEmpty()) {
        tellAllLeftOut();
        return false;
    }
    unpackAndStart(failed.source, targets);
    return true;
}

void BatchImportDlg::unpackAndStart(const QString& file, const QVector<SDeviceInfo>& targets) {
    busy::begin(busy::Animation);
    // The package is unpacked once, on the pool, before the per-camera threads start.
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, file, targets] {
        watcher->deleteLater();
        unpacked(watcher->result(), file, targets);
    });
    watcher->setFuture(QtConcurrent::run(unpackBatchPackage, file));
}

void BatchImportDlg::unpacked(int result, const QString& file,
                              const QVector<SDeviceInfo>& targets) {
    busy::end();  // the unpack's overlay; the job shows its own
    if (busy::closing()) return;
    if (result != 0) {
        QMessageBox::warning(parentWidget(), tr("Warning"), batchPackageFailureText(result));
        return;
    }
    // The list may have changed while the package was chosen and unpacked.
    QVector<BatchThread*> threads;
    for (const SDeviceInfo& device : targets)
        if (const auto now = current(device)) threads << new BatchImportThread(*now);
    if (!startJob(threads, 0, file)) tellAllLeftOut();
}

void BatchImportDlg::afterSummary() {
    emit signalRefreshAll();
}
