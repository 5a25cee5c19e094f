// The program's window over the device list of a folder, closed as soon as its start-up
// refresh runs, then ended the way the program ends. Prints "closed" when it closes the window.
// usage: close_probe <state folder> <instance key>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <cstdio>

#include "dbutil/exitgrace.h"
#include "dbutil/jobcontrol.h"
#include "instanceguard.h"
#include "mainwindow.h"
#include "programexit.h"
#include "startup.h"
#include "ui/widgets/kitresources.h"

int main(int argc, char* argv[]) {
    if (argc != 3) return 2;
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    initKitResources();
    if (!QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) return 2;
    startup::openProgramLog();
    startup::applyFleetSettings();
    InstanceGuard guard(QString::fromLocal8Bit(argv[2]));
    if (!guard.tryToRun()) return 3;
    exitgrace::atEarlyEnd([&guard] { guard.release(); });
    int code = 0;
    {
        MainWindow window;
        window.show();
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &window, [&] {
            if (!JobControl::instance() || !JobControl::instance()->busy()) return;
            poll.stop();
            window.close();
            std::puts("closed");
            std::fflush(stdout);
        });
        poll.start(10);
        code = app.exec();
    }
    return programexit::finish(code);
}
