// Cameras side by side. The batch upload: 50 simulated cameras answering every request after
// 100 ms, 20 pictures each, through BatchJob and BatchUploadThread as the upload dialog starts
// them: once in camlink's one-lock mode with one camera at a time, then side by side. The
// refresh: 100 cameras that never answer and one live camera last, through the real device
// page. Each scenario runs in a child process of its own, because camlink reads its session
// mode once per process; the simulated cameras run inside that child (their journals count the
// requests), so the peak memory printed includes them.
// usage: fleet_bench                        all scenarios, with a summary
//        fleet_bench upload <cameras at once> | refresh <cameras at once>   one scenario
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>
#include <sys/resource.h>

#include "app_cameras.h"
#include "batch/batchjob.h"
#include "batch/batchuploadthread.h"
#include "dbutil/deviceinfofactory.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "fleet/fleetsettings.h"
#include "bench_pictures.h"
#include "scale/scale_measures.h"
#include "stall_watch.h"
#include "support/silent_cameras.h"
#include "ui/device/deviceinfotablemodel.h"
#include "ui/device/indexpage.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"

namespace {

constexpr int kCameras = 50;
constexpr int kPictures = 20;
constexpr int kLatencyMs = 100;
// A stored picture is three camera calls (add it, write its record, read it back), but side by
// side a camera takes several pictures at once: the floor is one round trip per picture.
constexpr int kRoundTripsPerPicture = 1;
constexpr int kSilentCameras = 100;

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

camsim::HttpFault latency() {
    camsim::HttpFault slow;
    slow.kind = camsim::FaultKind::Latency;
    slow.value = kLatencyMs;
    return slow;
}

// One line of key=value pairs for the parent to read.
int upload() {
    testsupport::CameraSet cameras;
    QVector<camsim::Camera*> simulated;
    QVector<BatchThread*> threads;
    QVector<QPair<SDeviceInfo, SDBInfo>> targets;
    QTemporaryDir dir;
    const QVector<SFeatrueInfo> pictures = benchpictures::write(dir.path(), kPictures, 10);
    for (int c = 0; c < kCameras; ++c) {
        camsim::Camera* camera = testsupport::mustStart(cameras);
        const SDeviceInfo device = testsupport::deviceOf(*camera);
        SDBInfo db;
        db.name = "batch";
        if (!Interaction::instance().addFaceDB(device, &db)) qFatal("no library");
        camera->addFault(latency());
        camera->journal().clear();
        simulated << camera;
        targets.append({device, db});
        threads.append(new BatchUploadThread(device, db, pictures, true));
    }
    // The job logs in as a batch right after the start of the program would.
    Interaction::instance().logoutAll();
    const long before = measures::statusKiB("VmRSS:");
    const double cpuBefore = cpuSeconds();
    BatchJob job(BatchJob::Upload);
    QObject::connect(&job, &BatchJob::signalFinished, qApp, &QCoreApplication::quit);
    QElapsedTimer clock;
    clock.start();
    job.start(threads, kPictures);
    qApp->exec();
    const double seconds = clock.elapsed() / 1000.0;
    const double cpu = cpuSeconds() - cpuBefore;

    size_t requests = 0;
    for (camsim::Camera* camera : simulated)
        requests += camera->journal().entries().size();
    for (camsim::Camera* camera : simulated)
        camera->clearFaults();
    int stored = 0;
    for (auto& target : targets)
        if (Interaction::instance().getFaceDB(target.first, &target.second))
            stored += target.second.imgnum;
    std::printf("wall=%.2f cpu=%.2f requests=%zu stored=%d rss_before=%ld peak=%ld\n", seconds,
                cpu, requests, stored, before, measures::statusKiB("VmHWM:"));
    Interaction::instance().logoutAll();
    return stored == kCameras * kPictures ? 0 : 1;
}

int refresh() {
    testsupport::SilentCameras silent;
    std::string error;
    if (!silent.start(kSilentCameras, &error)) qFatal("silent cameras: %s", error.c_str());
    testsupport::CameraSet cameras;
    const SDeviceInfo live = testsupport::deviceOf(*testsupport::mustStart(cameras));
    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());
    {
        DeviceInfoFactory store(DeviceInfoFactory::kDefaultFileName);
        for (const std::string& address : silent.addresses())
            store.add(SDeviceInfo(QString::fromStdString(address), "admin", "admin123"));
        store.add(live);
        store.save();
    }
    initKitResources();
    JobControl jobs;
    QWidget contents;
    auto* layout = new QVBoxLayout(&contents);
    auto* page = new IndexPage(&contents);
    layout->addWidget(page);
    new InteractionWaitingWidget(&contents);
    contents.resize(1100, 700);

