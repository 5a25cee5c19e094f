// Batch jobs over several simulated cameras: the per-thread results, the job's counting and
// summary, the cancel table, and the shared work directory.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>

#include "batch/batchextractthread.h"
#include "batch/batchimportthread.h"
#include "batch/batchjob.h"
#include "batch/batchpackage.h"
#include "batch/batchprogress.h"
#include "batch/batchuploadthread.h"
#include "camsim.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/zipwriter.h"
#include "fleet/fleetlanes.h"
#include "fleet/fleetsettings.h"
#include "pictures.h"
#include "support/camera_set.h"

namespace {

constexpr int kJobTimeoutMs = 60000;

SDeviceInfo deviceOf(const camsim::Camera& camera) {
    const auto& c = camera.config();
    return SDeviceInfo(QString::fromStdString(c.address), QString::fromStdString(c.user),
                       QString::fromStdString(c.password));
}

SDBInfo addLibrary(const SDeviceInfo& device, const QString& name) {
    SDBInfo db;
    db.name = name;
    db.threshold = 70;
    if (!Interaction::instance().addFaceDB(device, &db)) qFatal("library not created");
    return db;
}

// The library as the camera lists it now (default record when it is not there).
SDBInfo listed(SDeviceInfo device, const QString& name) {
    if (!Interaction::instance().refreshDbList(&device)) qFatal("library list not read");
    for (const SDBInfo& db : device.dbs)
        if (db.name == name) return db;
    return SDBInfo();
}

// Side by side a camera works one picture per lane: a stop or a silent camera leaves up to one
// more picture per other lane behind it.
bool withinLanes(int value, int least) {
    const int slack = fleet::sessionsSideBySide() ? fleet::kLanes - 1 : 0;
    return value >= least && value <= least + slack;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// What a job reported while it ran.
struct JobRecord {
    QString summary;
    QHash<QString, int> codes;      // key -> errorCode
    QHash<QString, int> uploaded;   // key -> uploadedCount
    QHash<QString, int> percent;    // key -> last percentage shown
    QHash<QString, QString> notes;  // key -> last note shown
};

// "camera outcome code" -> rows of a finished job's report.
QMap<QString, int> tally(const reports::JobReport& report) {
    QMap<QString, int> counts;
    for (const reports::ReportRow& row : report.rows)
        ++counts[row.camera + " " + reports::outcomeKey(row.outcome) + " " +
                 QString::number(row.code)];
    return counts;
}

JobRecord runJob(BatchJob& job, const QVector<BatchThread*>& threads, int imageCount = 0) {
    JobRecord record;
    QObject::connect(&job, &BatchJob::signalThreadFinished, &job,
                     [&](const QString& key, int code, int uploaded) {
                         record.codes.insert(key, code);
                         record.uploaded.insert(key, uploaded);
                     });
    QObject::connect(&job, &BatchJob::signalItemProgress, &job,
                     [&](const QString& key, int percent, const QString& note) {
                         record.percent.insert(key, percent);
                         record.notes.insert(key, note);
                     });
    QSignalSpy finished(&job, &BatchJob::signalFinished);
    if (!job.start(threads, imageCount)) qFatal("job refused");
    if (!finished.wait(kJobTimeoutMs)) qFatal("the job did not end");
    record.summary = finished.at(0).at(0).toString();
    QObject::disconnect(&job, nullptr, &job, nullptr);
    return record;
}

}  // namespace

class BatchTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir files_;  // pictures and packages
    QTemporaryDir cwd_;    // the program's current directory, where "temp" goes
    QString oldCwd_;

    camsim::Camera* startCamera(camsim::CameraConfig config = {}) {
        camsim::Camera* camera = cameras_.start(config);
        if (!camera) qFatal("camera did not start: %s", cameras_.error().c_str());
        return camera;
    }

