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
    const QString file =
        QFileDialog::getOpenFileName(this, tr("Open face DB data file"), ".", tr("Zip (*.zip)"));
    if (file.isEmpty()) return;
    hide();
    busy::begin(busy::Animation);
    // The package is unpacked once, on the pool, before the per-camera threads start.
    auto* watcher = new QFutureWatcher<int>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, targets] {
        watcher->deleteLater();
        unpacked(watcher->result(), targets);
    });
    watcher->setFuture(QtConcurrent::run(unpackBatchPackage, file));
}

void BatchImportDlg::unpacked(int result, const QVector<SDeviceInfo>& targets) {
    busy::end();  // the unpack's overlay; the job shows its own
    if (busy::closing()) return;
    if (result != 0) {
        QMessageBox::warning(parentWidget(), tr("Warning"), tr("zip file is invalid."));
        return;
    }
    QVector<BatchThread*> threads;
    for (const SDeviceInfo& device : targets)
        threads << new BatchImportThread(device);
    startJob(threads);
}

void BatchImportDlg::afterSummary() {
    emit signalRefreshAll();
}
