// What the random-input run checks while it drives the window: the GUI thread's heartbeat (a
// watchdog thread measures every hold), the busy overlay against the work that justifies it,
// and every upload's reported count against the pictures the camera gained.
#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QObject>
#include <QTimer>
#include <atomic>
#include <thread>

class JobControl;
class MainWindow;
class QWidget;

namespace monkey {

class Fleet;

class Watch : public QObject {
public:
    static constexpr int kHoldLimitMs = 500;
    static constexpr int kOverlayLimitMs = 15000;

    Watch(MainWindow& window, JobControl& jobs, Fleet& fleet);
    ~Watch() override;

    // After the input stopped: answers what is still asked, waits for the work to end and
    // checks the overlay lifted. True when nothing failed in the whole run.
    bool settle();
    int jobsStarted() const { return jobsStarted_; }
    int uploadsChecked() const { return uploadsChecked_; }

private:
    void beat();
    bool cameraWork() const;
    void checkOverlay();
    void onUploadEnded(const QString& key, int uploaded);
    void fail(const QString& what);
    void watchdog();

    MainWindow& window_;
    JobControl& jobs_;
    Fleet& fleet_;
    QWidget* overlay_;
    QTimer heartbeat_;
    QElapsedTimer clock_;
    qint64 lastWork_ = 0;
    qint64 lastSnapshot_ = -1;
    quint16 lastTasks_ = 0;
    QHash<QString, int> before_;  // pictures per library when no camera work ran
    int jobsStarted_ = 0;
    int uploadsChecked_ = 0;
    std::atomic<bool> failed_{false};
    std::atomic<qint64> lastBeat_{0};
    std::atomic<bool> quit_{false};
    std::thread dog_;
};

}  // namespace monkey
