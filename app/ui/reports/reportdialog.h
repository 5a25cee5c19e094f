// One job report: what the job was, when it ran, its counts and a table of its rows that can be
// narrowed to one outcome. "Retry failed" hands the failed rows to whoever runs that kind of job;
// "Save" writes the report as CSV and, beside it, as JSON.
#pragma once

#include <QDialog>

#include "reports/jobreport.h"

namespace Ui {
class ReportDialog;
}
class ReportModel;

class ReportDialog : public QDialog {
    Q_OBJECT
public:
    explicit ReportDialog(QWidget* parent = nullptr);
    ~ReportDialog() override;

    void setReport(const reports::JobReport& report);
    const ReportModel* model() const { return model_; }

    // A dialog of its own for the report, deleted when closed.
    static ReportDialog* open(QWidget* parent, const reports::JobReport& report);

signals:
    // Both files are written (or not: ok false and the reason).
    void signalSaved(bool ok, const QString& error);

private slots:
    void on_btn_retry_clicked();
    void on_btn_save_clicked();
    void on_btn_close_clicked();
    void on_comb_outcome_currentIndexChanged(int index);

private:
    void saveTo(const QString& csvPath);
    void finishSave(bool ok, const QString& error);

    Ui::ReportDialog* ui;
    ReportModel* model_;
};
