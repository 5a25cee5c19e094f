// The preprocessing run on a thread of its own, so the window that started it stays responsive:
// progress arrives queued, a stop ends the run after the current file, and the run holds its
// job-control bit so that the main window's exit guard knows it is going on.
#pragma once

#include <QString>
#include <QThread>

#include <atomic>

#include "facepreprocess.h"

class VizorWorker;

class PreprocessThread : public QThread {
    Q_OBJECT
public:
    // worker is used only by this thread while it runs; the caller keeps it alive until then.
    PreprocessThread(VizorWorker* worker, const QString& inputDir, const QString& outputDir,
                     QObject* parent = nullptr);
    ~PreprocessThread() override;

    // Starts the run with its job-control bit already set. The run also ends once the operator
    // has confirmed the program's exit.
    void launch();

    // Safe from any thread; the run ends after the file being processed.
    void requestStop() { stop_.store(true); }

    // Valid once the thread has finished.
    PreprocessCounts counts() const { return counts_; }

signals:
    // After each file.
    void signalProgress(int processed, int total);

protected:
    void run() override;

private:
    VizorWorker* worker_;
    const QString inputDir_;
    const QString outputDir_;
    std::atomic<bool> stop_{false};
    PreprocessCounts counts_;
};

// Whether output would be the same folder as input once links and dots are resolved; both
// folders must exist.
bool sameDirectory(const QString& input, const QString& output);
