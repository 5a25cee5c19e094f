// The LAN search on a thread of its own, with progress and the job control's stop flag.
#pragma once

#include <QStringList>
#include <QThread>
#include <atomic>
#include <memory>

#include "jobcontrol.h"

class ScanIpcThread : public QThread {
    Q_OBJECT
public:
    // Takes the job control's stop state (held, as the search may outlive the control).
    explicit ScanIpcThread(QObject* parent = nullptr);
    // Stops the search and waits for it: a running thread is never destroyed.
    ~ScanIpcThread() override;
    // The search ends at its next progress report. Safe from any thread.
    void stop() { stop_.store(true); }
    // Addresses found by the last run; read after the thread has finished.
    const QStringList& result() const { return result_; }

signals:
    void signalProgress(int current, int total);

protected:
    void run() override;

private:
    QStringList result_;
    std::atomic<bool> stop_{false};
    const std::shared_ptr<const JobControl::StopState> stops_;
    const bool controlled_;  // a job control existed when the thread was made
};
