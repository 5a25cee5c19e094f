#include "syncrun.h"

#include "fleet/fleetqueue.h"

namespace facesync {

struct TargetState {};

SyncRun::SyncRun(std::shared_ptr<const Source> source, Options options, QVector<Target> targets,
                 QObject* parent)
    : QObject(parent),
      source_(std::move(source)),
      options_(std::move(options)),
      targets_(std::move(targets)),
      cancel_(std::make_shared<std::atomic_bool>(false)),
      done_(std::make_shared<std::atomic_int>(0)) {}

SyncRun::~SyncRun() = default;

void SyncRun::plan() {
    plans_.clear();
    for (const Target& target : qAsConst(targets_)) {
        TargetPlan plan;
        plan.camera = target.device.ip;
        plans_ << plan;
    }
    for (int i = 0; i < plans_.size(); ++i) emit signalPlanned(i);
    planned_ = true;
    emit signalPlanDone();
}

void SyncRun::apply() {
    reports::ReportRecorder recorder(reports::JobKind::Sync, source_->label);
    emit signalApplied(recorder.finish());
}

void SyncRun::cancel() {
    cancel_->store(true);
}

int SyncRun::plannedChanges() const {
    int count = 0;
    for (const TargetPlan& plan : plans_)
        if (plan.ok()) count += plan.changes.size();
    return count;
}

void SyncRun::onPlanned(int) {}
void SyncRun::onApplied(int) {}

}  // namespace facesync
