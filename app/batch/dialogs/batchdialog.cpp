#include "batchdialog.h"

#include <QHash>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>

#include "dbutil/busy.h"
#include "dbutil/jobcontrol.h"
#include "ui/reports/reportbox.h"
#include "ui/reports/reportretry.h"

BatchDialog::BatchDialog(BatchJob::Kind kind, QWidget* parent)
    : QDialog(parent), job_(new BatchJob(kind, this)) {
    setModal(false);
    connect(job_, &BatchJob::signalFinished, this, &BatchDialog::onJobFinished);
    connect(job_, &BatchJob::signalItemProgress, this,
            [](const QString& key, int percent, const QString& note) {
                if (JobControl* jobs = JobControl::instance())
                    jobs->itemProgress(key, percent, note);
            });
    reportretry::setHandler(BatchJob::reportKind(kind), this,
                            [this](const reports::JobReport& failed) { return retry(failed); });
}

void BatchDialog::setUpTable(QTableWidget* table, QPushButton* startButton) {
    table_ = table;
    startButton->setProperty("qstyle", "btn3");
    table->setColumnCount(3);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table->verticalHeader()->setVisible(false);
    connect(table->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int column) { toggleColumn(column); });
}

void BatchDialog::setDevices(const QVector<SDeviceInfo>& devices) {
    cameras_.clear();
    for (const SDeviceInfo& device : devices)
        if (eligible(device)) cameras_ << device;
    table_->clearContents();
    table_->setRowCount(qMax(1, cameras_.size()));
    for (int row = 0; row < cameras_.size(); ++row) {
        fillRow(row, cameras_.at(row));
        QTableWidgetItem* camera = table_->item(row, 0);
        if (!camera || !cameraText_) continue;
        camera->setText(cameraText_(cameras_.at(row).ip));
        camera->setToolTip(camera->text());
    }
}

bool BatchDialog::startJob(const QVector<BatchThread*>& threads, int imageCount,
                           const QString& source) {
    busy::begin(busy::ItemTable);
    if (job_->start(threads, imageCount, source)) return true;
    qDeleteAll(threads);
    busy::end();
    return false;
}

std::optional<SDeviceInfo> BatchDialog::current(const SDeviceInfo& chosen, const QString& libid) {
    if (!source_) return chosen;
    const SDeviceInfo now = source_(chosen.ip);
    QString reason;
    if (now.ip.isEmpty())
        reason = tr("removed from the device list");
    else if (!eligible(now))
        reason = tr("changed in the device list");
    else if (!libid.isEmpty() && findDb(now, libid).libid != libid)
        reason = tr("library changed in the device list");
    if (reason.isEmpty()) return now;
    leftOut_ << chosen.ip + ": " + reason + ", " + tr("left out");
    return std::nullopt;
}

bool BatchDialog::tellAllLeftOut() {
    if (leftOut_.isEmpty()) return false;
    QMessageBox::information(parentWidget(), tr("Information"), leftOut_.join('\n'));
    return true;
}

QString BatchDialog::withLeftOut(const QString& text) const {
    return leftOut_.isEmpty() ? text : text + "\n" + leftOut_.join('\n');
}

void BatchDialog::warnNothingSelected() {
    QMessageBox::warning(this, tr("Warning"), tr("No item selected"));
}

bool BatchDialog::confirmFleet(const QString& question, int cameras) {
    if (cameras <= 1) return true;
    return QMessageBox::question(this, tr("Information"), question,
                                 QMessageBox::Ok | QMessageBox::Cancel,
                                 QMessageBox::Cancel) == QMessageBox::Ok;
}

bool BatchDialog::isChecked(int row, int column) const {
    const QTableWidgetItem* item = table_->item(row, column);
    return item && (item->flags() & Qt::ItemIsUserCheckable) && item->checkState() == Qt::Checked;
}

void BatchDialog::setColumnChecked(int column, bool checked) {
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem* item = table_->item(row, column);
        if (item && (item->flags() & Qt::ItemIsUserCheckable))
            item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool BatchDialog::columnAllChecked(int column) const {
    for (int row = 0; row < table_->rowCount(); ++row) {
        const QTableWidgetItem* item = table_->item(row, column);
        if (item && (item->flags() & Qt::ItemIsUserCheckable) && item->checkState() != Qt::Checked)
            return false;
    }
    return true;
}

void BatchDialog::onJobFinished(const QString& summary) {
    if (busy::closing()) return busy::end();
    reportbox::information(parentWidget(), tr("Information"), withLeftOut(summary), job_->report());
    busy::end();
    afterSummary();
    emit signalJobFinished();
}

void BatchDialog::afterSummary() {}

bool BatchDialog::idleForRetry() {
    if (!job_->isRunning()) return true;
    QMessageBox::information(parentWidget(), tr("Information"),
                             tr("The job is still running; retry when it has ended."));
    return false;
}

QVector<BatchDialog::RetryTarget> BatchDialog::retryTargets(const reports::JobReport& failed,
                                                            bool byLibrary) {
    clearLeftOut();
    QVector<RetryTarget> targets;
    QHash<QString, int> indexOf;  // "ip/libid" -> target
    for (const reports::ReportRow& row : failed.rows) {
        const QString key = byLibrary ? row.camera + "/" + row.libid : row.camera;
        if (!indexOf.contains(key)) {
            SDeviceInfo chosen;
            chosen.ip = row.camera;
            const auto now = current(chosen, byLibrary ? row.libid : QString());
            if (!now) {
                indexOf.insert(key, -1);
                continue;
            }
            indexOf.insert(key, targets.size());
            targets << RetryTarget{*now, byLibrary ? findDb(*now, row.libid) : SDBInfo(), {}};
        }
        const int index = indexOf.value(key);
        if (index >= 0 && !row.file.isEmpty()) targets[index].files << row.file;
    }
    return targets;
}
