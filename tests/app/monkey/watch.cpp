#include "watch.h"

#include <QApplication>
#include <QMessageBox>
#include <QThreadPool>
#include <chrono>
#include <cstdio>

#include "batch/dialogs/batchdialog.h"
#include "dbutil/jobcontrol.h"
#include "fleet.h"
#include "mainwindow.h"
#include "ui/widgets/interactionwaitingwidget.h"

namespace monkey {
namespace {

constexpr int kBeatMs = 20;
constexpr int kSnapshotMs = 250;
constexpr int kSettleMs = 90000;

}  // namespace

Watch::Watch(MainWindow& window, JobControl& jobs, Fleet& fleet)
    : window_(window),
      jobs_(jobs),
      fleet_(fleet),
      overlay_(window.findChild<InteractionWaitingWidget*>()) {
    if (!overlay_) qFatal("no overlay");
    clock_.start();
    lastBeat_ = clock_.elapsed();
    for (BatchDialog* dialog : window.findChildren<BatchDialog*>()) {
        if (dialog->job()->kind() != BatchJob::Upload) continue;
        connect(dialog->job(), &BatchJob::signalThreadFinished, this,
                [this](const QString& key, int, int uploaded) { onUploadEnded(key, uploaded); });
    }
    connect(&heartbeat_, &QTimer::timeout, this, &Watch::beat);
    heartbeat_.start(kBeatMs);
    dog_ = std::thread([this] { watchdog(); });
}

Watch::~Watch() {
    quit_ = true;
    dog_.join();
}

void Watch::fail(const QString& what) {
    failed_ = true;
    std::printf("monkey: FAIL %s\n", qPrintable(what));
    std::fflush(stdout);
}

// A hold is reported once, when it ends, with its length.
void Watch::watchdog() {
    qint64 reported = -1;
    while (!quit_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const qint64 beat = lastBeat_.load();
        const qint64 held = clock_.elapsed() - beat;
        if (held > kHoldLimitMs + kBeatMs && reported != beat) {
            reported = beat;
            fail(QString("GUI thread held for more than %1 ms (at %2 ms)")
                     .arg(kHoldLimitMs)
                     .arg(beat));
        }
    }
}

bool Watch::cameraWork() const {
    return jobs_.tasks() != 0 || QThreadPool::globalInstance()->activeThreadCount() > 0;
}

void Watch::beat() {
    const qint64 now = clock_.elapsed();
    lastBeat_ = now;
    const quint16 tasks = jobs_.tasks();
    for (quint16 bit = 1; bit != 0; bit <<= 1)
        if ((tasks & bit) && !(lastTasks_ & bit)) ++jobsStarted_;
    if ((tasks & JobControl::UploadBatch) && !(lastTasks_ & JobControl::UploadBatch))
        fleet_.breakUploads();
    if (!(tasks & JobControl::UploadBatch) && (lastTasks_ & JobControl::UploadBatch))
        fleet_.mendUploads();
    lastTasks_ = tasks;
    if (cameraWork() || QApplication::activeModalWidget()) {
        lastWork_ = now;
    } else if (lastSnapshot_ < 0 || now - lastSnapshot_ >= kSnapshotMs) {
        before_ = fleet_.pictureCounts();
        lastSnapshot_ = now;
    }
    checkOverlay();
}

// A box waiting for an answer keeps the overlay rightly: it counts as work.
void Watch::checkOverlay() {
    static qint64 told = -1;
    if (!overlay_->isVisible()) return;
    if (clock_.elapsed() - lastWork_ <= kOverlayLimitMs || told == lastWork_) return;
    told = lastWork_;
    fail(QString("overlay still up %1 ms after the last work ended").arg(kOverlayLimitMs));
}

// Nothing else writes pictures while a batch upload runs: the overlay covers the window.
void Watch::onUploadEnded(const QString& key, int uploaded) {
    ++uploadsChecked_;
    const int gained = fleet_.pictureCounts().value(key) - before_.value(key);
    if (gained != uploaded)
        fail(QString("%1 gained %2 pictures, the program reported %3 stored")
                 .arg(key)
                 .arg(gained)
                 .arg(uploaded));
}

// Boxes are answered from a timer: one a finished job opens runs its own loop, inside which a
// loop of ours would not get its turn.
bool Watch::settle() {
    QTimer answer;
    connect(&answer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->done(QMessageBox::Cancel);
        else if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    answer.start(kBeatMs);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < kSettleMs) {
        const bool quiet = !cameraWork() && !QApplication::activeModalWidget();
        if (quiet && !overlay_->isVisible()) break;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    if (cameraWork())
        fail(QString("work still running when the run settled (tasks %1, pool threads %2)")
                 .arg(jobs_.tasks())
                 .arg(QThreadPool::globalInstance()->activeThreadCount()));
    if (overlay_->isVisible()) fail("overlay still up after the run settled");
    return !failed_;
}

}  // namespace monkey