    // count pictures named p<seed>...; side 60 makes pictures the camera cannot extract.
    QVector<SFeatrueInfo> pictures(int count, int seed, int side = 140) {
        QVector<SFeatrueInfo> images;
        for (int i = 0; i < count; ++i) {
            SFeatrueInfo image;
            image.name = QString("p%1").arg(seed + i);
            image.path = testpictures::writeJpeg(files_.path(), image.name + ".jpg", side,
                                                 side + 10, seed + i);
            images.append(image);
        }
        return images;
    }

    void upload(const SDeviceInfo& device, const SDBInfo& db, const QVector<SFeatrueInfo>& from) {
        SFeatrueList images;
        for (const SFeatrueInfo& image : from)
            images.append(SFeatrueInfoPtr::create(image));
        if (Interaction::instance().addImages(device, db.libid, images, nullptr) != from.size())
            qFatal("pictures lost");
    }

    // A package of one extracted library "gate" of count pictures.
    QString package(int count) {
        const SDeviceInfo source = deviceOf(*startCamera());
        const SDBInfo db = addLibrary(source, "gate");
        upload(source, db, pictures(count, 100));
        Interaction::instance().extractFeature(source, db.libid, nullptr, nullptr, nullptr,
                                               nullptr);
        const QString zip = files_.filePath("gate.zip");
        DbExportModule job(source, db.libid);
        job.setSavePath(zip);
        job.start();
        if (!job.wait(kJobTimeoutMs) || job.errorCode() != 0) qFatal("export failed");
        return zip;
    }

private slots:
    void initTestCase() {
        oldCwd_ = QDir::currentPath();
        QVERIFY(QDir::setCurrent(cwd_.path()));
    }
    void cleanupTestCase() { QDir::setCurrent(oldCwd_); }
    void cleanup() { cameras_.stopAll(); }

    void progressRows() {
        QCOMPARE(batch::libraryKey("127.0.0.9", "gate"), QString("127.0.0.9/gate"));
        const batch::ItemProgress done = batch::itemProgress("k", 3, 3);
        QCOMPARE(done.percent, 100);
        QCOMPARE(done.note, QString("3/3"));
        QCOMPARE(batch::itemProgress("k", 1, 3).percent, 33);
        QCOMPARE(batch::itemProgress("k", 0, 0).percent, 0);
        QCOMPARE(batch::itemProgress("k", 0, 0).note, QString("0/0"));
        QCOMPARE(batch::itemProgress("k", 7, 3).percent, 100);  // a camera counting past total
        QCOMPARE(batch::itemProgress("k", -2, 3).percent, 0);
    }

    void unpackReplacesOnlyItsOwnWorkDirectory() {
        const QString work = cwd_.filePath("temp");
        const QString good = files_.filePath("small.zip");
        ZipWriter writer;
        QVERIFY(writer.open(good));
        QVERIFY(writer.addBytes("package.dat", "not a package"));
        QVERIFY(writer.addBytes("images/1.jpg", "x"));
        QVERIFY(writer.close());
        QCOMPARE(batchWorkDir(), work);
        QCOMPARE(unpackBatchPackage(good), 0);
        QVERIFY(writeFile(work + "/images/stale.jpg", "old"));
        QCOMPARE(unpackBatchPackage(good), 0);  // the program's own: emptied first
        QVERIFY(!QFile::exists(work + "/images/stale.jpg"));
        QVERIFY(QFile::exists(work + "/package.dat"));
        QVERIFY(QFile::exists(work + "/images/1.jpg"));

        // A package.dat that is not a package fails every camera before the camera is touched.
        camsim::Camera* camera = startCamera();
        BatchImportThread reader(deviceOf(*camera));
        reader.start();
        QVERIFY(reader.wait(kJobTimeoutMs));
        QCOMPARE(reader.errorCode(), 8);
        QVERIFY(camera->journal().on("/api/v1/recognize/add_fdlib").empty());

        const QString notZip = files_.filePath("not.zip");
        QVERIFY(writeFile(notZip, "plain text"));
        QCOMPARE(unpackBatchPackage(notZip), int(resultcode::PackageInvalid));
        QVERIFY(QDir(work + "/images").exists());
        QVERIFY(QDir(work).entryList(QDir::Files).isEmpty());

        // A "temp" the program did not make, or one that links elsewhere, is left alone.
        QVERIFY(QDir(work).removeRecursively());
        QVERIFY(QDir().mkpath(work));
        QVERIFY(writeFile(work + "/notes.txt", "the user's"));
        QCOMPARE(unpackBatchPackage(good), int(resultcode::WorkDirForeign));
        QVERIFY(QFile::exists(work + "/notes.txt"));
        const QString elsewhere = files_.filePath("elsewhere");
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(writeFile(elsewhere + "/kept.txt", "mine"));
        QVERIFY(QDir(work).removeRecursively());
        QVERIFY(QFile::link(elsewhere, work));
        QCOMPARE(unpackBatchPackage(good), int(resultcode::WorkDirForeign));
        QVERIFY(QFile::exists(elsewhere + "/kept.txt"));
        QVERIFY(QFile::remove(work));
    }

