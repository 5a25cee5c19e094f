// "Sync Batch": one library kept the same on many cameras. The operator chooses the source (a
// package file or a library of a listed camera), the name of the library on the targets and the
// cameras; "Plan" asks every camera what it lacks and shows "+12 ~2 -3" per camera as each
// answers; "Apply" sends that and ends with the job's report. Nothing is sent before "Apply".
// The source is read on the pool and the cameras are asked by the sync run: the window never
// waits on either.
#pragma once

#include <QDialog>
#include <QVector>
#include <atomic>
#include <functional>
#include <memory>

#include "dbutil/devicelabels.h"
#include "dbutil/records.h"
#include "reports/jobreport.h"
#include "synctargetmodel.h"

namespace Ui {
class BatchSyncDlg;
}
namespace facesync {
struct Source;
class SyncRun;
}  // namespace facesync

class BatchSyncDlg : public QDialog {
    Q_OBJECT
public:
    explicit BatchSyncDlg(QWidget* parent = nullptr);
    ~BatchSyncDlg() override;

    // Where a plan reads each camera again (an empty ip: gone), and how a camera is labelled.
    using DeviceSource = std::function<SDeviceInfo(const QString& ip)>;
    using LabelSource = std::function<DeviceLabel(const QString& ip)>;
    void setDeviceSource(DeviceSource source) { devices_ = std::move(source); }
    void setLabelSource(LabelSource source) { labels_ = std::move(source); }
    // targets: the cameras ticked on the page; listed: every camera a source may come from.
    void setCameras(const QVector<SDeviceInfo>& targets, const QVector<SDeviceInfo>& listed);

    const SyncTargetModel* model() const { return model_; }
    bool isBusy() const {
        return stage_ == Stage::Loading || stage_ == Stage::Planning || stage_ == Stage::Applying;
    }

signals:
    // Every checked camera has its plan (or its reason), or the plan could not start.
    void signalPlanDone();
    // The apply has ended; its report box has been answered.
    void signalApplied(const reports::JobReport& report);

protected:
    void reject() override;

private:
    enum class Stage { Idle, Loading, Planning, Planned, Applying };
    struct Loaded {
        std::shared_ptr<const facesync::Source> source;
        QString error;
    };

    void setStage(Stage stage);
    SyncTargetModel::Target targetRow(const SDeviceInfo& device,
                                      const QSet<QString>& onlyUids = {}) const;
    void fillSourceCameras(const QVector<SDeviceInfo>& listed);
    void addSourceCamera(const SDeviceInfo& device);
    void fillSourceLibraries();
    // The plan no longer matches the form: it is dropped, Apply waits for a new one.
    void dropStalePlan();
    void browse();
    void plan();
    void startPlan();
    void sourceLoaded(const Loaded& loaded);
    void showPlanned(int index);
    void planDone();
    void apply();
    void showProgress(int done, int total);
    void applied(const reports::JobReport& report);
    void cancel();
    void dropRun();
    void showTotals();
    void warn(const QString& text);
    bool retry(const reports::JobReport& failed);
    // Chooses the report's source in the form; false (the operator told) when it is gone.
    bool chooseSource(const QString& source);

    Ui::BatchSyncDlg* ui;
    SyncTargetModel* model_;
    DeviceSource devices_;
    LabelSource labels_;
    QVector<SDeviceInfo> listed_;
    Stage stage_ = Stage::Idle;
    std::shared_ptr<std::atomic<bool>> stopLoading_;
    facesync::SyncRun* run_ = nullptr;
    QVector<int> runRows_;  // the model row of each of the run's targets
};
