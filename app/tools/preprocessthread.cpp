#include "preprocessthread.h"

#include <QFileInfo>

#include "dbutil/jobcontrol.h"

PreprocessThread::PreprocessThread(VizorWorker* worker, const QString& inputDir,
                                   const QString& outputDir, QObject* parent)
    : QThread(parent), worker_(worker), inputDir_(inputDir), outputDir_(outputDir) {}

PreprocessThread::~PreprocessThread() {
    requestStop();
    wait();
}

// The main window's exit guard stops every job through the job control once the operator has
// confirmed the exit; another job's overlay Cancel must not end this run.
bool PreprocessThread::stopRequested() const {
    if (stop_.load()) return true;
    const JobControl* control = JobControl::instance();
    return control && control->closing() && control->stopRequested();
}

void PreprocessThread::launch() {
    if (JobControl* control = JobControl::instance())
        control->setTask(JobControl::PreprocessImage, true);
    start();
}

void PreprocessThread::run() {
    counts_ = preprocessDirectory(
        *worker_, inputDir_, outputDir_,
        [this](int processed, int total) { emit signalProgress(processed, total); },
        [this] { return stopRequested(); });
    if (JobControl* control = JobControl::instance())
        control->setTask(JobControl::PreprocessImage, false);
}

bool sameDirectory(const QString& input, const QString& output) {
    const QString canonicalInput = QFileInfo(input).canonicalFilePath();
    return !canonicalInput.isEmpty() && canonicalInput == QFileInfo(output).canonicalFilePath();
}
