#include "batchextractdlg.h"

#include <QRadioButton>

#include "batch/batchextractthread.h"
#include "ui_batchextractdlg.h"

namespace {

constexpr int kFirstLibraryColumn = 1;
constexpr int kLastLibraryColumn = 2;

}  // namespace

BatchExtractDlg::BatchExtractDlg(QWidget* parent)
    : BatchDialog(BatchJob::Extract, parent), ui(new Ui::BatchExtractDlg) {
    ui->setupUi(this);
    setUpTable(ui->tableWidget, ui->btn_ok);
    ui->tableWidget->setHorizontalHeaderLabels({tr("IP"), tr("DB1"), tr("DB2")});
}

BatchExtractDlg::~BatchExtractDlg() {
    delete ui;
}

bool BatchExtractDlg::eligible(const SDeviceInfo& device) const {
    return device.status == 0 && !device.dbs.isEmpty();
}

void BatchExtractDlg::fillRow(int row, const SDeviceInfo& device) {
    table()->setItem(row, 0, new QTableWidgetItem(device.ip));
    const int libraries = qMin(device.dbs.size(), int(SDeviceInfo::kMaxLibraries));
    for (int i = 0; i < libraries; ++i) {
        auto* button = new QRadioButton(device.dbs.at(i).name);
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setProperty("row", row);
        button->setProperty("column", i + kFirstLibraryColumn);
        connect(button, &QRadioButton::clicked, this, &BatchExtractDlg::on_btn_radio_clicked);
        table()->setCellWidget(row, i + kFirstLibraryColumn, button);
    }
}

QRadioButton* BatchExtractDlg::radio(int row, int column) const {
    return qobject_cast<QRadioButton*>(table()->cellWidget(row, column));
}

void BatchExtractDlg::on_btn_radio_clicked(bool checked) {
    auto* clicked = qobject_cast<QRadioButton*>(sender());
    if (!clicked || !checked) return;
    const int row = clicked->property("row").toInt();
    for (int column = kFirstLibraryColumn; column <= kLastLibraryColumn; ++column) {
        QRadioButton* other = radio(row, column);
        if (other && other != clicked) other->setChecked(false);
    }
}

void BatchExtractDlg::toggleColumn(int column) {
    if (column < kFirstLibraryColumn || column > kLastLibraryColumn) return;
    const int otherColumn =
        column == kFirstLibraryColumn ? kLastLibraryColumn : kFirstLibraryColumn;
    bool allChecked = true;
    for (int row = 0; row < table()->rowCount(); ++row)
        if (QRadioButton* button = radio(row, column)) allChecked &= button->isChecked();
    for (int row = 0; row < table()->rowCount(); ++row) {
        QRadioButton* button = radio(row, column);
        if (!button) continue;
        button->setChecked(!allChecked);
        if (QRadioButton* other = radio(row, otherColumn); other && !allChecked)
            other->setChecked(false);
    }
}

void BatchExtractDlg::on_btn_ok_clicked() {
    QVector<QPair<SDeviceInfo, QString>> targets;  // a camera and the libid of its choice
    for (int row = 0; row < devices().size(); ++row) {
        const SDeviceInfo& device = devices().at(row);
        for (int column = kFirstLibraryColumn; column <= kLastLibraryColumn; ++column) {
            QRadioButton* button = radio(row, column);
            if (button && button->isChecked())
                targets << qMakePair(device, device.dbs.at(column - 1).libid);
        }
    }
    if (targets.isEmpty()) {
        warnNothingSelected();
        return;
    }
    const int cameras = cameraCount(targets, [](const auto& target) { return target.first.ip; });
    if (!confirmFleet(tr("Extract in %1 cameras?").arg(cameras), cameras)) return;
    // The list may have changed while the dialog was open.
    clearLeftOut();
    QVector<BatchThread*> threads;
    for (const auto& target : targets)
        if (const auto now = current(target.first, target.second))
            threads << new BatchExtractThread(*now, findDb(*now, target.second));
    if (!startJob(threads) && tellAllLeftOut()) return;
    hide();
}

bool BatchExtractDlg::retry(const reports::JobReport& failed) {
    if (!idleForRetry()) return false;
    QVector<BatchThread*> threads;
    for (const RetryTarget& target : retryTargets(failed, true))
        threads << new BatchExtractThread(target.device, target.library);
    if (startJob(threads)) return true;
    tellAllLeftOut();
    return false;
}
