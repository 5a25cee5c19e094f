// What the three batch threads share: the camera, the item key of the progress table and the
// cancel table, the result fields their owner reads, the cancel polling and the log helper.
#pragma once

#include <QString>
#include <QThread>

#include <memory>

#include "dbutil/jobcontrol.h"
#include "dbutil/records.h"
#include "dbutil/resultcode.h"
#include "reports/jobreport.h"

class BatchThread : public QThread {
    Q_OBJECT
public:
    // The older name of resultcode::NeverStarted, kept for code written before it.
    static constexpr int kNeverStarted = resultcode::NeverStarted;

    ~BatchThread() override;

    const SDeviceInfo& device() const { return device_; }
    // The row of the progress table and the entry of the cancel table this thread answers to.
    const QString& key() const { return key_; }
    // Read after the thread has finished.
    int errorCode() const { return errorCode_; }
    int uploadedCount() const { return uploadedCount_; }

    // For the job, before it starts a waiting thread: the stop this thread would poll is set.
    bool stopRequestedBeforeStart() const { return stopRequested(); }
    void markNeverStarted() {
        errorCode_ = resultcode::NeverStarted;
        record();
    }
    // The job report this thread adds its rows to as it ends; none when not given.
    void setRecorder(std::shared_ptr<reports::ReportRecorder> recorder) {
        recorder_ = std::move(recorder);
    }

signals:
    // Every progress emission of the thread, with the note the table shows.
    void signalItemProgress(const QString& key, int val, int total, const QString& note);

protected:
    BatchThread(const SDeviceInfo& device, const QString& key, const char* logSource,
                QObject* parent);

    // The cancel-table entry of the key, or the global stop flag when so chosen, of the job
    // control that existed when the thread was made; false when there was none.
    bool stopRequested() const;
    void pollGlobalStop(bool global) { globalStop_ = global; }

    // The rows of what the thread did, read from its results once it has ended its work (or
    // never started it).
    virtual QVector<reports::ReportRow> reportRows() const = 0;
    // Adds reportRows() to the job's report; called by run() as its last step.
    void record() const;
    // A row naming the camera and the library.
    reports::ReportRow row(const SDBInfo& library) const;
    // That row with the thread's outcome: stored, skipped (never started) or failed.
    reports::ReportRow outcomeRow(const SDBInfo& library) const;

    // Forwards a three-argument emission with the note "val/total".
    void forwardCounted(const QString& key, int val, int total);

    // A program-log line at level 6 under the thread's source name.
    void log(int line, const char* format, ...) const __attribute__((format(printf, 3, 4)));

    SDeviceInfo device_;
    int errorCode_ = 0;
    int uploadedCount_ = 0;

private:
    const QString key_;
    const char* const logSource_;
    // Held, not looked up: the thread may outlive the job control at exit.
    const std::shared_ptr<const JobControl::StopState> stops_;
    bool globalStop_ = false;
    std::shared_ptr<reports::ReportRecorder> recorder_;
};

#define BATCH_LOG(...) log(__LINE__, __VA_ARGS__)
