// The random-input run: the real main window on simulated cameras with faults (a slow one, a
// silent one, one that stops answering in the middle of an upload, one locked out by a wrong
// password), driven by random clicks, keys and answers to every dialog and box for a set time.
//   monkey [--seed N] [--seconds S]
// Fails (exit 1) on an overlay still up 15 s after the last work ended, a GUI thread held over
// 500 ms, or a camera whose pictures differ from what an upload reported as stored; a crash or
// a sanitizer report ends it on its own. The seed is printed first: pass it again to replay.
#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

#include "dbutil/jobcontrol.h"
#include "driver.h"
#include "fleet.h"
#include "mainwindow.h"
#include "startup.h"
#include "ui/widgets/kitresources.h"
#include "watch.h"

int main(int argc, char* argv[]) {
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"seed", "Random seed (default: the clock).", "N"});
    parser.addOption({"seconds", "How long to drive the window.", "S", "60"});
    parser.process(app);
    const quint32 seed = parser.isSet("seed") ? parser.value("seed").toUInt()
                                              : quint32(QDateTime::currentMSecsSinceEpoch());
    const int seconds = parser.value("seconds").toInt();
    std::printf("monkey: seed %u, %d s (replay: --seed %u --seconds %d)\n", seed, seconds, seed,
                seconds);
    std::fflush(stdout);

    initKitResources();
    app.setStyleSheet(kitStyleSheet());
    QTemporaryDir work;
    if (!work.isValid() || !QDir::setCurrent(work.path())) qFatal("no working folder");
    monkey::Fleet fleet(work.path());

    JobControl jobs;
    int code = 0;
    {
        MainWindow window;
        window.resize(1280, 800);
        window.show();
        monkey::Watch watch(window, jobs, fleet);
        monkey::Driver driver(window, fleet, seed);
        QTimer::singleShot(seconds * 1000, &app, [&] {
            driver.stop();
            code = watch.settle() ? 0 : 1;
            std::printf("monkey: seed %u, %lld events, %d jobs started, %d uploads checked\n", seed,
                        driver.events(), watch.jobsStarted(), watch.uploadsChecked());
            std::fflush(stdout);
            app.quit();
        });
        app.exec();
    }
    if (code != 0) std::printf("monkey: FAILED (replay with --seed %u)\n", seed);
    return code;
}
