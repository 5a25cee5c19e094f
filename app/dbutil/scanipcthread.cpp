#include "scanipcthread.h"

#include "exitgrace.h"
#include "interaction.h"
#include "jobcontrol.h"

ScanIpcThread::ScanIpcThread(QObject* parent)
    : QThread(parent),
      stops_(JobControl::currentStopState()),
      controlled_(JobControl::instance() != nullptr) {}

ScanIpcThread::~ScanIpcThread() {
    stop();
    exitgrace::join(this);
}

void ScanIpcThread::run() {
    if (!controlled_) return;
    TaskScope task(JobControl::ScanDevice);
    result_.clear();
    Interaction::instance().scan(&result_, [this](int current, int total) {
        emit signalProgress(current, total);
        return stop_.load() || stops_->stopRequested();
    });
}
