// Measures how long the GUI thread goes without processing events: a fine timer on that thread
// stamps a heartbeat, and the longest gap between two beats is kept per phase of the scenario.
// A monitor thread samples the GUI thread's stack once a gap passes the limit, so that a stall
// names the code that caused it.
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <atomic>
#include <thread>

class StallWatch : public QObject {
    Q_OBJECT
public:
    struct Phase {
        QString name;
        qint64 longestGapMs = 0;
        // CPU time the GUI thread itself used within a gap: the longest such stretch is work of
        // the program; the rest of a long gap is the machine not giving the thread a core.
        qint64 longestBusyMs = 0;
        qint64 busyInLongestGapMs = 0;
    };
    struct Sample {
        QString phase;
        qint64 gapMsAtSample = 0;
        QStringList frames;
    };

    // limitMs: gaps longer than this are sampled (at most maxSamples of them).
    explicit StallWatch(int limitMs, int maxSamples = 12, QObject* parent = nullptr);
    ~StallWatch() override;

    // Starts beating on the calling (GUI) thread and starts the monitor.
    void start();
    void stop();
    // Later gaps count towards this phase.
    void setPhase(const QString& name);

    const QVector<Phase>& phases() const { return phases_; }
    qint64 longestGapMs() const;
    qint64 longestBusyMs() const;
    const QVector<Sample>& samples() const { return samples_; }

private:
    void beat();
    void monitor();
    void collectSample();

    const int limitMs_;
    const int maxSamples_;
    QTimer timer_;
    QVector<Phase> phases_;
    QVector<Sample> samples_;
    qint64 lastBeatNs_ = 0;
    qint64 lastBeatCpuNs_ = 0;
    std::atomic<qint64> heartbeatNs_{0};
    std::atomic<bool> running_{false};
    std::atomic<int> sampledBeat_{-1};
    std::atomic<int> beatCount_{0};
    std::thread monitor_;
};
