#include "batchuploaddlg.h"

#include <QFileDialog>
#include <QMessageBox>

#include "batch/batchuploadthread.h"
#include "dbutil/busy.h"
#include "dbutil/checkimagethread.h"
#include "ui_batchuploaddlg.h"

namespace {

QString lastDir = ".";

}  // namespace

BatchUploadDlg::BatchUploadDlg(QWidget* parent)
    : BatchDialog(BatchJob::Upload, parent), ui(new Ui::BatchUploadDlg) {
    ui->setupUi(this);
    setUpTable(ui->tableWidget, ui->btn_ok);
    ui->tableWidget->setHorizontalHeaderLabels(
        {tr("IP"), tr("DB") + QString::number(1), tr("DB") + QString::number(2)});
}

BatchUploadDlg::~BatchUploadDlg() {
    delete ui;
}

QString BatchUploadDlg::lastDirectory() {
    return lastDir;
}

bool BatchUploadDlg::eligible(const SDeviceInfo& device) const {
    return device.status == 0 && !device.dbs.isEmpty();
}

void BatchUploadDlg::fillRow(int row, const SDeviceInfo& device) {
    table()->setItem(row, 0, new QTableWidgetItem(device.ip));
    const int libraries = qMin(device.dbs.size(), int(SDeviceInfo::kMaxLibraries));
    for (int i = 0; i < libraries; ++i) {
        const QString name = device.dbs.at(i).name;
        auto* item = new QTableWidgetItem(name);
        if (name.isEmpty()) {
            item->setFlags(Qt::NoItemFlags);
        } else {
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        table()->setItem(row, i + 1, item);
    }
}

void BatchUploadDlg::toggleColumn(int column) {
    if (column == 1 || column == 2) setColumnChecked(column, !columnAllChecked(column));
}

void BatchUploadDlg::on_btn_ok_clicked() {
    QVector<Target> targets;
    for (int row = 0; row < devices().size(); ++row) {
        const SDeviceInfo& device = devices().at(row);
        for (int column = 1; column <= 2; ++column)
            if (isChecked(row, column)) targets << Target(device, device.dbs.at(column - 1));
    }
    if (targets.isEmpty()) {
        warnNothingSelected();
        return;
    }
    const int cameras = cameraCount(targets, [](const Target& target) { return target.first.ip; });
    if (!confirmFleet(tr("Upload into %1 cameras?").arg(cameras), cameras)) return;
    const QString dir = QFileDialog::getExistingDirectory(this, tr("Open Image Dir"), lastDir,
                                                          QFileDialog::ShowDirsOnly);
    if (dir.isEmpty()) return;
    lastDir = dir;
    hide();
    busy::begin(busy::Animation);
    auto* check = new CheckImageThread(dir, this);
    connect(check, &QThread::finished, this, [this, check, targets] {
        check->deleteLater();
        checked(check, targets);
    });
    check->start();
}

void BatchUploadDlg::checked(CheckImageThread* check, const QVector<Target>& targets) {
    busy::end();  // the check's overlay; the job shows its own
    if (busy::closing()) return;
    const QVector<SFeatrueInfo>& images = check->images();
    if (images.isEmpty()) {
        QMessageBox::information(parentWidget(), tr("Information"),
                                 tr("The directory has no valid image, please retry"));
        return;
    }
    if (!check->errorCounts().isEmpty()) {
        if (!confirmPartial(images.size())) return;
    }
    // The list may have changed while the folder was chosen and checked.
    clearLeftOut();
    QVector<BatchThread*> threads;
    for (const Target& target : targets) {
        const QString libid = target.second.libid;
        if (const auto now = current(target.first, libid))
            threads << new BatchUploadThread(*now, findDb(*now, libid), images, true);
    }
    if (!startJob(threads, images.size(), lastDir)) tellAllLeftOut();
}

bool BatchUploadDlg::retry(const reports::JobReport& failed) {
    if (!idleForRetry()) return false;
    QVector<BatchThread*> threads;
    QSet<QString> files;
    for (const RetryTarget& target : retryTargets(failed, true)) {
        QVector<SFeatrueInfo> images;
        for (const QString& file : target.files) {
            images << CheckImageThread::imageRecord(file);
            files.insert(file);
        }
        threads << new BatchUploadThread(target.device, target.library, images, true);
    }
    if (startJob(threads, files.size(), failed.source)) return true;
    tellAllLeftOut();
    return false;
}

bool BatchUploadDlg::confirmPartial(int validCount) {
    const QString text = tr("Valid images number") + ": " + QString::number(validCount) + "\n" +
                         tr("Continue to upload valid images") + "?";
    return QMessageBox::information(parentWidget(), tr("Warning"), text,
                                    QMessageBox::Ok | QMessageBox::Cancel) == QMessageBox::Ok;
}
