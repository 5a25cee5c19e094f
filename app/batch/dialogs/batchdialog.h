// What the three batch dialogs share: the camera table (three columns, no editing, stretched),
// the cameras listed in row order, the header double-click, and one BatchJob whose rows go to
// the busy overlay and whose end shows the summary.
#pragma once

#include <QDialog>
#include <QSet>
#include <QStringList>
#include <QVector>
#include <functional>
#include <optional>

#include "batch/batchjob.h"
#include "dbutil/records.h"
#include "reports/jobreport.h"

class BatchThread;
class QPushButton;
class QTableWidget;

class BatchDialog : public QDialog {
    Q_OBJECT
public:
    // The cameras this dialog can work on, taken from the given list.
    void setDevices(const QVector<SDeviceInfo>& devices);
    // Where a starting job reads each camera again: the list may have changed while the dialog
    // was open (credentials edited, camera deleted, libraries changed). An empty ip means gone.
    using DeviceSource = std::function<SDeviceInfo(const QString& ip)>;
    void setDeviceSource(DeviceSource source) { source_ = std::move(source); }
    // How a camera is named in the table (its address and label); the address without.
    using CameraText = std::function<QString(const QString& ip)>;
    void setCameraText(CameraText text) { cameraText_ = std::move(text); }
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
    // Starts the job again for the failed rows of one of its reports; false when nothing
    // started (the operator has been told why).
    virtual bool retry(const reports::JobReport& failed) = 0;

    // What a retry works on: each camera (and library, when byLibrary) of the failed rows, as
    // the device list holds it now, with the files of its rows. Those gone are noted as left out.
    struct RetryTarget {
        SDeviceInfo device;
        SDBInfo library;
        QStringList files;
    };
    QVector<RetryTarget> retryTargets(const reports::JobReport& failed, bool byLibrary);
    // False, telling the operator, while a job of this dialog runs.
    bool idleForRetry();

    // The camera as the device list holds it now, or nothing (and a line for the summary) when
    // it was deleted, is no longer eligible or lost the library libid (when given).
    std::optional<SDeviceInfo> current(const SDeviceInfo& chosen, const QString& libid = {});
    // Forgets the lines of cameras left out; called when a new start begins.
    void clearLeftOut() { leftOut_.clear(); }
    // Tells the cameras left out when nothing is left to start; true when some were.
    bool tellAllLeftOut();

    // Starts the threads under the per-item overlay; false when there were none.
    bool startJob(const QVector<BatchThread*>& threads, int imageCount = 0,
                  const QString& source = {});
    void warnNothingSelected();
    // Before a job that writes to more than one camera: the question (naming the count, e.g.
    // "Import into 57 cameras?"), asked once. True to go on; always true for a single camera.
    bool confirmFleet(const QString& question, int cameras);
    // Cameras among the targets, each counted once.
    template <typename Targets, typename IpOf>
    static int cameraCount(const Targets& targets, IpOf ipOf) {
        QSet<QString> ips;
        for (const auto& target : targets)
            ips.insert(ipOf(target));
        return ips.size();
    }
    // A cell's check box, or false when the cell has none.
    bool isChecked(int row, int column) const;
    // Every check box of the column set to checked.
    void setColumnChecked(int column, bool checked);
    // Every row with a check box in the column has it checked.
    bool columnAllChecked(int column) const;

private:
    void onJobFinished(const QString& summary);

    QString withLeftOut(const QString& text) const;

    BatchJob* job_;
    QTableWidget* table_ = nullptr;
    QVector<SDeviceInfo> cameras_;
    DeviceSource source_;
    CameraText cameraText_;
    QStringList leftOut_;
};
