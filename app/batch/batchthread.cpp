#include "batchthread.h"

#include <cstdarg>

#include "applog.h"
#include "batchprogress.h"
#include "dbutil/exitgrace.h"

BatchThread::BatchThread(const SDeviceInfo& device, const QString& key, const char* logSource,
                         QObject* parent)
    : QThread(parent),
      device_(device),
      key_(key),
      logSource_(logSource),
      stops_(JobControl::currentStopState()) {}

BatchThread::~BatchThread() {
    exitgrace::join(this);
}

bool BatchThread::stopRequested() const {
    return globalStop_ ? stops_->stopRequested() : stops_->isCancelled(key_);
}

void BatchThread::record() const {
    if (recorder_) recorder_->add(reportRows());
}

reports::ReportRow BatchThread::row(const SDBInfo& library) const {
    reports::ReportRow row;
    row.camera = device_.ip;
    row.library = library.name;
    row.libid = library.libid;
    return row;
}

reports::ReportRow BatchThread::outcomeRow(const SDBInfo& library) const {
    if (errorCode_ == 0) return reports::storedRow(row(library));
    if (errorCode_ == resultcode::NeverStarted) return reports::skippedRow(row(library));
    return reports::failedRow(row(library), errorCode_);
}

void BatchThread::forwardCounted(const QString& key, int val, int total) {
    emit signalItemProgress(key, val, total, batch::countNote(val, total));
}

void BatchThread::log(int line, const char* format, ...) const {
    va_list args;
    va_start(args, format);
    AppLog::instance().writeV(logSource_, line, 6, format, args);
    va_end(args);
}
