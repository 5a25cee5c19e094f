// One kind of batch job on the GUI thread: runs its threads, at most fleet::limit() at once and
// the rest in order as others end, counts each thread's end, and when the last one has ended
// clears the running-task bit and hands over the summary. A waiting thread whose cancel entry
// (or the stop flag) is set by its turn never starts. The owning dialog keeps one job per kind;
// its counters are reset at every start.
#pragma once

#include <QObject>
#include <QQueue>
#include <QString>
#include <QVector>
#include <atomic>
#include <memory>

#include "reports/jobreport.h"

class BatchThread;

class BatchJob : public QObject {
    Q_OBJECT
public:
    enum Kind { Import, Extract, Upload };

    explicit BatchJob(Kind kind, QObject* parent = nullptr);
    // Waits for threads still running.
    ~BatchJob() override;

    Kind kind() const { return kind_; }
    static reports::JobKind reportKind(Kind kind);
    // Takes the threads (the job becomes their parent), sets the task bit of the kind and starts
    // as many as the bound allows. imageCount is the number of pictures of an upload, shown in its summary. False, with
    // the threads left to the caller, when there are none or the job is still running.
    // source is the package or folder the job reads, kept in its report.
    bool start(const QVector<BatchThread*>& threads, int imageCount = 0,
               const QString& source = {});

    bool isRunning() const { return running_.load() > 0; }
    // Threads not ended yet, whether started or waiting.
    int running() const { return running_.load(); }
    // Threads started and not ended; never above the bound taken at the start.
    int active() const { return active_; }
    int waiting() const { return waiting_.size(); }
    int started() const { return started_; }
    // Threads ended with errorCode 0 (import, extract) or pictures uploaded in all (upload).
    int counted() const { return counted_.load(); }
    // The text of the closing box.
    QString summary() const;
    // The rows of the last job, complete once it has finished; it is also kept in the store.
    const reports::JobReport& report() const { return report_; }

signals:
    // A progress row of the per-item table, on the GUI thread.
    void signalItemProgress(const QString& key, int percent, const QString& note);
    // One thread has ended; it is deleted afterwards.
    void signalThreadFinished(const QString& key, int errorCode, int uploadedCount);
    // The last thread has ended and the task bit is cleared.
    void signalFinished(const QString& summary);

private:
    void watch(BatchThread* thread);
    void startWaiting();
    void onThreadFinished(BatchThread* thread);
    void countEnd(BatchThread* thread);
    void setTaskBit(bool on);

    const Kind kind_;
    std::atomic<int> running_{0};
    std::atomic<int> counted_{0};
    int started_ = 0;
    int imageCount_ = 0;
    int limit_ = 1;
    int active_ = 0;
    QQueue<BatchThread*> waiting_;
    std::shared_ptr<reports::ReportRecorder> recorder_;
    reports::JobReport report_;
};