    void importOverThreeCamerasWithOneFailing() {
        const QString zip = package(3);
        camsim::CameraConfig full;
        full.libraries = {camsim::PreloadedLibrary{"a", 80, {}},
                          camsim::PreloadedLibrary{"b", 80, {}}};
        camsim::Camera* fullCamera = startCamera(full);
        QCOMPARE(fullCamera->preload(), std::string());
        const SDeviceInfo good1 = deviceOf(*startCamera());
        const SDeviceInfo good2 = deviceOf(*startCamera());
        const SDeviceInfo refused = deviceOf(*fullCamera);
        QCOMPARE(unpackBatchPackage(zip), 0);

        JobControl control;
        BatchJob job(BatchJob::Import);
        const QVector<BatchThread*> threads{new BatchImportThread(good1),
                                            new BatchImportThread(refused),
                                            new BatchImportThread(good2)};
        QObject::connect(&job, &BatchJob::signalItemProgress, &job,
                         [&] { QCOMPARE(control.tasks(), quint16(JobControl::FaceDbImport)); });
        const JobRecord run = runJob(job, threads);
        QCOMPARE(run.summary,
                 QString("Batch Import Finished.\nDevices Number: 3\nSuccess Number: 2"));
        QCOMPARE(control.tasks(), quint16(0));
        QCOMPARE(job.running(), 0);

        QCOMPARE(run.codes.value(refused.ip), 7);
        for (const SDeviceInfo& device : {good1, good2}) {
            QCOMPARE(run.codes.value(device.ip), 0);
            QCOMPARE(run.uploaded.value(device.ip), 3);
            QCOMPARE(run.percent.value(device.ip), 100);
            QCOMPARE(run.notes.value(device.ip), QString("3/3"));
            QCOMPARE(listed(device, "gate").imgnum, 3);
        }
        QCOMPARE(listed(refused, "gate").libid, QString());
        QCOMPARE(tally(job.report()), (QMap<QString, int>{{good1.ip + " stored 0", 1},
                                                          {good2.ip + " stored 0", 1},
                                                          {refused.ip + " failed 7", 1}}));
        QTRY_VERIFY_WITH_TIMEOUT(job.findChildren<BatchThread*>().isEmpty(), 5000);
    }

