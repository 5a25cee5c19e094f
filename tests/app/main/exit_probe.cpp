// The real program's run under a guard key of its own, with one long job started as soon as the
// window shows and the window closed a moment later, the exit question answered "OK". The job
// comes from the environment:
//   PROBE_KEY     the single-instance key
//   PROBE_CAMERA  "ip user password libid" of a simulated camera
//   PROBE_JOB     "upload" (pictures of PROBE_PICTURES into the library) or "export" (the library
//                 into PROBE_EXPORT)
// Prints "closing" when the close is requested; whatever happens after is the program's own end.
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <cstdio>

#include "batch/batchjob.h"
#include "batch/batchuploadthread.h"
#include "dbutil/dbexportmodule.h"
#include "mainwindow.h"
#include "program.h"

namespace {

QString env(const char* name) {
    return qEnvironmentVariable(name);
}

SDeviceInfo probeCamera(QString* libid) {
    const QStringList parts = env("PROBE_CAMERA").split(' ');
    if (parts.size() != 4) qFatal("PROBE_CAMERA wants four parts");
    *libid = parts.at(3);
    return SDeviceInfo(parts.at(0), parts.at(1), parts.at(2));
}

void startUpload(MainWindow& window, const SDeviceInfo& device, const QString& libid) {
    QVector<SFeatrueInfo> images;
    const QDir dir(env("PROBE_PICTURES"));
    for (const QString& name : dir.entryList({"*.jpg"}, QDir::Files, QDir::Name)) {
        SFeatrueInfo image;
        image.name = QFileInfo(name).completeBaseName();
        image.path = dir.filePath(name);
        images.append(image);
    }
    SDBInfo library;
    library.libid = libid;
    auto* job = new BatchJob(BatchJob::Upload, &window);
    if (!job->start({new BatchUploadThread(device, library, images, true)}, images.size()))
        qFatal("upload not started");
}

void startExport(MainWindow& window, const SDeviceInfo& device, const QString& libid) {
    auto* module = new DbExportModule(device, libid, &window);
    module->setSavePath(env("PROBE_EXPORT"));
    module->start();
}

// Answers the exit question "OK" and closes the window, once the job is under way.
void closeSoon(MainWindow& window) {
    QTimer::singleShot(1500, &window, [&window] {
        auto* answer = new QTimer(&window);
        QObject::connect(answer, &QTimer::timeout, [answer] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            answer->stop();
            box->button(QMessageBox::Ok)->click();
        });
        answer->start(20);
        std::puts("closing");
        std::fflush(stdout);
        window.close();
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    program::Options options = program::defaults();
    options.instanceKey = env("PROBE_KEY");
    options.onShown = [](MainWindow& window) {
        QString libid;
        const SDeviceInfo device = probeCamera(&libid);
        if (env("PROBE_JOB") == "export")
            startExport(window, device, libid);
        else
            startUpload(window, device, libid);
        closeSoon(window);
    };
    return program::run(argc, argv, options);
}
