// A batch upload of 100 pictures into each of 50 cameras through the batch threads, as the
// batch dialog starts it. The cameras run in a camsim process of their own so that the peak
// resident memory printed is the program's alone. Exits non-zero when a picture is missing.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>
#include <cstdio>

#include "batch/batchjob.h"
#include "batch/batchuploadthread.h"
#include "dbutil/interaction.h"
#include "bench_pictures.h"
#include "scale/scale_measures.h"
#include "support/camsim_process.h"

namespace {

constexpr int kCameras = 50;
constexpr int kPictures = 100;

QString cameraAddress(int index) {
    return QString("127.0.86.%1").arg(2 + index);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    testsupport::CamsimProcess cameras;
    if (!cameras.start(CAMSIM_BINARY, {"--cameras", std::to_string(kCameras), "--first",
                                       cameraAddress(0).toStdString()}))
        qFatal("camsim did not start");
    QTemporaryDir dir;
    const QVector<SFeatrueInfo> pictures = benchpictures::write(dir.path(), kPictures, 2);

    QVector<BatchThread*> threads;
    QVector<QPair<SDeviceInfo, SDBInfo>> targets;
    for (int c = 0; c < kCameras; ++c) {
        SDeviceInfo device(cameraAddress(c), "admin", "admin");
        SDBInfo db;
        db.name = "batch";
        if (!Interaction::instance().addFaceDB(device, &db)) qFatal("no library");
        targets.append({device, db});
        threads.append(new BatchUploadThread(device, db, pictures, true));
    }
    const long before = measures::statusKiB("VmRSS:");
    BatchJob job(BatchJob::Upload);
    QString summary;
    QObject::connect(&job, &BatchJob::signalFinished, &app, [&](const QString& text) {
        summary = text;
        app.quit();
    });
    QElapsedTimer clock;
    clock.start();
    job.start(threads, kPictures);
    app.exec();
    const double seconds = clock.elapsed() / 1000.0;

    int stored = 0;
    for (auto& target : targets) {
        if (Interaction::instance().getFaceDB(target.first, &target.second))
            stored += target.second.imgnum;
    }
    std::printf("%s\n", qPrintable(summary));
    std::printf("stored %d of %d pictures in %.1f s (%.0f pictures/s)\n", stored,
                kCameras * kPictures, seconds, stored / seconds);
    std::printf("resident memory: %ld KiB before the job, peak %ld KiB\n", before,
                measures::statusKiB("VmHWM:"));
    Interaction::instance().logoutAll();
    return stored == kCameras * kPictures &&
                   summary.endsWith(QString("uploading number: %1").arg(kCameras * kPictures))
               ? 0
               : 1;
}