    void extractAndUploadCountPerLibrary() {
        // No job control: the job runs, without task bits.
        QVERIFY(!JobControl::instance());
        const SDeviceInfo a = deviceOf(*startCamera());
        const SDeviceInfo b = deviceOf(*startCamera());
        const SDBInfo a1 = addLibrary(a, "a1");
        const SDBInfo b1 = addLibrary(b, "b1");
        const SDBInfo b2 = addLibrary(b, "b2");

        QVector<SFeatrueInfo> images = pictures(3, 0) + pictures(1, 10, 60);
        SFeatrueInfo missing;
        missing.name = "gone";
        missing.path = files_.filePath("gone.jpg");
        images.append(missing);
        BatchJob uploads(BatchJob::Upload);
        const JobRecord up = runJob(uploads,
                                    {new BatchUploadThread(a, a1, images, true),
                                     new BatchUploadThread(b, b2, images, true)},
                                    images.size());
        QCOMPARE(up.summary, QString("Batch Upload Finished.\nimage number: 5\nfaceDB number: 2\n"
                                     "uploading number: 8"));
        QCOMPARE(listed(a, "a1").imgnum, 4);
        QCOMPARE(listed(b, "b2").imgnum, 4);
        QCOMPARE(listed(b, "b1").imgnum, 0);

        SDBInfo ghost = b1;
        ghost.name = "ghost";
        ghost.libid = "no-such-library";
        BatchJob extracts(BatchJob::Extract);
        const JobRecord ex = runJob(extracts, {new BatchExtractThread(a, listed(a, "a1")),
                                               new BatchExtractThread(b, listed(b, "b2")),
                                               new BatchExtractThread(b, ghost)});
        QCOMPARE(ex.summary,
                 QString("Batch Extract Finished.\nfaceDB number: 3\nSuccess Number: 2"));
        const QString keyA = batch::libraryKey(a.ip, "a1");
        QCOMPARE(ex.codes.value(keyA), 0);
        QCOMPARE(ex.codes.value(batch::libraryKey(b.ip, "ghost")), 23);
        QCOMPARE(tally(extracts.report()), (QMap<QString, int>{{a.ip + " stored 0", 1},
                                                               {b.ip + " stored 0", 1},
                                                               {b.ip + " failed 23", 1}}));
        // The missing file is the one failed row of each library.
        QCOMPARE(uploads.report().count(reports::Outcome::Failed), 2);
        QCOMPARE(uploads.report().count(reports::Outcome::Stored), 8);
        QCOMPARE(ex.percent.value(keyA), 100);
        QCOMPARE(ex.notes.value(keyA), QString("4/4"));
        const SDBInfo after = listed(a, "a1");
        QCOMPARE(after.extractnum, 3);
        QCOMPARE(after.errornum, 1);
    }

    void lockedOutCameraFailsAloneAndTheOthersFinish() {
        const SDeviceInfo a = deviceOf(*startCamera());
        const SDeviceInfo b = deviceOf(*startCamera());
        camsim::Camera* locked = startCamera();
        const SDeviceInfo c = deviceOf(*locked);
        const SDBInfo la = addLibrary(a, "la"), lb = addLibrary(b, "lb"), lc = addLibrary(c, "lc");
        Interaction::instance().logoutAll();  // the next operations log in again
        camsim::HttpResponse lockout;
        lockout.status = 423;
        lockout.body = "{\"time_left\":60}";
        locked->setCannedReply("/digest/config", lockout);

        const QVector<SFeatrueInfo> images = pictures(5, 60);
        BatchJob uploads(BatchJob::Upload);
        const JobRecord up = runJob(
            uploads,
            {new BatchUploadThread(a, la, images, true), new BatchUploadThread(b, lb, images, true),
             new BatchUploadThread(c, lc, images, true)},
            5);
        QCOMPARE(up.uploaded.value(batch::libraryKey(c.ip, "lc")), 0);
        QCOMPARE(up.uploaded.value(batch::libraryKey(a.ip, "la")), 5);
        QCOMPARE(up.uploaded.value(batch::libraryKey(b.ip, "lb")), 5);
        QVERIFY(up.summary.endsWith("uploading number: 10"));
    }

