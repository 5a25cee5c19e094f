#include "program.h"

#include <QApplication>
#include <QLocale>

#include "commandline.h"
#include "dbutil/exitgrace.h"
#include "dbutil/jobcontrol.h"
#include "instanceguard.h"
#include "mainwindow.h"
#include "programexit.h"
#include "startup.h"
#include "ui/widgets/kitresources.h"

namespace program {
namespace {

int runWindow(QApplication& app, const Options& options) {
    MainWindow window;
    window.show();
    if (options.onShown) options.onShown(window);
    return app.exec();
}

// Help and the version need no display and leave the program's files alone.
int answerWithoutWindow(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return startup::answerCommandLine(app).value_or(0);
}

}  // namespace

Options defaults() {
    Options options;
    options.instanceKey = QString::fromLatin1(startup::kInstanceKey);
    return options;
}

int run(int argc, char* argv[], const Options& options) {
    if (CommandLine::asksForInformation(argc, argv)) return answerWithoutWindow(argc, argv);
    startup::initSecurity();
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(CommandLine::version());
    QGuiApplication::setDesktopFileName(QStringLiteral("facekeeper"));
    // Whatever Qt's own options left is a mistake, answered before the start touches any file.
    if (const auto answered = startup::answerCommandLine(app)) return *answered;
    initKitResources();
    startup::enterWorkingDirectory(startup::stateDirectory(QCoreApplication::applicationDirPath()));
    startup::openProgramLog();
    startup::applyFleetSettings();
    startup::applyStyleSheet(app);
    startup::installTranslations(startup::programFile("translations"), QLocale::system(), &app);

    InstanceGuard guard(options.instanceKey);
    if (!guard.tryToRun()) return startup::refuseSecondInstance(guard);
    exitgrace::atEarlyEnd([&guard] { guard.release(); });
    // Made before the window and gone after it: every worker the window leaves reads its stop.
    JobControl jobs;
    // The device list page writes the store when the window goes.
    const int code = runWindow(app, options);
    return programexit::finish(code);
}

}  // namespace program
