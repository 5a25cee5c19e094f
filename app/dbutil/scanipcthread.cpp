#include "scanipcthread.h"

#include "interaction.h"
#include "jobcontrol.h"

ScanIpcThread::~ScanIpcThread() {
    stop();
    wait();
}

void ScanIpcThread::run() {
    JobControl* control = JobControl::instance();
    if (!control) return;
    TaskScope task(JobControl::ScanDevice);
    result_.clear();
    Interaction::instance().scan(&result_, [this, control](int current, int total) {
        emit signalProgress(current, total);
        return stop_.load() || control->stopRequested();
    });
}