    const QAbstractItemModel* model = page->findChild<QTableView*>("deviceTable")->model();
    const int liveRow = model->rowCount() - 1;
    qint64 liveMs = -1, wholeMs = -1;
    QElapsedTimer clock;
    QObject::connect(model, &QAbstractItemModel::dataChanged, qApp, [&] {
        const QModelIndex status = model->index(liveRow, DeviceInfoTableModel::ColumnStatus);
        if (liveMs < 0 && status.data(Qt::UserRole).toInt() == 0) liveMs = clock.elapsed();
    });
    QObject::connect(&jobs, &JobControl::signalIdle, qApp, [&] {
        wholeMs = clock.elapsed();
        qApp->quit();
    });
    StallWatch stalls(100);
    stalls.setPhase("refresh");
    stalls.start();
    clock.start();
    contents.show();  // the start-up refresh
    qApp->exec();
    stalls.stop();
    std::printf("live=%lld whole=%lld stall=%lld busy=%lld accepted=%d\n", liveMs, wholeMs,
                stalls.longestGapMs(), stalls.longestBusyMs(), silent.accepted());
    return liveMs >= 0 ? 0 : 1;
}

// The child's one line as numbers.
QHash<QString, double> runChild(const QString& scenario, int limit, bool sideBySide) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("CAMLINK_SESSIONS");
    if (sideBySide) env.insert("CAMLINK_SESSIONS", "parallel");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {scenario, QString::number(limit)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) qFatal("%s failed", qPrintable(scenario));
    QHash<QString, double> values;
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    for (const QString& pair : out.split(QRegExp("\\s+"), Qt::SkipEmptyParts))
        if (pair.contains('=')) values.insert(pair.section('=', 0, 0), pair.section('=', 1).toDouble());
    return values;
}

// Camera latencies paid per stored picture: the wall time in round trips over the pictures
// each camera slot had to store. One camera at a time that is every stored picture; with every
// camera at once it is the pictures of one camera; a bound below the fleet works it in waves.
double latenciesPerPicture(const QHash<QString, double>& run, int limit) {
    const int waves = (kCameras + limit - 1) / limit;
    const double perSlot = qMax(1.0, run["stored"]) / kCameras * waves;
    return run["wall"] * 1000.0 / kLatencyMs / perSlot;
}

void printUpload(const char* label, const QHash<QString, double>& run, int limit) {
    const double stored = qMax(1.0, run["stored"]);
    std::printf(
        "%-34s %6.1f s wall, %5.1f s CPU, %.2f requests per stored picture, %.2f camera "
        "latencies paid per stored picture, peak %.0f KiB (%.0f KiB before the job)\n",
        label, run["wall"], run["cpu"], run["requests"] / stored, latenciesPerPicture(run, limit),
        run["peak"], run["rss_before"]);
}

int driver() {
    std::printf("batch upload: %d cameras x %d pictures, every request answered after %d ms\n",
                kCameras, kPictures, kLatencyMs);
    const auto serial = runChild("upload", 1, false);
    printUpload("one lock, one camera at a time:", serial, 1);
    const auto bounded = runChild("upload", fleet::kDefaultLimit, true);
    printUpload("side by side, 16 at once:", bounded, fleet::kDefaultLimit);
    const auto all = runChild("upload", kCameras, true);
    printUpload("side by side, 50 at once:", all, kCameras);
    std::printf(
        "speed-up side by side: %.1fx (16 at once), %.1fx (50 at once); floor with every "
        "camera at once %.1f s (%d pictures x %d round trip)\n",
        serial["wall"] / bounded["wall"], serial["wall"] / all["wall"],
        kPictures * kRoundTripsPerPicture * kLatencyMs / 1000.0, kPictures, kRoundTripsPerPicture);
    const double floorSeconds = kPictures * kRoundTripsPerPicture * kLatencyMs / 1000.0;
    auto verdict = [](bool met) { return met ? "met" : "NOT met"; };
    std::printf("targets with every camera at once: >= 30x faster %s, wall <= 2x the floor %s, "
                "<= 1.2 latencies per stored picture %s\n",
                verdict(serial["wall"] >= 30 * all["wall"]), verdict(all["wall"] <= 2 * floorSeconds),
                verdict(latenciesPerPicture(all, kCameras) <= 1.2));

    std::printf("refresh: %d silent cameras and 1 live camera last, through the device page\n",
                kSilentCameras);
    for (int limit : {fleet::kDefaultLimit, kSilentCameras + 1}) {
        const auto run = runChild("refresh", limit, true);
        std::printf("%3d at once: live row Normal after %.0f ms, whole refresh %.0f ms, longest "
                    "GUI-thread gap %.0f ms (of it %.0f ms busy)\n",
                    limit, run["live"], run["whole"], run["stall"], run["busy"]);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return driver();
    fleet::setLimit(QString(argv[2]).toInt());
    const QString scenario = argv[1];
    if (scenario == "upload") return upload();
    if (scenario == "refresh") return refresh();
    return 2;
}
