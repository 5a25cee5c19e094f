#include "jobcontrol.h"

#include <QCoreApplication>
#include <QMutexLocker>

namespace {
std::atomic<JobControl*> g_instance{nullptr};
}

JobControl* JobControl::instance() { return g_instance.load(); }

JobControl::JobControl(QObject* parent) : QObject(parent) {
    JobControl* none = nullptr;
    g_instance.compare_exchange_strong(none, this);
}

JobControl::~JobControl() {
    JobControl* self = this;
    g_instance.compare_exchange_strong(self, nullptr);
}

void JobControl::setTask(Task task, bool on) {
    if (on)
        tasks_.fetch_or(task);
    else
        tasks_.fetch_and(static_cast<quint16>(~task));
}

QStringList JobControl::taskNames(quint16 bits) {
    static const char* const kNames[] = {"Scan Device",  "Upload Image",   "Extract Feature",
                                         "Upload Batch", "Face DB Import", "Face DB Export"};
    QStringList names;
    for (int i = 0; i < 6; ++i) {
        if (bits & (1u << i)) names.append(QCoreApplication::translate("QObject", kNames[i]));
    }
    return names;
}

void JobControl::beginBusy(int mode) {
    stop_ = false;
    {
        QMutexLocker lock(&cancelMutex_);
        cancelled_.clear();
    }
    emit signalBusy(mode);
}

void JobControl::endBusy() { emit signalIdle(); }

bool JobControl::isCancelled(const QString& key) const {
    QMutexLocker lock(&cancelMutex_);
    return cancelled_.value(key, false);
}

void JobControl::setCancelled(const QString& key, bool value) {
    QMutexLocker lock(&cancelMutex_);
    cancelled_.insert(key, value);
}

void JobControl::cancelAll(bool value) {
    stop_ = value;
    QMutexLocker lock(&cancelMutex_);
    for (auto it = cancelled_.begin(); it != cancelled_.end(); ++it) it.value() = value;
}

int JobControl::overallPercent(int current, int total) {
    if (total == 0) return 0;
    if (current == total) return 100;
    return current * 100 / total;
}

TaskScope::TaskScope(JobControl::Task task) : control_(JobControl::instance()), task_(task) {
    if (control_) control_->setTask(task_, true);
}

TaskScope::~TaskScope() {
    if (control_) control_->setTask(task_, false);
}
