#include "batchjob.h"

#include "batchprogress.h"
#include "batchthread.h"
#include "dbutil/jobcontrol.h"
#include "fleet/fleetsettings.h"
#include "reports/reportstore.h"

namespace {

JobControl::Task taskOf(BatchJob::Kind kind) {
    switch (kind) {
        case BatchJob::Import:
            return JobControl::FaceDbImport;
        case BatchJob::Extract:
            return JobControl::ExtractFeature;
        case BatchJob::Upload:
            break;
    }
    return JobControl::UploadBatch;
}

QString countLine(const QString& label, int count) {
    return "\n" + label + ": " + QString::number(count);
}

}  // namespace

reports::JobKind BatchJob::reportKind(Kind kind) {
    switch (kind) {
        case Import:
            return reports::JobKind::BatchImport;
        case Extract:
            return reports::JobKind::BatchExtract;
        case Upload:
            break;
    }
    return reports::JobKind::BatchUpload;
}

BatchJob::BatchJob(Kind kind, QObject* parent) : QObject(parent), kind_(kind) {}

BatchJob::~BatchJob() {
    const bool wasRunning = isRunning();
    // Each thread waits for its end when deleted.
    qDeleteAll(findChildren<BatchThread*>(QString(), Qt::FindDirectChildrenOnly));
    if (wasRunning) setTaskBit(false);
}

bool BatchJob::start(const QVector<BatchThread*>& threads, int imageCount,
                     const QString& source) {
    if (threads.isEmpty() || isRunning()) return false;
    recorder_ = std::make_shared<reports::ReportRecorder>(reportKind(kind_), source);
    started_ = threads.size();
    imageCount_ = imageCount;
    counted_.store(0);
    running_.store(started_);
    limit_ = fleet::limit();
    active_ = 0;
    setTaskBit(true);
    for (BatchThread* thread : threads) {
        watch(thread);
        waiting_.enqueue(thread);
    }
    startWaiting();
    // The rows of those still waiting show at once, so that each can be cancelled before its turn.
    for (BatchThread* thread : qAsConst(waiting_))
        emit signalItemProgress(thread->key(), 0, tr("Waiting"));
    return true;
}

void BatchJob::startWaiting() {
    QVector<BatchThread*> cancelled;
    while (active_ < limit_ && !waiting_.isEmpty()) {
        BatchThread* thread = waiting_.dequeue();
        if (thread->stopRequestedBeforeStart()) {
            cancelled << thread;
            continue;
        }
        ++active_;
        thread->start(QThread::InheritPriority);
    }
    // Counted after the loop: the last one's end may hand over the summary.
    for (BatchThread* thread : cancelled) {
        thread->markNeverStarted();
        emit signalItemProgress(thread->key(), 0, tr("Cancelled"));
        countEnd(thread);
    }
}

void BatchJob::watch(BatchThread* thread) {
    thread->setParent(this);
    thread->setRecorder(recorder_);
    // Queued: the thread emits on its own thread, the job counts on the GUI thread.
    connect(thread, &BatchThread::signalItemProgress, this,
            [this](const QString& key, int val, int total, const QString& note) {
                emit signalItemProgress(key, batch::itemPercent(val, total), note);
            });
    connect(thread, &QThread::finished, this, [this, thread] { onThreadFinished(thread); });
}

void BatchJob::onThreadFinished(BatchThread* thread) {
    --active_;
    startWaiting();
    countEnd(thread);
}

void BatchJob::countEnd(BatchThread* thread) {
    if (kind_ == Upload)
        counted_ += thread->uploadedCount();
    else if (thread->errorCode() == 0)
        ++counted_;
    emit signalThreadFinished(thread->key(), thread->errorCode(), thread->uploadedCount());
    thread->deleteLater();
    if (--running_ > 0) return;
    setTaskBit(false);
    report_ = recorder_->finish();
    reports::saveInBackground(report_);
    emit signalFinished(summary());
}

void BatchJob::setTaskBit(bool on) {
    if (JobControl* jobs = JobControl::instance()) jobs->setTask(taskOf(kind_), on);
}

QString BatchJob::summary() const {
    switch (kind_) {
        case Import:
            return tr("Batch Import Finished.") + countLine(tr("Devices Number"), started_) +
                   countLine(tr("Success Number"), counted_.load());
        case Extract:
            return tr("Batch Extract Finished.") + countLine(tr("faceDB number"), started_) +
                   countLine(tr("Success Number"), counted_.load());
        case Upload:
            break;
    }
    return tr("Batch Upload Finished.") + countLine(tr("image number"), imageCount_) +
           countLine(tr("faceDB number"), started_) +
           countLine(tr("uploading number"), counted_.load());
}
