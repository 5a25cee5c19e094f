// The LAN search on a thread of its own, with progress and the job control's stop flag.
#pragma once

#include <QStringList>
#include <QThread>

class ScanIpcThread : public QThread {
    Q_OBJECT
public:
    explicit ScanIpcThread(QObject* parent = nullptr) : QThread(parent) {}
    // Addresses found by the last run; read after the thread has finished.
    const QStringList& result() const { return result_; }

signals:
    void signalProgress(int current, int total);

protected:
    void run() override;

private:
    QStringList result_;
};
