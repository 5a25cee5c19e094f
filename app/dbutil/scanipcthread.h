// The LAN search on a thread of its own, with progress and the job control's stop flag.
#pragma once

#include <QStringList>
#include <QThread>
#include <atomic>

class ScanIpcThread : public QThread {
    Q_OBJECT
public:
    explicit ScanIpcThread(QObject* parent = nullptr) : QThread(parent) {}
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
};
