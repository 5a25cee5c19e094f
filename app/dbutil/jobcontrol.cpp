#include "jobcontrol.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {

std::atomic<JobControl*> g_instance{nullptr};

// The names the exit guard lists, in the main window's context.
struct TaskName {
    JobControl::Task bit;
    const char* name;
};

const TaskName kTaskNames[] = {
    {JobControl::ScanDevice, QT_TRANSLATE_NOOP("MainWindow", "Scan Device")},
    {JobControl::UploadImage, QT_TRANSLATE_NOOP("MainWindow", "Upload Image")},
    {JobControl::ExtractFeature, QT_TRANSLATE_NOOP("MainWindow", "Extract Feature")},
    {JobControl::UploadBatch, QT_TRANSLATE_NOOP("MainWindow", "Upload Batch")},
    {JobControl::FaceDbImport, QT_TRANSLATE_NOOP("MainWindow", "Face DB Import")},
    {JobControl::FaceDbExport, QT_TRANSLATE_NOOP("MainWindow", "Face DB Export")},
    {JobControl::CheckImage, QT_TRANSLATE_NOOP("MainWindow", "Check Image")},
    {JobControl::UnpackPackage, QT_TRANSLATE_NOOP("MainWindow", "Unpack Package")},
    {JobControl::PreprocessImage, QT_TRANSLATE_NOOP("MainWindow", "Preprocess Image")},
    {JobControl::SyncBatch, QT_TRANSLATE_NOOP("MainWindow", "Sync Batch")},
};

}  // namespace

JobControl* JobControl::instance() {
    return g_instance.load();
}

JobControl::JobControl(QObject* parent) : QObject(parent) {
    JobControl* none = nullptr;
    g_instance.compare_exchange_strong(none, this);
}

// Workers that outlive the control must not go on as if nobody had asked them to stop.
JobControl::~JobControl() {
    JobControl* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
    stops_->stop_.store(true);
}

std::shared_ptr<const JobControl::StopState> JobControl::currentStopState() {
    if (JobControl* control = instance()) return control->stops_;
    static const auto never = std::make_shared<const StopState>();
    return never;
}

bool JobControl::StopState::isCancelled(const QString& key) const {
    if (stop_.load()) return true;
    QMutexLocker lock(&mutex_);
    return cancelled_.value(key, false);
}

void JobControl::setTask(Task task, bool on) {
    if (on)
        tasks_.fetch_or(quint16(task));
    else
        tasks_.fetch_and(quint16(~quint16(task)));
}

QStringList JobControl::taskNames(quint16 bits) {
    QStringList names;
    for (const TaskName& entry : kTaskNames) {
        if (bits & entry.bit) names.append(QCoreApplication::translate("MainWindow", entry.name));
    }
    return names;
}

void JobControl::beginBusy(int mode) {
    if (busyCount_.fetch_add(1) == 0) {
        stops_->stop_.store(false);
        QMutexLocker lock(&stops_->mutex_);
        stops_->cancelled_.clear();
    }
    emit signalBusy(mode);
}

void JobControl::endBusy() {
    int count = busyCount_.load();
    do {
        if (count == 0) {
            // An end without its begin must not lift the overlay of a job that runs.
            qWarning("JobControl::endBusy without a matching beginBusy");
            return;
        }
    } while (!busyCount_.compare_exchange_weak(count, count - 1));
    if (count == 1) emit signalIdle();
}

// A cancel-all reaches items that never had an entry too: the exit guard must be able to stop
// every job, not only those whose rows were touched.
bool JobControl::isCancelled(const QString& key) const {
    return stops_->isCancelled(key);
}

void JobControl::setCancelled(const QString& key, bool value) {
    QMutexLocker lock(&stops_->mutex_);
    stops_->cancelled_.insert(key, value);
}

void JobControl::cancelAll(bool value) {
    stops_->stop_.store(value);
    QMutexLocker lock(&stops_->mutex_);
    for (auto it = stops_->cancelled_.begin(); it != stops_->cancelled_.end(); ++it)
        it.value() = value;
}

int JobControl::overallPercent(int current, int total) {
    if (total == 0) return 0;
    if (current == total) return 100;
    return int(qint64(current) * 100 / total);
}

void JobControl::overallProgress(int current, int total) {
    emit signalOverallProgress(overallPercent(current, total));
}

void JobControl::overallCount(int done, int total) {
    emit signalOverallCount(done, total);
}

void JobControl::itemProgress(const QString& key, int percent, const QString& note) {
    emit signalItemProgress(key, percent, note);
}

TaskScope::TaskScope(JobControl::Task task) : control_(JobControl::instance()), task_(task) {
    if (control_) control_->setTask(task_, true);
}

TaskScope::~TaskScope() {
    if (control_) control_->setTask(task_, false);
}
