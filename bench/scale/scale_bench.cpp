// The real program's windows at scale: 500 simulated cameras in the device list (400 stored,
// 100 more found by the LAN search), refresh all, a batch upload over 50 of them, and the
// library page paging through a library of 50,000 pictures. Prints the start-up time, the peak
// memory, the resident memory after N and after 2N pages, pictures per second and the longest
// time the GUI thread went without processing events, by phase, with a stack sample of every
// stall over 100 ms. The cameras run in a camsim process of their own; everything runs inside
// the private network namespace of scripts/netns-run (the search broadcasts).
// Options: --pages N (250), --page-size 20|50|100 (100), --sample-ms M (100: gaps sampled).
// Exit status: 0 targets met (judged on the GUI thread's own work, not the wall clock, since
// the machine may be shared), 1 a target missed, 2 the run could not be completed, 77 no
// private network namespace.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QThreadPool>
#include <cstdio>

#include "camera_fleet.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "gui_driver.h"
#include "mainwindow.h"
#include "scale_measures.h"
#include "stall_watch.h"
#include "startup.h"
#include "support/camsim_process.h"
#include "support/private_namespace.h"
#include "ui/device/indexpage.h"
#include "ui/facedb/configpage.h"
#include "ui/widgets/kitresources.h"

namespace {

constexpr int kCameras = 500;
constexpr int kStoredCameras = 400;  // the other 100 come from the LAN search
constexpr int kBatchCameras = 50;
constexpr int kBatchPictures = 20;
constexpr int kLibraryPictures = 50000;
constexpr int kStallLimitMs = 100;
constexpr int kStepTimeoutMs = 600000;
constexpr int kStatusColumn = 6;
constexpr int kOperationColumn = 8;

struct Options {
    int pageSize = 100;
    int pages = 250;  // N: memory is read after N and after 2N pages visited
    int sampleMs = kStallLimitMs;  // gaps longer than this get a stack sample
};

Options parseOptions(const QStringList& args) {
    Options options;
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == "--pages") options.pages = qBound(1, args[i + 1].toInt(), 1000);
        if (args[i] == "--page-size") options.pageSize = args[i + 1].toInt();
        if (args[i] == "--sample-ms") options.sampleMs = qBound(10, args[i + 1].toInt(), 10000);
    }
    if (options.pageSize != 20 && options.pageSize != 50) options.pageSize = 100;
    return options;
}

void say(const QString& line) {
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

[[noreturn]] void giveUp(const QString& why) {
    say("scale run stopped: " + why);
    std::exit(2);
}

double seconds(const QElapsedTimer& clock) { return clock.nsecsElapsed() / 1e9; }

JobControl& jobs() {
    if (!JobControl::instance()) giveUp("the main window made no job control");
    return *JobControl::instance();
}

void waitIdle(const QString& what) {
    if (!gui::waitUntil([] { return !jobs().busy(); }, kStepTimeoutMs))
        giveUp(what + " did not end");
}

// The run's own files: camsim's configuration, the pictures, the program's working directory.
struct Fixture {
    QTemporaryDir dir;
    QString workDir, pictureDir, configFile;
    testsupport::CamsimProcess cameras;
    double camsimStartSeconds = 0;

    void prepare() {
        if (!dir.isValid()) giveUp("no temporary directory");
        workDir = dir.filePath("program");
        pictureDir = dir.filePath("upload");
        configFile = dir.filePath("cameras.json");
        QDir().mkpath(workDir);
        QDir().mkpath(pictureDir);
        fleet::Plan plan;
        plan.cameras = kCameras;
        plan.libraryPictures = kLibraryPictures;
        plan.batchCameras = kBatchCameras;
        plan.sharedPicture = dir.filePath("face.jpg");
        if (!fleet::writePicture(plan.sharedPicture, 120, 150, 1)) giveUp("cannot write a JPEG");
        for (int i = 0; i < kBatchPictures; ++i)
            fleet::writePicture(QString("%1/p%2.jpg").arg(pictureDir).arg(i), 160, 200, i + 2);
        if (!fleet::writeCamsimConfig(configFile, plan)) giveUp("cannot write camsim's file");
        writeStore();
    }

    // The device list as the program left it last time: the first 400 cameras.
    void writeStore() {
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < kStoredCameras; ++i)
            devices << SDeviceInfo(fleet::cameraAddress(i), fleet::kUser, fleet::kPassword);
        QFile file(QDir(workDir).filePath("kestrel.data"));
        if (!file.open(QIODevice::WriteOnly)) giveUp("cannot write the device store");
        QDataStream out(&file);
        DeviceInfoFactory::writeDevices(out, devices);
    }

    void startCameras() {
        QElapsedTimer clock;
        clock.start();
        if (!cameras.start(CAMSIM_BINARY, {"--config", configFile.toStdString()}))
            giveUp("camsim did not start");
        camsimStartSeconds = seconds(clock);
    }
};

