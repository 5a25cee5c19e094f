#include "syncrun.h"

#include <QSet>
#include <algorithm>

#include "dbutil/jobcontrol.h"
#include "dbutil/resultcode.h"
#include "fleet/fleetqueue.h"
#include "targetstate.h"

namespace facesync {

// Carries "a record ended" from the pool to the owner's thread; it lives as long as any work
// that may still call it, so a run deleted while cameras answer is never reached.
class ProgressRelay : public QObject {
    Q_OBJECT
signals:
    void signalRecordDone();
};

namespace {

// The operator's Cancel, or the program closing: a camera stops between records either way.
StopCheck stopCheckOf(const std::shared_ptr<std::atomic_bool>& cancel) {
    return [cancel] { return cancel->load() || JobControl::exitRequested(); };
}

std::shared_ptr<ProgressRelay> makeRelay() {
    return std::shared_ptr<ProgressRelay>(new ProgressRelay,
                                          [](ProgressRelay* relay) { relay->deleteLater(); });
}

}  // namespace

QVector<Target> retryTargets(const reports::JobReport& report,
                             const QVector<SDeviceInfo>& devices) {
    QVector<Target> targets;
    QSet<QString> whole;  // cameras with a row that is not a record's: retried whole
    for (const reports::ReportRow& row : report.rows) {
        if (row.outcome != reports::Outcome::Failed) continue;
        auto target = std::find_if(targets.begin(), targets.end(),
                                   [&](const Target& t) { return t.device.ip == row.camera; });
        if (target == targets.end()) {
            const auto device =
                std::find_if(devices.begin(), devices.end(),
                             [&](const SDeviceInfo& d) { return d.ip == row.camera; });
            if (device == devices.end()) continue;
            targets << Target{*device, {}};
            target = targets.end() - 1;
        }
        if (row.file.isEmpty())
            whole.insert(row.camera);
        else
            target->onlyUids.insert(row.file);
    }
    for (Target& target : targets)
        if (whole.contains(target.device.ip)) target.onlyUids.clear();
    return targets;
}

SyncRun::SyncRun(std::shared_ptr<const Source> source, Options options, QVector<Target> targets,
                 QObject* parent)
    : QObject(parent),
      source_(std::move(source)),
      options_(std::move(options)),
      targets_(std::move(targets)),
      cancel_(std::make_shared<std::atomic_bool>(false)),
      done_(std::make_shared<std::atomic_int>(0)),
      relay_(makeRelay()) {
    for (const Target& target : qAsConst(targets_)) {
        auto state = std::make_shared<TargetState>();
        state->target = target;
        state->plan.camera = target.device.ip;
        states_ << state;
        plans_ << state->plan;
    }
    connect(
        relay_.get(), &ProgressRelay::signalRecordDone, this,
        [this] { emit signalProgress(*done_, total_); }, Qt::QueuedConnection);
}

SyncRun::~SyncRun() {
    cancel_->store(true);  // cameras still at work stop between records
}

FleetQueue* SyncRun::newQueue() {
    if (queue_) queue_->deleteLater();  // this may run inside one of its answers
    queue_ = new FleetQueue(this);
    queue_->setStopCheck(stopCheckOf(cancel_));
    connect(queue_, &FleetQueue::signalDropped, this, &SyncRun::onDropped);
    return queue_;
}

// Every target on the fleet's queue: work on the pool, then answer(i) on this thread.
void SyncRun::runOnEveryTarget(const std::function<void(std::shared_ptr<TargetState>)>& work,
                               const std::function<void(int)>& answer) {
    pending_ = states_.size();
    FleetQueue* queue = newQueue();
    for (int i = 0; i < states_.size(); ++i) {
        auto state = states_[i];
        queue->add(
            QString::number(i), [work, state] { work(state); },
            [this, i, answer] {
                plans_[i] = states_[i]->plan;
                answer(i);
                finishOne();
            });
    }
    if (pending_ == 0) finishPhase();
}

void SyncRun::plan() {
    if (phase_ != Phase::Idle) return;
    phase_ = Phase::Planning;
    runOnEveryTarget(
        [source = source_, options = options_,
         cancel = cancel_](std::shared_ptr<TargetState> state) {
            planTarget(state.get(), *source, options, stopCheckOf(cancel));
        },
        [this](int i) { emit signalPlanned(i); });
}

void SyncRun::apply() {
    if (phase_ != Phase::Planned) return;
    phase_ = Phase::Applying;
    recorder_ = std::make_shared<reports::ReportRecorder>(reports::JobKind::Sync, source_->label);
    total_ = plannedChanges();
    *done_ = 0;
    runOnEveryTarget(
        [source = source_, options = options_, cancel = cancel_, done = done_, relay = relay_,
         recorder = recorder_](std::shared_ptr<TargetState> state) {
            recorder->add(
                applyTarget(state.get(), *source, options, stopCheckOf(cancel), [done, relay] {
                    ++*done;
                    emit relay->signalRecordDone();
                }));
        },
        [](int) {});
}

void SyncRun::cancel() {
    cancel_->store(true);
    // A run that only planned has sent nothing: there is nothing to wait for.
}

int SyncRun::plannedChanges() const {
    int count = 0;
    for (const TargetPlan& plan : plans_)
        if (plan.ok()) count += plan.changes.size();
    return count;
}

void SyncRun::onDropped(const QStringList& keys) {
    for (const QString& key : keys) {
        const int i = key.toInt();
        TargetState& state = *states_[i];
        if (phase_ == Phase::Planning) {
            state.plan.code = resultcode::NeverStarted;
            state.plan.reason = reports::skippedRow({}).reason;
            plans_[i] = state.plan;
            emit signalPlanned(i);
        } else {
            reports::ReportRow row;
            row.camera = state.plan.camera;
            row.library = options_.libraryName;
            row.libid = state.plan.libid;
            row.code = resultcode::NeverStarted;
            recorder_->add({reports::skippedRow(row)});
        }
        finishOne();
    }
}

void SyncRun::finishOne() {
    if (--pending_ == 0) finishPhase();
}

void SyncRun::finishPhase() {
    if (phase_ == Phase::Planning) {
        phase_ = Phase::Planned;
        emit signalPlanDone();
    } else if (phase_ == Phase::Applying) {
        phase_ = Phase::Applied;
        emit signalProgress(*done_, total_);
        emit signalApplied(recorder_->finish());
    }
}

}  // namespace facesync

#include "syncrun.moc"
