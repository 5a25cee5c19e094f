// Package export and import between simulated cameras: what arrives, what is refused, and that
// nothing escapes the work directory.
#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "app_cameras.h"
#include "applog.h"
#include "camsim.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/dbimportmodule.h"
#include "dbutil/interaction.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/packagefile.h"
#include "dbutil/zipwriter.h"
#include "pictures.h"
#include "support/camera_set.h"
#include "testimages.h"

namespace {

using testsupport::deviceOf;

void runToEnd(QThread& job) {
    QSignalSpy finished(&job, &QThread::finished);
    job.start();
    if (!job.isFinished() && !finished.wait(120000)) qFatal("the job did not end");
}

SFeatrueList recordsOf(const SDeviceInfo& device, const QString& libid) {
    SPageInfo page;
    page.libid = libid;
    page.page_num = 1;
    page.page_size = 100;
    SFeatrueList records;
    Interaction::instance().exportFaceDB(device, &page, &records);
    return records;
}

QByteArray pictureMd5(const SDeviceInfo& device, const QString& url) {
    Protocol::MsgImageData data;
    data.url = url;
    if (Interaction::instance().getImage(device, &data) != 0) return {};
    return QCryptographicHash::hash(data.bytes(), QCryptographicHash::Md5);
}

}  // namespace

class PackageJobTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir dir_;

    camsim::Camera* startCamera(camsim::CameraConfig config = {}) {
        return testsupport::mustStart(cameras_, config);
    }

    // A library of count pictures with extracted features and five texts each.
    SDBInfo fillLibrary(const SDeviceInfo& device, int count) {
        Interaction& link = Interaction::instance();
        SDBInfo db;
        db.name = "gate";
        db.threshold = 66;
        if (!link.addFaceDB(device, &db)) qFatal("no library");
        SFeatrueList images;
        for (int i = 0; i < count; ++i) {
            auto image = SFeatrueInfoPtr::create();
            image->name = QString("person %1").arg(i);
            image->ext = QStringList{"e1", "e2", QString::number(i), "e4", QString::fromUtf8("五")};
            image->path =
                testpictures::writeJpeg(dir_.path(), QString("src%1.jpg").arg(i), 120, 150 + i, i);
            images.append(image);
        }
        if (link.addImages(device, db.libid, images, nullptr) != count) qFatal("pictures lost");
        int total, extracted, errors;
        link.extractFeature(device, db.libid, &total, &extracted, &errors, nullptr);
        return db;
    }

    // The package source rewritten by python's zipfile into a file of the test's folder: body
    // reads the entries of `src` and writes them to `z`.
    QString rewritten(const QString& source, const QString& name, const QString& body) {
        const QString script =
            "import zipfile,sys\n"
            "src=zipfile.ZipFile(sys.argv[1]); z=zipfile.ZipFile(sys.argv[2],'w')\n" + body;
        const QString target = dir_.filePath(name);
        if (QProcess::execute("python3", {"-c", script, source, target}) != 0)
            qFatal("python3 could not rewrite the package");
        return target;
    }

    QString exportLibrary(const SDeviceInfo& device, const QString& libid, int expectCode) {
        const QString zip = dir_.filePath(QString("export-%1-%2.zip").arg(device.ip, libid));
        DbExportModule job(device, libid);
        job.setSavePath(zip);
        runToEnd(job);
        if (job.errorCode() != expectCode)
            qFatal("export ended with %d, not %d", job.errorCode(), expectCode);
        return zip;
    }