class ScaleRun {
public:
    ScaleRun(Options options, Fixture& fixture)
        : options_(options), fixture_(fixture), watch_(options.sampleMs) {}

    void startProgram(QApplication& app, double loadMs, double appSeconds);
    void firstRefresh();
    void search();
    void refreshAll();
    void batchUpload();
    void pageThroughLibrary();
    void closeProgram();
    int report();

private:
    IndexPage* indexPage() { return gui::child<IndexPage>(window_, "index_page"); }
    QTableView* deviceTable() { return gui::child<QTableView>(indexPage(), "deviceTable"); }
    int answeredRows();
    void showLibraryPage();
    void waitPictures(int loadsBefore, const QString& what);
    void nextPages(int count);

    Options options_;
    Fixture& fixture_;
    StallWatch watch_;
    gui::ModalAnswerer* answerer_ = nullptr;
    MainWindow* window_ = nullptr;
    ConfigPage* configPage_ = nullptr;
    int pictureLoads_ = 0;
    int picturesShown_ = 0;
    long residentAfterN_ = 0, residentAfter2N_ = 0;
    QStringList lines_;
};

void ScaleRun::startProgram(QApplication& app, double loadMs, double appSeconds) {
    QElapsedTimer clock;
    clock.start();
    initKitResources();
    startup::enterWorkingDirectory(fixture_.workDir);
    startup::openProgramLog();
    startup::applyStyleSheet(app);
    startup::installTranslations(QStringLiteral(FACEKEEPER_APP_DIR "/translations"),
                                 QLocale::system(), &app);
    window_ = new MainWindow;
    window_->show();
    QEventLoop firstPass;
    QTimer::singleShot(0, &firstPass, &QEventLoop::quit);
    firstPass.exec();
    // The watch measures the running program; the start is the figure above.
    watch_.start();
    const double programMs = appSeconds * 1000 + clock.nsecsElapsed() / 1e6;
    lines_ << QString("start-up: %1 ms to the main window shown with its event loop running: "
                      "%2 ms loading up to main(), %3 ms of the program's own steps (%4 stored "
                      "cameras)")
                  .arg(loadMs + programMs, 0, 'f', 0)
                  .arg(loadMs, 0, 'f', 0)
                  .arg(programMs, 0, 'f', 0)
                  .arg(kStoredCameras);
    answerer_ = new gui::ModalAnswerer(window_);
}

int ScaleRun::answeredRows() {
    QAbstractItemModel* model = deviceTable()->model();
    int answered = 0;
    for (int row = 0; row < model->rowCount(); ++row)
        answered += model->index(row, kStatusColumn).data(Qt::UserRole).toInt() == 0;
    return answered;
}

// The page refreshes every stored camera the first time it shows.
void ScaleRun::firstRefresh() {
    watch_.setPhase("first refresh (400)");
    QElapsedTimer clock;
    clock.start();
    waitIdle("the first refresh");
    lines_ << QString("first refresh of %1 stored cameras: %2 s, %3 answered")
                  .arg(kStoredCameras)
                  .arg(seconds(clock), 0, 'f', 1)
                  .arg(answeredRows());
}

