// The background check of a large list: 400 simulated cameras (two camsim processes) and 100
// that never answer, on the real device page. After the start-up refresh, one round of the
// check over all 500 runs side by side within the fleet bound while a heartbeat on the GUI
// thread measures its longest gap. Prints the gap, the time the GUI thread itself was busy in
// it, and the round's wall time.
// usage: health_bench [cameras at once]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <cstdio>

#include "dbutil/deviceinfofactory.h"
#include "dbutil/jobcontrol.h"
#include "fleet/fleetsettings.h"
#include "stall_watch.h"
#include "support/camsim_process.h"
#include "support/silent_cameras.h"
#include "ui/device/indexpage.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/kitresources.h"

namespace {

constexpr int kSilentCameras = 100;
constexpr int kCamerasPerProcess = 200;  // camsim serves at most 250
constexpr int kProcesses = 2;
// Away from the blocks the test fixtures take (127.20 to 127.219).
const char* const kFirstAddresses[kProcesses] = {"127.230.0.2", "127.231.0.2"};
constexpr int kFirstRoundAfterMs = 200;

QString liveAddress(int process, int index) {
    return QString("127.%1.0.%2").arg(230 + process).arg(2 + index);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    fleet::applySessionMode(fleet::Settings());
    if (argc > 1) fleet::setLimit(QString(argv[1]).toInt());

    testsupport::CamsimProcess live[kProcesses];
    for (int p = 0; p < kProcesses; ++p)
        if (!live[p].start(CAMSIM_BINARY, {"--cameras", std::to_string(kCamerasPerProcess),
                                           "--first", kFirstAddresses[p]}))
            qFatal("camsim did not start");
    testsupport::SilentCameras silent;
    std::string error;
    if (!silent.start(kSilentCameras, &error)) qFatal("silent cameras: %s", error.c_str());

    QTemporaryDir cwd;
    QDir::setCurrent(cwd.path());
    {
        DeviceInfoFactory store(DeviceInfoFactory::kDefaultFileName);
        for (int p = 0; p < kProcesses; ++p)
            for (int i = 0; i < kCamerasPerProcess; ++i)
                store.add(SDeviceInfo(liveAddress(p, i), "admin", "admin"));
        for (const std::string& address : silent.addresses())
            store.add(SDeviceInfo(QString::fromStdString(address), "admin", "admin123"));
        store.save();
    }
    initKitResources();
    JobControl jobs;
    QWidget contents;
    auto* layout = new QVBoxLayout(&contents);
    auto* page = new IndexPage(&contents);
    layout->addWidget(page);
    new InteractionWaitingWidget(&contents);
    contents.resize(1280, 760);
    auto* online = page->findChild<QLabel*>("lbl_online");

    QElapsedTimer clock;
    StallWatch stalls(100);
    qint64 refreshMs = 0;
    // The start-up refresh first (under its overlay); then one round of the check.
    QObject::connect(&jobs, &JobControl::signalIdle, qApp, [&] {
        if (refreshMs > 0) return;
        refreshMs = clock.elapsed();
        std::printf("start-up refresh: %lld ms, %s\n", refreshMs, qPrintable(online->text()));
        stalls.setPhase("check");
        stalls.start();
        clock.restart();
        page->setHealthInterval(kFirstRoundAfterMs);
    });
    QObject::connect(&page->health(), &HealthCheck::signalRoundDone, qApp, [&] {
        page->setHealthInterval(0);
        qApp->quit();
    });
    clock.start();
    contents.show();
    qApp->exec();
    const qint64 roundMs = clock.elapsed() - kFirstRoundAfterMs;
    stalls.stop();
    std::printf(
        "background check of %d cameras (%d silent), %d at once: round %lld ms, longest "
        "GUI-thread gap %lld ms (of it %lld ms busy), %s\n",
        kProcesses * kCamerasPerProcess + kSilentCameras, kSilentCameras, fleet::limit(), roundMs,
        stalls.longestGapMs(), stalls.longestBusyMs(), qPrintable(online->text()));
    for (const StallWatch::Sample& sample : stalls.samples())
        std::printf("  stall of %lld ms in %s: %s\n", sample.gapMsAtSample,
                    qPrintable(sample.phase), qPrintable(sample.frames.mid(0, 6).join(" < ")));
    return stalls.longestGapMs() <= 100 ? 0 : 1;
}