private slots:
    void cleanup() { cameras_.stopAll(); }

    void libraryTravelsFromOneCameraToAnother() {
        const SDeviceInfo from = deviceOf(*startCamera());
        SDeviceInfo to = deviceOf(*startCamera());
        const SDBInfo source = fillLibrary(from, 12);
        const QString zip = exportLibrary(from, source.libid, 0);

        QProcess zipinfo;
        zipinfo.start("zipinfo", {zip});
        QVERIFY(zipinfo.waitForFinished(10000));
        const QString listing = QString::fromUtf8(zipinfo.readAllStandardOutput());
        QCOMPARE(listing.count(" defN "), 13);
        QVERIFY(!listing.contains("images/ "));  // no directory entries
        QCOMPARE(QProcess::execute("unzip", {"-tq", zip}), 0);

        DbImportModule job(to, zip);
        QSignalSpy progress(&job, &DbImportModule::signalProgress);
        runToEnd(job);
        QCOMPARE(job.errorCode(), 0);
        QCOMPARE(job.uploadedCount(), 12);
        QCOMPARE(progress.last().at(0).toInt(), 100);

        SDBInfo copy = job.library();
        QVERIFY(Interaction::instance().getFaceDB(to, &copy));
        QCOMPARE(copy.name, source.name);
        QCOMPARE(copy.threshold, 66);
        const SFeatrueList before = recordsOf(from, source.libid);
        const SFeatrueList after = recordsOf(to, copy.libid);
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < before.size(); ++i) {
            QCOMPARE(after[i]->uid, before[i]->uid);
            QCOMPARE(after[i]->name, before[i]->name);
            QCOMPARE(after[i]->ext, before[i]->ext);
            QCOMPARE(after[i]->feature, before[i]->feature);
            QVERIFY(!after[i]->feature.isEmpty());
            Protocol::MsgImageData a, b;
            a.url = before[i]->url;
            b.url = after[i]->url;
            QCOMPARE(Interaction::instance().getImage(from, &a), 0);
            QCOMPARE(Interaction::instance().getImage(to, &b), 0);
            QCOMPARE(b.bytes(), a.bytes());
        }
    }

    // Identifiers beyond 32 bits through add, list, edit, export, import and delete.
    void wideIdentifiersSurviveTheRoundTrip() {
        constexpr qint64 kWide = (qint64(1) << 32) + 5;
        camsim::CameraConfig wide;
        wide.firstImgid = kWide;
        camsim::Camera* source = startCamera(wide);
        wide.firstImgid = kWide * 2;
        camsim::Camera* target = startCamera(wide);
        const SDeviceInfo from = deviceOf(*source);
        const SDeviceInfo to = deviceOf(*target);
        Interaction& link = Interaction::instance();
        const SDBInfo db = fillLibrary(from, 4);

        SFeatrueList listed = recordsOf(from, db.libid);
        QCOMPARE(listed.size(), 4);
        // Side by side a camera stores its pictures in lanes, in no fixed order.
        std::sort(listed.begin(), listed.end(),
                  [](const SFeatrueInfoPtr& a, const SFeatrueInfoPtr& b) { return a->name < b->name; });
        QSet<QByteArray> sourceMd5;
        for (int i = 0; i < 4; ++i) {
            QVERIFY(listed[i]->imgid >= kWide);
            QCOMPARE(listed[i]->name, QString("person %1").arg(i));  // the update found it
            QFile file(dir_.filePath(QString("src%1.jpg").arg(i)));
            QVERIFY(file.open(QIODevice::ReadOnly));
            sourceMd5.insert(QCryptographicHash::hash(file.readAll(), QCryptographicHash::Md5));
        }
        listed[1]->name = "renamed";
        QVERIFY(link.updateImage(from, *listed[1]));
        QCOMPARE(source->faces()
                     .findImage(listed[1]->imgid, db.libid.toStdString())
                     .data["name"]
                     .asString(),
                 std::string("renamed"));

        DbImportModule job(to, exportLibrary(from, db.libid, 0));
        runToEnd(job);
        QCOMPARE(job.errorCode(), 0);
        QCOMPARE(job.uploadedCount(), 4);
        const SFeatrueList copied = recordsOf(to, job.library().libid);
        QSet<QByteArray> copiedMd5;
        for (const SFeatrueInfoPtr& record : copied) {
            QVERIFY(record->imgid >= 2 * kWide);
            Protocol::MsgImageData picture;
            picture.url = record->url;
            QCOMPARE(link.getImage(to, &picture), 0);
            copiedMd5.insert(QCryptographicHash::hash(picture.bytes(), QCryptographicHash::Md5));
        }
        QCOMPARE(copiedMd5, sourceMd5);  // four distinct pictures, none lost or repeated

        QCOMPARE(link.deleteImage(to, *copied[2]), 0);
        const SFeatrueList left = recordsOf(to, job.library().libid);
        QCOMPARE(left.size(), 3);
        for (const SFeatrueInfoPtr& record : left)
            QVERIFY(record->imgid != copied[2]->imgid);
    }

    void pagesFollowTheLibrarySize() {
        QCOMPARE(DbExportModule::pageSizeFor(5), 10);
        QCOMPARE(DbExportModule::pageSizeFor(21), 10);
        QCOMPARE(DbExportModule::pageSizeFor(150), 15);
        QCOMPARE(DbExportModule::pageSizeFor(1000), 20);
        camsim::Camera* camera = startCamera();
        const SDeviceInfo device = deviceOf(*camera);
        const SDBInfo db = fillLibrary(device, 21);
        camera->journal().clear();
        exportLibrary(device, db.libid, 0);
        QCOMPARE(int(camera->journal().on("/api/v1/recognize/export_record").size()), 3);
    }

    void emptyLibraryGivesAPackageOfItsHeader() {
        const SDeviceInfo device = deviceOf(*startCamera());
        SDBInfo db;
        db.name = "empty";
        QVERIFY(Interaction::instance().addFaceDB(device, &db));
        const QString zip = exportLibrary(device, db.libid, 0);
        QProcess unzip;
        unzip.start("unzip", {"-Z1", zip});
        QVERIFY(unzip.waitForFinished(10000));
        QCOMPARE(QString::fromUtf8(unzip.readAllStandardOutput()).trimmed(),
                 QString("package.dat"));

        // Imported, it still makes its library.
        const SDeviceInfo to = deviceOf(*startCamera());
        DbImportModule job(to, zip);
        runToEnd(job);
        QCOMPARE(job.errorCode(), 0);
        QCOMPARE(job.totalCount(), 0);
        SDBInfo made = job.library();
        QVERIFY(Interaction::instance().getFaceDB(to, &made));
        QCOMPARE(made.name, QString("empty"));
        QCOMPARE(made.imgnum, 0);
    }

    // A record without a picture (no URL) travels without one and still costs its step.
    void recordWithoutPictureTravels() {
        const SDeviceInfo from = deviceOf(*startCamera());
        const SDBInfo db = fillLibrary(from, 2);
        auto bare = SFeatrueInfoPtr::create();
        bare->uid = "bare-record";
        bare->name = "no picture";
        bare->ext = QStringList{"", "", "", "", ""};
        QCOMPARE(Interaction::instance().importFaceDB(from, db.libid, {bare}, nullptr), 1);

        DbExportModule job(from, db.libid);
        job.setSavePath(dir_.filePath("bare.zip"));
        QSignalSpy progress(&job, &DbExportModule::signalProgress);
        runToEnd(job);
        QCOMPARE(job.errorCode(), 0);
        QList<int> values;
        for (const QList<QVariant>& emitted : progress)
            values.append(emitted.at(0).toInt());
        QCOMPARE(values, (QList<int>{20, 40, 60, 80, 83, 85, 88, 90, 93, 95, 98, 100}));

        const SDeviceInfo to = deviceOf(*startCamera());
        DbImportModule import(to, job.savePath());
        runToEnd(import);
        QCOMPARE(import.errorCode(), 0);
        QCOMPARE(import.uploadedCount(), 3);
        int withoutUrl = 0;
        for (const SFeatrueInfoPtr& record : recordsOf(to, import.library().libid))
            if (record->uid == "bare-record" && record->url.isEmpty()) ++withoutUrl;
        QCOMPARE(withoutUrl, 1);
    }

    void shortDeliveryAndMissingPicturesAreReported() {
        camsim::Camera* camera = startCamera();
        const SDeviceInfo device = deviceOf(*camera);
        const SDBInfo db = fillLibrary(device, 25);
        const SFeatrueList records = recordsOf(device, db.libid);
        camsim::HttpFault lost;
        lost.path = QUrl(records[3]->url).path().toStdString();
        lost.kind = camsim::FaultKind::Status;
        lost.value = 500;
        camera->addFault(lost);
        camera->setCannedReply(
            "/api/v1/recognize/get_fdlib",
            camsim::HttpResponse{200,
                                 "{\"code\":0,\"msg\":\"success\",\"data\":{\"libid\":\"" +
                                     db.libid.toStdString() +
                                     "\",\"name\":\"gate\",\"threshold\":66,\"imgnum\":30,"
                                     "\"extractnum\":25,\"errornum\":0}}",
                                 "application/json",
                                 {}});
        DbExportModule job(device, db.libid);
        job.setSavePath(dir_.filePath("short.zip"));
        runToEnd(job);
        QCOMPARE(job.errorCode(), 10);
        QCOMPARE(job.exportedCount(), 25);
        QCOMPARE(job.expectedCount(), 30);

        QTemporaryDir out;
        QCOMPARE(QProcess::execute("unzip", {"-q", job.savePath(), "-d", out.path()}), 0);
        package::Contents contents;
        QCOMPARE(package::readFile(out.filePath("package.dat"), contents), package::ReadStatus::Ok);
        QCOMPARE(contents.header.imgnum, 25);
        QVERIFY(contents.records[3]->path.isNull());
        QVERIFY(!QFile::exists(out.filePath(package::picturePath(contents.records[3]->imgid))));
        QVERIFY(QFile::exists(out.filePath(contents.records[4]->path)));
    }

    // Camera data on its way to disk: a picture declaring more pixels than an upload may have
    // is left out unread, and the default file name keeps the camera's texts in one component.
    void hostileCameraDataStaysInBounds() {
        camsim::Camera* camera = startCamera();
        const SDeviceInfo device = deviceOf(*camera);
        const SDBInfo db = fillLibrary(device, 3);
        const SFeatrueList records = recordsOf(device, db.libid);
        const QByteArray bomb = testimages::jpegDeclaring(2000, 1200);
        camera->setCannedReply(QUrl(records[1]->url).path().toStdString(),
                               camsim::HttpResponse{200, bomb.toStdString(), "image/jpeg", {}});
        DbExportModule job(device, db.libid);
        job.setSavePath(dir_.filePath("bomb.zip"));
        runToEnd(job);
        QCOMPARE(job.errorCode(), 0);
        QTemporaryDir out;
        QCOMPARE(QProcess::execute("unzip", {"-q", job.savePath(), "-d", out.path()}), 0);
        package::Contents contents;
        QCOMPARE(package::readFile(out.filePath("package.dat"), contents), package::ReadStatus::Ok);
        QVERIFY(contents.records[1]->path.isNull());
        QVERIFY(QFile::exists(out.filePath(contents.records[2]->path)));

        camera->setCannedReply(
            "/api/v1/recognize/get_fdlib",
            camsim::HttpResponse{200,
                                 "{\"code\":0,\"msg\":\"success\",\"data\":{\"libid\":"
                                 "\"../../x/..\",\"name\":\"g\",\"threshold\":6,\"imgnum\":0,"
                                 "\"extractnum\":0,\"errornum\":0}}",
                                 "application/json",
                                 {}});
        const QString cwd = QDir::currentPath();
        QVERIFY(QDir::setCurrent(out.path()));
        DbExportModule named(device, db.libid);
        runToEnd(named);
        QVERIFY(QDir::setCurrent(cwd));
        QVERIFY(!named.savePath().contains('/'));
        QVERIFY(QFile::exists(out.filePath(named.savePath())));
    }

    void unwritableDestinationFailsWithoutAPartialFile() {
        const SDeviceInfo device = deviceOf(*startCamera());
        const SDBInfo db = fillLibrary(device, 2);
        DbExportModule job(device, db.libid);
        job.setSavePath(dir_.filePath("no-such-dir/out.zip"));
        runToEnd(job);
        QCOMPARE(job.errorCode(), 8);
        QVERIFY(QDir(dir_.filePath("no-such-dir")).entryList(QDir::Files).isEmpty());
    }

    void badPackagesAreRefusedBeforeTheCameraIsTouched_data() {
        QTest::addColumn<QByteArray>("version");
        QTest::addColumn<bool>("withData");
        QTest::addColumn<int>("code");
        QTest::newRow("other version") << QByteArray("\x01\x01\x00\x02", 4) << true << 15;
        QTest::newRow("no package.dat") << QByteArray() << false << 8;
        QTest::newRow("announces more") << QByteArray("\x01\x01\x00\x01", 4) << true << 8;
    }

    void badPackagesAreRefusedBeforeTheCameraIsTouched() {
        QFETCH(QByteArray, version);
        QFETCH(bool, withData);
        QFETCH(int, code);
        camsim::Camera* camera = startCamera();
        const SDeviceInfo device = deviceOf(*camera);
        QByteArray data;
        QDataStream out(&data, QIODevice::WriteOnly);
        out << quint32(package::kMagic);
        data.append(version);
        out.device()->seek(data.size());
        out << QString("lib") << QString("name") << qint32(80) << qint32(30) << qint32(0)
            << qint32(0);  // thirty records announced, none follow
        const QString zip = dir_.filePath(QString("bad-%1.zip").arg(code));
        ZipWriter writer;
        QVERIFY(writer.open(zip));
        if (withData) QVERIFY(writer.addBytes("package.dat", data));
        QVERIFY(writer.addBytes("images/1.jpg", "x"));
        QVERIFY(writer.close());

        DbImportModule job(device, zip);
        runToEnd(job);
        QCOMPARE(job.errorCode(), code);
        QVERIFY(camera->journal().on("/api/v1/recognize/add_fdlib").empty());
    }

    void hostileArchivesWriteNothingOutside() {
        camsim::Camera* camera = startCamera();
        const QString zip = dir_.filePath("hostile.zip");
        const QString script = QString(
            "import zipfile,sys\n"
            "z=zipfile.ZipFile(sys.argv[1],'w')\n"
            "z.writestr('package.dat',b'')\n"
            "z.writestr('../escape.txt',b'out')\n"
            "z.writestr('/abs-escape.txt',b'out')\n");
        QCOMPARE(QProcess::execute("python3", {"-c", script, zip}), 0);
        DbImportModule job(deviceOf(*camera), zip);
        runToEnd(job);
        QCOMPARE(job.errorCode(), 14);
        QVERIFY(!QFile::exists(QDir::tempPath() + "/escape.txt"));
        QVERIFY(!QFile::exists("/abs-escape.txt"));
        QVERIFY(camera->journal().on("/api/v1/recognize/add_fdlib").empty());
    }

    // A picture beyond the upload limit costs its own record's picture, never the package: the
    // export counts and logs it, the import skips that record only and says so.
    void oversizedPicturesAreLeftOutOneByOne() {
        const QString logDir = dir_.filePath("log/");
        AppLog::instance().init(logDir.toStdString());
        AppLog::instance().setLevel(6);
        const SDeviceInfo from = deviceOf(*startCamera());
        const SDeviceInfo to = deviceOf(*startCamera());
        const SDBInfo source = fillLibrary(from, 2);
        const QString big = dir_.filePath("big.jpg");
        QVERIFY(testimages::writeJpeg(big, QSize(300, 300), 300 * 1024));
        auto heavy = SFeatrueInfoPtr::create();
        heavy->name = "heavy";
        heavy->path = big;
        heavy->libid = source.libid;
        QVERIFY(Interaction::instance().addImage(from, heavy));

        DbExportModule exported(from, source.libid);
        exported.setSavePath(dir_.filePath("with-heavy.zip"));
        runToEnd(exported);
        QCOMPARE(exported.errorCode(), 0);
        QCOMPARE(exported.exportedCount(), 3);
        QCOMPARE(exported.pictureCount(), 2);
        QCOMPARE(exported.leftOut().size(), 1);
        QVERIFY(exported.leftOut().first().startsWith("heavy: picture of 307200 bytes"));
        QFile log(QString::fromStdString(AppLog::instance().currentFile()));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains("picture left out: heavy"));

        DbImportModule imported(to, exported.savePath());
        runToEnd(imported);
        QCOMPARE(imported.errorCode(), 0);
        QSet<QByteArray> before, after;
        for (const SFeatrueInfoPtr& record : recordsOf(from, source.libid))
            if (record->name != "heavy") before.insert(pictureMd5(from, record->url));
        for (const SFeatrueInfoPtr& record : recordsOf(to, imported.library().libid))
            if (record->name != "heavy") after.insert(pictureMd5(to, record->url));
        QCOMPARE(after, before);

        // One picture of 216 KB among five in a package made elsewhere.
        const SDeviceInfo other = deviceOf(*startCamera());
        const QString five = exportLibrary(other, fillLibrary(other, 5).libid, 0);
        const QString doctored = rewritten(
            five, "doctored.zip",
            "pics=[i for i in src.infolist() if i.filename.startswith('images/')]\n"
            "[z.writestr(i, b'x'*216000 if i==pics[2] else src.read(i.filename)) "
            "for i in src.infolist()]\n");
        const SDeviceInfo third = deviceOf(*startCamera());
        DbImportModule partial(third, doctored);
        runToEnd(partial);
        QCOMPARE(partial.errorCode(), 10);
        QCOMPARE(partial.totalCount(), 5);
        QCOMPARE(partial.uploadedCount(), 4);
        QCOMPARE(partial.leftOut().size(), 1);
        QCOMPARE(recordsOf(third, partial.library().libid).size(), 4);
    }

    void directoryEntriesAndAStopRequest() {
        const SDeviceInfo from = deviceOf(*startCamera());
        const SDeviceInfo to = deviceOf(*startCamera());
        const QString zip = exportLibrary(from, fillLibrary(from, 6).libid, 0);
        // The same package with directory entries added, as other zip tools write it.
        const QString withDirs =
            rewritten(zip, "with-dirs.zip",
                      "z.writestr('images/',b'')\n"
                      "[z.writestr(i,src.read(i.filename)) for i in src.infolist()]\n");
        DbImportModule plain(to, withDirs);
        runToEnd(plain);
        QCOMPARE(plain.errorCode(), 0);
        QCOMPARE(plain.uploadedCount(), 6);

        JobControl control;
        DbImportModule stopped(deviceOf(*startCamera()), zip);
        connect(
            &stopped, &DbImportModule::signalProgress, &stopped,
            [&](int val) {
                if (val > 30) control.cancelAll(true);
            },
            Qt::DirectConnection);
        runToEnd(stopped);
        QCOMPARE(stopped.errorCode(), 10);
        QCOMPARE(stopped.uploadedCount(), 1);
        QCOMPARE(stopped.totalCount(), 6);
    }
};

QTEST_GUILESS_MAIN(PackageJobTest)
#include "package_job_test.moc"
