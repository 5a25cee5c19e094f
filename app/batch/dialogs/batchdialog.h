// What the three batch dialogs share: the camera table (three columns, no editing, stretched),
// the cameras listed in row order, the header double-click, and one BatchJob whose rows go to
// the busy overlay and whose end shows the summary.
#pragma once

#include <QDialog>
#include <QVector>

#include "batch/batchjob.h"
#include "dbutil/records.h"

class BatchThread;
class QPushButton;
class QTableWidget;

class BatchDialog : public QDialog {
    Q_OBJECT
public:
    // The cameras this dialog can work on, taken from the given list.
    void setDevices(const QVector<SDeviceInfo>& devices);
    const QVector<SDeviceInfo>& devices() const { return cameras_; }
    BatchJob* job() const { return job_; }

signals:
    // The last thread has ended and its summary has been shown.
    void signalJobFinished();

protected:
    BatchDialog(BatchJob::Kind kind, QWidget* parent);

    // Called by the subclass after its form is set up.
    void setUpTable(QTableWidget* table, QPushButton* startButton);
    QTableWidget* table() const { return table_; }

    virtual bool eligible(const SDeviceInfo& device) const = 0;
    // Fills one row for the camera (the row exists, empty).
    virtual void fillRow(int row, const SDeviceInfo& device) = 0;
    virtual void toggleColumn(int column) = 0;
    // After the summary box and the overlay: the import refreshes the device list.
    virtual void afterSummary();

    // Starts the threads under the per-item overlay; false when there were none.
    bool startJob(const QVector<BatchThread*>& threads, int imageCount = 0);
    void warnNothingSelected();
    // A cell's check box, or false when the cell has none.
    bool isChecked(int row, int column) const;
    // Every check box of the column set to checked.
    void setColumnChecked(int column, bool checked);
    // Every row with a check box in the column has it checked.
    bool columnAllChecked(int column) const;

private:
    void onJobFinished(const QString& summary);

    BatchJob* job_;
    QTableWidget* table_ = nullptr;
    QVector<SDeviceInfo> cameras_;
};
