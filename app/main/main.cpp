#include <QApplication>
#include <QLocale>
#include <QThreadPool>

#include "dbutil/interaction.h"
#include "instanceguard.h"
#include "mainwindow.h"
#include "startup.h"
#include "ui/widgets/kitresources.h"

namespace {

int runWindow(QApplication& app) {
    MainWindow window;
    window.show();
    return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    startup::initSecurity();
    startup::registerMetaTypes();
    QApplication app(argc, argv);
    initKitResources();
    startup::enterWorkingDirectory(startup::stateDirectory(QCoreApplication::applicationDirPath()));
    startup::openProgramLog();
    startup::applyStyleSheet(app);
    startup::installTranslations(startup::programFile("translations"), QLocale::system(), &app);

    InstanceGuard guard(startup::kInstanceKey);
    if (!guard.tryToRun()) return startup::refuseSecondInstance(guard);
    // The device list page writes the store when the window goes.
    const int code = runWindow(app);
    // Camera calls still on the pool end before their sessions are logged out.
    QThreadPool::globalInstance()->waitForDone();
    Interaction::instance().logoutAll();
    return code;
}