void ScaleRun::search() {
    watch_.setPhase("LAN search");
    auto* dialog = gui::child<QDialog>(indexPage(), "DeviceSearchDialog");
    QElapsedTimer clock;
    clock.start();
    gui::click(gui::child<QPushButton>(indexPage(), "btn_find"));
    if (!gui::waitUntil([&] { return dialog->isVisible(); }, kStepTimeoutMs))
        giveUp("the search dialog never showed");
    const double searchSeconds = seconds(clock);
    auto* list = gui::child<QListView>(dialog, "listView");
    const int found = list->model()->rowCount();
    watch_.setPhase("add found + refresh (500)");
    list->selectAll();
    gui::child<QLineEdit>(dialog, "edit_username")->setText(fleet::kUser);
    gui::child<QLineEdit>(dialog, "edit_password")->setText(fleet::kPassword);
    clock.restart();
    gui::click(gui::child<QPushButton>(dialog, "btn_ok"));
    if (deviceTable()->model()->rowCount() != kStoredCameras + found)
        giveUp("the search dialog added nothing: " + answerer_->texts().join(" / "));
    waitIdle("the refresh after the search");
    lines_ << QString("LAN search: %1 s, %2 new cameras listed (%3 expected); adding them and "
                      "refreshing all %4: %5 s, %6 answered")
                  .arg(searchSeconds, 0, 'f', 1)
                  .arg(found)
                  .arg(kCameras - kStoredCameras)
                  .arg(deviceTable()->model()->rowCount())
                  .arg(seconds(clock), 0, 'f', 1)
                  .arg(answeredRows());
}

void ScaleRun::refreshAll() {
    watch_.setPhase("refresh all (500)");
    QElapsedTimer clock;
    clock.start();
    gui::click(gui::child<QPushButton>(indexPage(), "btn_update_all"));
    waitIdle("refresh all");
    lines_ << QString("refresh all: %1 cameras in %2 s, %3 answered")
                  .arg(deviceTable()->model()->rowCount())
                  .arg(seconds(clock), 0, 'f', 1)
                  .arg(answeredRows());
}

void ScaleRun::batchUpload() {
    watch_.setPhase("batch upload (50)");
    QAbstractItemModel* model = deviceTable()->model();
    for (int row = 1; row <= kBatchCameras; ++row)
        model->setData(model->index(row, 0), Qt::Checked, Qt::CheckStateRole);
    gui::click(gui::child<QPushButton>(indexPage(), "btn_batch_upload"));
    auto* dialog = gui::child<QDialog>(indexPage(), "BatchUploadDlg");
    auto* table = gui::child<QTableWidget>(dialog, "tableWidget");
    int targets = 0;
    for (int row = 0; row < table->rowCount(); ++row) {
        QTableWidgetItem* item = table->item(row, 1);
        if (!item || !(item->flags() & Qt::ItemIsUserCheckable)) continue;
        item->setCheckState(Qt::Checked);
        ++targets;
    }
    const int boxesBefore = answerer_->texts().size();
    answerer_->queuePath(fixture_.pictureDir);
    QElapsedTimer clock;
    clock.start();
    gui::click(gui::child<QPushButton>(dialog, "btn_ok"));
    if (!gui::waitUntil([&] { return answerer_->texts().size() > boxesBefore; }, kStepTimeoutMs))
        giveUp("the batch upload never reported");
    const double elapsed = seconds(clock);
    waitIdle("the batch upload");
    const QString summary = answerer_->texts().last().simplified();
    const int pictures = targets * kBatchPictures;
    lines_ << QString("batch upload: %1 pictures into each of %2 libraries in %3 s (%4 pictures/s); "
                      "the program's summary: \"%5\"")
                  .arg(kBatchPictures)
                  .arg(targets)
                  .arg(elapsed, 0, 'f', 1)
                  .arg(pictures / elapsed, 0, 'f', 0)
                  .arg(summary);
    for (int row = 1; row <= kBatchCameras; ++row)
        model->setData(model->index(row, 0), Qt::Unchecked, Qt::CheckStateRole);
}

void ScaleRun::waitPictures(int loadsBefore, const QString& what) {
    if (!gui::waitUntil([&] { return pictureLoads_ > loadsBefore; }, kStepTimeoutMs))
        giveUp(what + ": the pictures never arrived");
}

