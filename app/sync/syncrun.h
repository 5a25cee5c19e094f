// How to drive a sync (from a dialog or from the command line; signals arrive on the thread
// that owns the SyncRun, which needs a running event loop):
//
//   auto source = std::make_shared<facesync::Source>();
//   facesync::loadPackageSource(path, source.get(), &error);       // or loadCameraSource()
//   facesync::Options options;  options.libraryName = "staff";  options.removeMissing = ...;
//   QVector<facesync::Target> targets;  targets << facesync::Target{device, {}};
//   auto* run = new facesync::SyncRun(source, options, targets, parent);
//   connect(run, &SyncRun::signalPlanned, ...);   // plans()[index] is ready: show its summary()
//   connect(run, &SyncRun::signalPlanDone, ...);  // every plan ready: offer Apply or Cancel
//   run->plan();
//   ...  run->apply();                            // signalProgress(done, total) per record
//   connect(run, &SyncRun::signalApplied, ...);   // the job report, one row per record
//
// The loaders block (a camera source downloads every picture): a window runs them off its
// thread. Options::digestDir is relative to the working directory (the program's state folder)
// unless absolute. signalProgress's total is plannedChanges().
// Nothing is sent to a camera before apply(); a run that is only planned and dropped changed
// nothing. Retry failed: a new SyncRun over retryTargets(report, devices) (the cameras with
// failed rows, each narrowed to the uids that failed, or whole when the camera failed as a
// whole). The new run plans again, so a record already held is never sent twice.
#pragma once

#include <QObject>
#include <QVector>
#include <atomic>
#include <functional>
#include <memory>

#include "plan.h"
#include "reports/jobreport.h"
#include "source.h"

class FleetQueue;

namespace facesync {

struct TargetState;
class ProgressRelay;

// The targets of a retry of report's failures; devices gives each camera's credentials.
QVector<Target> retryTargets(const reports::JobReport& report, const QVector<SDeviceInfo>& devices);

class SyncRun : public QObject {
    Q_OBJECT
public:
    SyncRun(std::shared_ptr<const Source> source, Options options, QVector<Target> targets,
            QObject* parent = nullptr);
    ~SyncRun() override;

    // Reads every target (side by side within the fleet bound): signalPlanned(index) per
    // camera, then signalPlanDone().
    void plan();
    // Only after signalPlanDone: signalProgress(done, total) as records end, then
    // signalApplied(report).
    void apply();
    // Cameras not started are dropped (reported as skipped); running ones stop between records.
    void cancel();
    bool cancelled() const { return cancel_->load(); }

    const QVector<TargetPlan>& plans() const { return plans_; }
    const Options& options() const { return options_; }
    const Source& source() const { return *source_; }
    // Records the apply will send or remove, over every plan that can be synced.
    int plannedChanges() const;

signals:
    void signalPlanned(int index);
    void signalPlanDone();
    void signalProgress(int done, int total);
    void signalApplied(const reports::JobReport& report);

private:
    enum class Phase { Idle, Planning, Planned, Applying, Applied };

    FleetQueue* newQueue();
    void runOnEveryTarget(const std::function<void(std::shared_ptr<TargetState>)>& work,
                          const std::function<void(int)>& answer);
    void onDropped(const QStringList& keys);
    void finishOne();
    void finishPhase();

    std::shared_ptr<const Source> source_;
    Options options_;
    QVector<Target> targets_;
    QVector<TargetPlan> plans_;
    QVector<std::shared_ptr<TargetState>> states_;
    std::shared_ptr<std::atomic_bool> cancel_;
    std::shared_ptr<std::atomic_int> done_;
    std::shared_ptr<ProgressRelay> relay_;
    std::shared_ptr<reports::ReportRecorder> recorder_;
    FleetQueue* queue_ = nullptr;
    Phase phase_ = Phase::Idle;
    int pending_ = 0;
    int total_ = 0;
};

}  // namespace facesync
