// The program-wide job control: running-task bits, the stop flag and the per-item cancel
// table that long jobs set and poll from their own threads. The program owns the one instance
// for its whole run; workers reach it through JobControl::instance() and do nothing when there
// is none. The stop flag and cancel table live in a StopState that workers hold on their own,
// so a stop request reaches them even when they outlive the control (which stops them all as
// it goes).
#pragma once

#include <QHash>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <memory>

class JobControl : public QObject {
    Q_OBJECT
public:
    // What a worker polls. Safe from any thread.
    class StopState {
    public:
        bool stopRequested() const { return stop_.load(); }
        // The stop flag, or the key's own entry in the cancel table.
        bool isCancelled(const QString& key) const;

    private:
        friend class JobControl;
        std::atomic<bool> stop_{false};
        mutable QMutex mutex_;
        QHash<QString, bool> cancelled_;
    };
    // The instance's stop state, or one that never stops when there is no instance.
    static std::shared_ptr<const StopState> currentStopState();

    enum Task : quint16 {
        ScanDevice = 1,
        UploadImage = 2,
        ExtractFeature = 4,
        UploadBatch = 8,
        FaceDbImport = 16,
        FaceDbExport = 32,
        // Jobs outside the overlay's progress that the exit guard must still see and stop.
        CheckImage = 64,
        UnpackPackage = 128,
        PreprocessImage = 256,
        SyncBatch = 512,
    };

    // The process-wide instance, or nullptr when none exists.
    static JobControl* instance();

    // The first instance made becomes the process-wide one until it is destroyed.
    explicit JobControl(QObject* parent = nullptr);
    ~JobControl() override;

    // Safe from any thread.
    void setTask(Task task, bool on);
    bool anyTaskRunning() const { return tasks_.load() != 0; }
    quint16 tasks() const { return tasks_.load(); }
    // Names of the set bits ("Scan Device", ...), in bit order, translated.
    static QStringList taskNames(quint16 bits);

    // Counted: every beginBusy is matched by exactly one endBusy, and the overlay lifts when the
    // last open one ends, so that no job's end lifts the overlay over another that still runs.
    // The first begin clears the stop flag and the cancel table and asks the overlay to show;
    // a begin while busy keeps the running jobs' stop flag and cancel table and only asks the
    // overlay for its mode.
    void beginBusy(int mode);
    void endBusy();
    bool busy() const { return busyCount_.load() > 0; }
    int busyCount() const { return busyCount_.load(); }

    bool stopRequested() const { return stops_->stopRequested(); }
    bool isCancelled(const QString& key) const;
    void setCancelled(const QString& key, bool value);
    // Sets the stop flag and every entry of the cancel table to value.
    void cancelAll(bool value);

    // 100 when current equals total, 0 when total is 0, else current * 100 / total.
    static int overallPercent(int current, int total);

    // Progress for the busy overlay, safe from any thread: the overlay receives it queued.
    void overallProgress(int current, int total);
    // The same bar with the text "done / total", for a job over a count of cameras.
    void overallCount(int done, int total);
    void itemProgress(const QString& key, int percent, const QString& note);

    // Set once the operator has confirmed the exit: finished handlers then show no boxes.
    bool closing() const { return closing_.load(); }
    // True once the operator confirmed the exit, for jobs that poll without a job control too.
    static bool exitRequested() { return instance() && instance()->closing(); }
    void setClosing(bool on) { closing_.store(on); }

signals:
    void signalBusy(int mode);
    void signalIdle();
    void signalOverallProgress(int percent);
    void signalOverallCount(int done, int total);
    void signalItemProgress(const QString& key, int percent, const QString& note);

private:
    std::atomic<quint16> tasks_{0};
    std::atomic<bool> closing_{false};
    std::atomic<int> busyCount_{0};
    const std::shared_ptr<StopState> stops_ = std::make_shared<StopState>();
};

// Sets a task bit for the lifetime of the scope, when a job control exists.
class TaskScope {
public:
    explicit TaskScope(JobControl::Task task);
    ~TaskScope();
    TaskScope(const TaskScope&) = delete;
    TaskScope& operator=(const TaskScope&) = delete;
    bool active() const { return control_ != nullptr; }

private:
    JobControl* control_;
    JobControl::Task task_;
};