// Camera 0's "Config FDB" button, then the largest page size.
void ScaleRun::showLibraryPage() {
    configPage_ = gui::child<ConfigPage>(window_, "config_page");
    QObject::connect(configPage_, &ConfigPage::signalPicturesLoaded, [this] { ++pictureLoads_; });
    QTableView* table = deviceTable();
    table->scrollToTop();  // the search left the list at its end
    QWidget* operation = nullptr;
    gui::waitUntil([&] {
        operation = table->indexWidget(table->model()->index(0, kOperationColumn));
        return operation != nullptr;
    }, kStepTimeoutMs);
    if (!operation) giveUp("camera 0 has no operation buttons");
    int loads = pictureLoads_;
    gui::click(gui::child<QPushButton>(operation, "btn_config"));
    waitPictures(loads, "page 1");
    loads = pictureLoads_;
    gui::child<QComboBox>(configPage_, "combo_page_size")
        ->setCurrentText(QString::number(options_.pageSize));
    if (options_.pageSize != ConfigPage::kFirstPageSize) waitPictures(loads, "page size");
}

void ScaleRun::nextPages(int count) {
    auto* next = gui::child<QPushButton>(configPage_, "btn_next");
    for (int i = 0; i < count; ++i) {
        const int loads = pictureLoads_;
        gui::click(next);
        waitPictures(loads, QString("page %1").arg(configPage_->pageRequest().page_num));
        picturesShown_ += configPage_->model()->rowCount();
    }
}

// N pages visited (page 1 included), memory, N more, memory: with the defaults the whole library.
void ScaleRun::pageThroughLibrary() {
    watch_.setPhase("library page: first page");
    showLibraryPage();
    picturesShown_ = configPage_->model()->rowCount();
    const long residentAtStart = measures::trimmedResidentKiB();
    const int widgetsAtStart = QApplication::allWidgets().size();
    watch_.setPhase("library page: paging");
    QElapsedTimer clock;
    clock.start();
    nextPages(options_.pages - 1);
    residentAfterN_ = measures::trimmedResidentKiB();
    const int widgetsAfterN = QApplication::allWidgets().size();
    nextPages(options_.pages);
    residentAfter2N_ = measures::trimmedResidentKiB();
    const int widgetsAfter2N = QApplication::allWidgets().size();
    const double elapsed = seconds(clock);
    const int pageCount = (kLibraryPictures + options_.pageSize - 1) / options_.pageSize;
    lines_ << QString("paging: pages 1 to %1 of %2 (%3 a page): %4 pictures shown, %5 s for the "
                      "%6 pages after the first (%7 pictures/s, %8 ms a page)")
                  .arg(configPage_->pageRequest().page_num)
                  .arg(pageCount)
                  .arg(options_.pageSize)
                  .arg(picturesShown_)
                  .arg(elapsed, 0, 'f', 1)
                  .arg(2 * options_.pages - 1)
                  .arg((picturesShown_ - options_.pageSize) / elapsed, 0, 'f', 0)
                  .arg(elapsed * 1000 / (2 * options_.pages - 1), 0, 'f', 0);
    lines_ << QString("memory while paging (resident, freed heap returned): %1 KiB after page 1, "
                      "%2 KiB after %3 pages, %4 KiB after %5 pages; widgets alive %6, %7, %8")
                  .arg(residentAtStart)
                  .arg(residentAfterN_)
                  .arg(options_.pages)
                  .arg(residentAfter2N_)
                  .arg(2 * options_.pages)
                  .arg(widgetsAtStart)
                  .arg(widgetsAfterN)
                  .arg(widgetsAfter2N);
    watch_.setPhase("library page: Goto page 1");
    auto* jump = gui::child<QLineEdit>(configPage_, "edit_page");
    const int loads = pictureLoads_;
    clock.restart();
    jump->setText("1");
    emit jump->editingFinished();
    waitPictures(loads, "page 1 again");
    lines_ << QString("Goto page %1: %2 ms, %3 records")
                  .arg(configPage_->pageRequest().page_num)
                  .arg(clock.elapsed())
                  .arg(configPage_->model()->rowCount());
    watch_.setPhase("return to the device list");
    gui::click(gui::child<QPushButton>(configPage_, "btn_return"));
    waitIdle("the return");
}

