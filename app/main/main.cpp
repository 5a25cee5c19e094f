#include <QApplication>
#include <QLocale>

#include "commandline.h"
#include "instanceguard.h"
#include "mainwindow.h"
#include "programexit.h"
#include "startup.h"
#include "ui/widgets/kitresources.h"

namespace {

int runWindow(QApplication& app) {
    MainWindow window;
    window.show();
    return app.exec();
}

// Help and the version need no display and leave the program's files alone.
int answerWithoutWindow(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    return startup::answerCommandLine(app).value_or(0);
}

}  // namespace

int main(int argc, char* argv[]) {
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

    InstanceGuard guard(startup::kInstanceKey);
    if (!guard.tryToRun()) return startup::refuseSecondInstance(guard);
    // The device list page writes the store when the window goes.
    return programexit::finish(guard, runWindow(app));
}
