#include "preprocessthread.h"

#include <QFileInfo>

#include "dbutil/exitgrace.h"
#include "dbutil/jobcontrol.h"

PreprocessThread::PreprocessThread(VizorWorker* worker, const QString& inputDir,
                                   const QString& outputDir, QObject* parent)
    : QThread(parent), worker_(worker), inputDir_(inputDir), outputDir_(outputDir) {}

PreprocessThread::~PreprocessThread() {
    requestStop();
    exitgrace::join(this);
}

// The loop holds the bit while it runs and clears it when it ends; set here already, the exit
// guard sees the run from the moment it is started, before the thread is scheduled.
void PreprocessThread::launch() {
    if (JobControl* control = JobControl::instance())
        control->setTask(JobControl::PreprocessImage, true);
    start();
}

void PreprocessThread::run() {
    counts_ = preprocessDirectory(
        *worker_, inputDir_, outputDir_,
        [this](int processed, int total) { emit signalProgress(processed, total); },
        [this] { return stop_.load(); });
}

bool sameDirectory(const QString& input, const QString& output) {
    const QString canonicalInput = QFileInfo(input).canonicalFilePath();
    return !canonicalInput.isEmpty() && canonicalInput == QFileInfo(output).canonicalFilePath();
}