void ScaleRun::closeProgram() {
    watch_.setPhase("close");
    window_->close();
    gui::waitUntil([this] { return !window_->isVisible(); }, kStepTimeoutMs);
    watch_.stop();
    delete window_;
    QThreadPool::globalInstance()->waitForDone();
    Interaction::instance().logoutAll();
}

int ScaleRun::report() {
    for (const QString& line : lines_)
        say(line);
    say(QString("peak memory (VmHWM): %1 KiB").arg(measures::statusKiB("VmHWM:")));
    QStringList phases;
    for (const StallWatch::Phase& phase : watch_.phases())
        phases << QString("%1 %2 ms (%3 ms of it on the CPU; busiest stretch %4 ms)")
                      .arg(phase.name)
                      .arg(phase.longestGapMs)
                      .arg(phase.busyInLongestGapMs)
                      .arg(phase.longestBusyMs);
    // A wall-clock gap also holds time a loaded machine kept the thread off every core; the
    // thread's own CPU time within a gap is the program's share and decides the status.
    const qint64 longest = watch_.longestGapMs();
    const qint64 busiest = watch_.longestBusyMs();
    const bool stallMet = busiest <= kStallLimitMs;
    say(QString("GUI thread: longest time without processing events %1 ms by the wall clock "
                "(limit %2 ms: %3); the longest of its own work between two event passes %4 ms "
                "of CPU time (limit %2 ms: %5)")
            .arg(longest)
            .arg(kStallLimitMs)
            .arg(longest <= kStallLimitMs ? "met" : "MISSED")
            .arg(busiest)
            .arg(stallMet ? "met" : "MISSED"));
    say("  by phase: " + phases.join(";\n    "));
    for (const StallWatch::Sample& sample : watch_.samples()) {
        say(QString("  stall in \"%1\", sampled %2 ms into it:").arg(sample.phase)
                .arg(sample.gapMsAtSample));
        for (const QString& frame : sample.frames.mid(0, 24))
            say("    " + frame);
    }
    // A page's pictures are dropped with the page: what the second N pages add is noise.
    const bool memoryMet = residentAfter2N_ - residentAfterN_ <= 2048;
    say(QString("memory growth from %1 to %2 pages: %3 KiB (limit 2048 KiB: %4)")
            .arg(options_.pages)
            .arg(2 * options_.pages)
            .arg(residentAfter2N_ - residentAfterN_)
            .arg(memoryMet ? "met" : "MISSED"));
    return stallMet && memoryMet ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const double loadMs = measures::processAgeMs();
    std::string why;
    if (!testsupport::inPrivateNamespace(&why)) {
        std::fprintf(stderr, "scale_bench: run it under scripts/netns-run (%s)\n", why.c_str());
        return 77;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's debug lines (one per page listed) would bury the figures.
    if (qEnvironmentVariableIsEmpty("QT_LOGGING_RULES")) qputenv("QT_LOGGING_RULES", "*.debug=false");
    say(QString("machine: %1 cores, shared with other work; load average %2 at the start")
            .arg(QThread::idealThreadCount())
            .arg(measures::loadAverage()));
    Fixture fixture;
    fixture.prepare();
    fixture.startCameras();
    say(QString("camsim: %1 cameras, a library of %2 pictures, ready in %3 s")
            .arg(kCameras)
            .arg(kLibraryPictures)
            .arg(fixture.camsimStartSeconds, 0, 'f', 1));

    QElapsedTimer appClock;
    appClock.start();
    startup::initSecurity();
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    const Options options = parseOptions(app.arguments());
    ScaleRun run(options, fixture);
    run.startProgram(app, loadMs, seconds(appClock));
    run.firstRefresh();
    run.search();
    run.refreshAll();
    run.batchUpload();
    run.pageThroughLibrary();
    run.closeProgram();
    const int status = run.report();
    say("load average at the end: " + measures::loadAverage());
    return status;
}
