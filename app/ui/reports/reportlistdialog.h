// The kept job reports, newest first: the job, when it ended and its counts. "Open" (or a
// double-click) shows one in a report dialog. The files are read on the pool, not while the
// window waits.
#pragma once

#include <QDialog>
#include <QVector>

#include "reports/reportstore.h"

namespace Ui {
class ReportListDialog;
}

class ReportListDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportListDialog(QWidget* parent = nullptr);
    ~ReportListDialog() override;

    // Reads the store again and fills the list when done.
    void reload();
    int reportCount() const { return stored_.size(); }

signals:
    // The list is filled.
    void signalLoaded();

private slots:
    void on_btn_open_clicked();
    void on_btn_close_clicked();
    void on_tableWidget_cellDoubleClicked(int row, int column);

private:
    void fill(const QVector<reports::StoredReport>& stored);
    void openRow(int row);

    Ui::ReportListDialog* ui;
    QVector<reports::StoredReport> stored_;
    int loads_ = 0;  // the newest reload wins
};
