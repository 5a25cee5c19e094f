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

void BatchThread::forwardCounted(const QString& key, int val, int total) {
    emit signalItemProgress(key, val, total, batch::countNote(val, total));
}

void BatchThread::log(int line, const char* format, ...) const {
    va_list args;
    va_start(args, format);
    AppLog::instance().writeV(logSource_, line, 6, format, args);
    va_end(args);
}
