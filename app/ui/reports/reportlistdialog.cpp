#include "reportlistdialog.h"

#include <QFutureWatcher>
#include <QHeaderView>
#include <QtConcurrent>

#include "reportdialog.h"
#include "ui_reportlistdialog.h"

ReportListDialog::ReportListDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::ReportListDialog) {
    ui->setupUi(this);
    ui->tableWidget->setColumnCount(5);
    ui->tableWidget->setHorizontalHeaderLabels(
        {tr("Job"), tr("Finished"), tr("Stored"), tr("Failed"), tr("Skipped")});
    QHeaderView* header = ui->tableWidget->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Stretch);
    // At most twenty rows: measuring them costs nothing, and the time is read whole.
    header->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    header->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    ui->tableWidget->verticalHeader()->setVisible(false);
}

ReportListDialog::~ReportListDialog() {
    delete ui;
}

void ReportListDialog::reload() {
    ui->label_state->setText(tr("Reading the reports..."));
    ui->btn_open->setEnabled(false);
    const int load = ++loads_;
    auto* watcher = new QFutureWatcher<QVector<reports::StoredReport>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, load] {
        watcher->deleteLater();
        if (load == loads_) fill(watcher->result());
    });
    const QString directory = reports::storeDirectory();
    watcher->setFuture(QtConcurrent::run([directory] { return reports::loadAll(directory); }));
}

void ReportListDialog::fill(const QVector<reports::StoredReport>& stored) {
    stored_ = stored;
    ui->tableWidget->setRowCount(stored.size());
    for (int row = 0; row < stored.size(); ++row) {
        const reports::JobReport& report = stored.at(row).report;
        const QStringList cells = {reports::kindText(report.kind),
                                   report.ended.toString("yyyy-MM-dd HH:mm:ss"),
                                   QString::number(report.count(reports::Outcome::Stored)),
                                   QString::number(report.count(reports::Outcome::Failed)),
                                   QString::number(report.count(reports::Outcome::Skipped))};
        for (int column = 0; column < cells.size(); ++column)
            ui->tableWidget->setItem(row, column, new QTableWidgetItem(cells.at(column)));
    }
    if (!stored.isEmpty()) ui->tableWidget->selectRow(0);
    ui->label_state->setText(stored.isEmpty() ? tr("No job reports yet")
                                              : tr("The last %1 jobs").arg(stored.size()));
    ui->btn_open->setEnabled(!stored.isEmpty());
    emit signalLoaded();
}

void ReportListDialog::openRow(int row) {
    if (row >= 0 && row < stored_.size()) ReportDialog::open(this, stored_.at(row).report);
}

void ReportListDialog::on_btn_open_clicked() {
    openRow(ui->tableWidget->currentRow());
}

void ReportListDialog::on_tableWidget_cellDoubleClicked(int row, int) {
    openRow(row);
}

void ReportListDialog::on_btn_close_clicked() {
    close();
}
