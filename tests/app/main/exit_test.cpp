// The end of the real program while a worker sits in a slow camera call: the exit question is
// answered "OK", the guard waits its time, and then the process is gone within the grace,
// leaving no half-written files and giving back the single-instance guard so that a restart
// runs at once.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app_cameras.h"
#include "dbutil/exitgrace.h"
#include "exitguard.h"
#include "pictures.h"

namespace {

// Longer than the guard's wait and the grace together, shorter than the upload time-out: a
// worker caught in such a call can only be left behind.
constexpr int kCallMs = 18000;
// The guard's wait, the grace, and room for a loaded (or sanitized) process to end.
constexpr int kEndMs = exitguard::kWaitMs + exitgrace::kGraceMs + 3000;

camsim::CameraConfig withLibrary(const QString& pictureDir) {
    camsim::CameraConfig config;
    camsim::PreloadedLibrary library{"gate", 80, {}};
    for (int i = 0; i < 3; ++i) {
        const QString path =
            testpictures::writeJpeg(pictureDir, QString("p%1.jpg").arg(i), 140, 150, i);
        library.images.push_back({path.toStdString(), QString("p%1").arg(i).toStdString(), {}});
    }
    config.libraries.push_back(library);
    return config;
}

}  // namespace

class ExitTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

    QString key() const {
        return QStringLiteral("kestrel_exit_test_%1").arg(QCoreApplication::applicationPid());
    }

    // Runs the program with the job until it ends; the time from the close request to its end.
    qint64 runUntilGone(const QString& job, const SDeviceInfo& device, const QString& libid,
                        const QStringList& extra) {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("PROBE_KEY", key());
        environment.insert("PROBE_JOB", job);
        environment.insert(
            "PROBE_CAMERA",
            QStringList{device.ip, device.username, device.password, libid}.join(' '));
        for (const QString& pair : extra)
            environment.insert(pair.section('=', 0, 0), pair.section('=', 1));
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(EXIT_PROBE), QStringList());
        if (!program.waitForStarted(10000)) return -1;
        if (!QTest::qWaitFor([&] { return program.readAllStandardOutput().contains("closing"); },
                             30000))
            return -2;
        QElapsedTimer clock;
        clock.start();
        // Bounded well beyond what a worker left to finish its whole job would need to fail.
        if (!program.waitForFinished(4 * kCallMs)) {
            program.kill();
            program.waitForFinished();
            return -3;
        }
        return clock.elapsed();
    }

    // A fresh start under the same key runs (the guard was given back).
    bool restartRuns() {
        QProcess next;
        next.start(QStringLiteral(INSTANCE_PROBE), {key()});
        if (!next.waitForReadyRead(5000)) return false;
        const bool running = next.readAllStandardOutput().startsWith("running");
        next.closeWriteChannel();
        next.waitForFinished(5000);
        return running;
    }

    QString libraryOf(camsim::Camera& camera) {
        return QString::fromStdString(camera.faces().snapshot().at(0).libid);
    }

private slots:
    void cleanup() { cameras_.stopAll(); }

    void uploadLeftBehindAtExit() {
        QTemporaryDir pictures;
        camsim::Camera* camera = testsupport::mustStart(cameras_);
        const QString libid = QString::fromStdString(
            camera->faces().createLibrary("gate", 80).data["libid"].asString());
        for (int i = 0; i < 4; ++i)
            QVERIFY(
                !testpictures::writeJpeg(pictures.path(), QString("u%1.jpg").arg(i), 140, 150, i)
                     .isEmpty());
        camera->addFault(
            {"/api/v1/recognize/fdlib/add_img", camsim::FaultKind::Latency, kCallMs, -1});
        const qint64 elapsed = runUntilGone("upload", testsupport::deviceOf(*camera), libid,
                                            {"PROBE_PICTURES=" + pictures.path()});
        QVERIFY2(elapsed >= 0 && elapsed < kEndMs, qPrintable(QString::number(elapsed)));
        QVERIFY(restartRuns());
        QVERIFY(camera->faces().counts(libid.toStdString()).imgnum <= 1);
    }

    // An export cannot be stopped inside a picture's download: it is left behind, and its work
    // folder and the package it was to write are not.
    void exportLeftBehindLeavesNoFiles() {
        QTemporaryDir pictures, temporary, target;
        camsim::Camera* camera = testsupport::mustStart(cameras_, withLibrary(pictures.path()));
        QCOMPARE(camera->preload(), std::string());
        const int64_t firstPicture = camera->faces().snapshot().at(0).images.begin()->first;
        camera->addFault({"/images/" + std::to_string(firstPicture) + ".jpg",
                          camsim::FaultKind::Latency, kCallMs, -1});
        const QString package = target.filePath("out.zip");
        const qint64 elapsed =
            runUntilGone("export", testsupport::deviceOf(*camera), libraryOf(*camera),
                         {"TMPDIR=" + temporary.path(), "PROBE_EXPORT=" + package});
        QVERIFY2(elapsed >= 0 && elapsed < kEndMs, qPrintable(QString::number(elapsed)));
        QVERIFY(restartRuns());
        // Qt's own runtime folder may lie there too; the program's work folders are named after it.
        QCOMPARE(QDir(temporary.path()).entryList({"exit_probe*"}, QDir::AllEntries | QDir::Hidden),
                 QStringList());
        QCOMPARE(QDir(target.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }
};

QTEST_GUILESS_MAIN(ExitTest)
#include "exit_test.moc"