    // A camera that stops answering is given up after three tries, not one per picture.
    void silentCameraGivesUpAndTheOtherFinishes() {
        camsim::Camera* silent = startCamera();
        camsim::Camera* healthy = startCamera();
        const SDeviceInfo s = deviceOf(*silent), h = deviceOf(*healthy);
        const SDBInfo ls = addLibrary(s, "ls"), lh = addLibrary(h, "lh");
        const std::string addPath = "/api/v1/recognize/fdlib/add_img";
        camsim::HttpFault drop;
        drop.path = addPath;
        drop.kind = camsim::FaultKind::Drop;
        silent->addFault(drop);

        const QVector<SFeatrueInfo> images = pictures(8, 80);
        BatchJob uploads(BatchJob::Upload);
        const JobRecord up = runJob(uploads,
                                    {new BatchUploadThread(s, ls, images, true),
                                     new BatchUploadThread(h, lh, images, true)},
                                    8);
        QVERIFY(withinLanes(int(silent->journal().on(addPath).size()), 3));
        QCOMPARE(up.uploaded.value(batch::libraryKey(s.ip, "ls")), 0);
        QCOMPARE(up.uploaded.value(batch::libraryKey(h.ip, "lh")), 8);
        QCOMPARE(up.notes.value(batch::libraryKey(h.ip, "lh")), QString("8/8"));
    }

    void cancelledKeyStopsOnlyItsOwnThread() {
        JobControl control;
        control.beginBusy(3);
        const SDeviceInfo a = deviceOf(*startCamera());
        const SDeviceInfo b = deviceOf(*startCamera());
        const SDBInfo a1 = addLibrary(a, "a1");
        const SDBInfo b1 = addLibrary(b, "b1");
        const SDBInfo b2 = addLibrary(b, "b2");
        const QVector<SFeatrueInfo> images = pictures(5, 20);

        auto* first = new BatchUploadThread(a, a1, images, true);
        const QString firstKey = first->key();
        connect(
            first, &BatchUploadThread::signalProgress, this,
            [&](const QString& key, int val) {
                if (val >= 1) control.setCancelled(key, true);
            },
            Qt::DirectConnection);
        BatchJob uploads(BatchJob::Upload);
        const JobRecord up =
            runJob(uploads, {first, new BatchUploadThread(b, b1, images, true)}, 5);
        QVERIFY(withinLanes(up.uploaded.value(firstKey), 1));
        QCOMPARE(up.uploaded.value(batch::libraryKey(b.ip, "b1")), 5);
        const int firstStored = up.uploaded.value(firstKey);
        QVERIFY(up.summary.endsWith(QString("uploading number: %1").arg(5 + firstStored)));
        // The pictures after the cancel were never sent: skipped, not failed.
        QCOMPARE(tally(uploads.report()),
                 (QMap<QString, int>{{a.ip + " stored 0", firstStored},
                                     {a.ip + " skipped 0", 5 - firstStored},
                                     {b.ip + " stored 0", 5}}));

        // Started by the library page: the cancel table does not reach it, the stop flag does.
        control.endBusy();
        control.beginBusy(3);
        auto* page = new BatchUploadThread(b, b2, images, false);
        control.setCancelled(page->key(), true);
        connect(
            page, &BatchUploadThread::signalProgress, this,
            [&](const QString&, int val) {
                if (val >= 2) control.cancelAll(true);
            },
            Qt::DirectConnection);
        const JobRecord pageUp = runJob(uploads, {page}, 5);
        QVERIFY(withinLanes(pageUp.uploaded.value(batch::libraryKey(b.ip, "b2")), 2));

        // An extraction that would outlast the test ends at its first poll once cancelled.
        control.endBusy();
        control.beginBusy(3);
        camsim::CameraConfig slowConfig;
        slowConfig.extractMsPerImage = 60000;
        const SDeviceInfo slow = deviceOf(*startCamera(slowConfig));
        const SDBInfo s1 = addLibrary(slow, "s1");
        upload(slow, s1, pictures(3, 40));
        auto* stopped = new BatchExtractThread(slow, listed(slow, "s1"));
        connect(
            stopped, &BatchExtractThread::signalProgress, this,
            [&](const QString& key) { control.setCancelled(key, true); }, Qt::DirectConnection);
        BatchJob extracts(BatchJob::Extract);
        const JobRecord ex =
            runJob(extracts, {stopped, new BatchExtractThread(b, listed(b, "b1"))});
        QCOMPARE(ex.summary,
                 QString("Batch Extract Finished.\nfaceDB number: 2\nSuccess Number: 2"));
        QCOMPARE(ex.notes.value(batch::libraryKey(b.ip, "b1")), QString("5/5"));
        QVERIFY(ex.percent.value(batch::libraryKey(slow.ip, "s1")) < 100);
    }

    // At most the bound runs at once and the rest wait their turn; a waiting row cancelled, or
    // the stop flag set while rows wait, means those threads never start.
    void jobKeepsTheFleetBound() {
        JobControl control;
        control.beginBusy(3);
        camsim::HttpFault slow;
        slow.kind = camsim::FaultKind::Latency;
        slow.value = 50;
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < 3; ++i) {
            camsim::Camera* camera = startCamera();
            devices << deviceOf(*camera);
            addLibrary(devices.last(), "l1");
            addLibrary(devices.last(), "l2");
            camera->addFault(slow);
        }
        std::atomic<int> now{0}, peak{0};
        auto counted = [&](auto* thread) {
            connect(
                thread, &QThread::started, thread,
                [&] {
                    const int running = ++now;
                    int seen = peak.load();
                    while (running > seen && !peak.compare_exchange_weak(seen, running)) {
                    }
                },
                Qt::DirectConnection);
            connect(thread, &QThread::finished, thread, [&] { --now; }, Qt::DirectConnection);
            return thread;
        };

        fleet::setLimit(2);
        const QVector<SFeatrueInfo> images = pictures(3, 60);
        QVector<BatchThread*> threads;
        for (const SDeviceInfo& device : devices)
            for (const char* name : {"l1", "l2"})
                threads << counted(new BatchUploadThread(device, listed(device, name), images, true));
        const QString skipped = threads.last()->key();
        control.setCancelled(skipped, true);
        BatchJob uploads(BatchJob::Upload);
        const JobRecord up = runJob(uploads, threads, 3);
        QCOMPARE(peak.load(), 2);
        QCOMPARE(up.codes.value(skipped), int(BatchThread::kNeverStarted));
        QCOMPARE(up.notes.value(skipped), QString("Cancelled"));
        QCOMPARE(listed(devices.last(), "l2").imgnum, 0);
        QVERIFY(up.summary.endsWith("uploading number: 15"));

        control.endBusy();
        control.beginBusy(3);
        fleet::setLimit(1);
        peak = 0;
        auto* first = counted(new BatchUploadThread(devices[0], listed(devices[0], "l1"),
                                                    pictures(3, 80), true));
        connect(
            first, &BatchUploadThread::signalProgress, this,
            [&](const QString&, int val) {
                if (val >= 1) control.cancelAll(true);
            },
            Qt::DirectConnection);
        QVector<BatchThread*> stopped{first};
        for (int i = 1; i < 3; ++i)
            stopped << counted(new BatchUploadThread(devices[i], listed(devices[i], "l1"),
                                                     pictures(3, 80), true));
        const QString firstKey = first->key(), secondKey = stopped[1]->key(),
                      thirdKey = stopped[2]->key();
        const JobRecord stop = runJob(uploads, stopped, 3);
        fleet::setLimit(fleet::kDefaultLimit);
        QCOMPARE(peak.load(), 1);
        QVERIFY(withinLanes(stop.uploaded.value(firstKey), 1));
        QCOMPARE(stop.codes.value(secondKey), int(BatchThread::kNeverStarted));
        QCOMPARE(stop.codes.value(thirdKey), int(BatchThread::kNeverStarted));
        // The first camera's lanes may each have finished a picture after the stop.
        QCOMPARE(uploads.report().count(reports::Outcome::Skipped),
                 (3 - stop.uploaded.value(firstKey)) + 3 + 3);
    }
};

QTEST_GUILESS_MAIN(BatchTest)
#include "batch_test.moc"
