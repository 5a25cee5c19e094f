// A library kept the same on several simulated cameras: the plan of each camera against
// hand-made differences, the apply and its report, a second sync that sends nothing, and a
// camera that stops half way and is completed by a retry of what failed.
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>

#include "app_cameras.h"
#include "camsim.h"
#include "digestcache.h"
#include "support/camera_fixture.h"
#include "syncrun.h"

using facesync::Change;
using facesync::SyncRun;

namespace {

constexpr char kLibrary[] = "staff";
constexpr int kWaitMs = 60000;  // a bound on a stuck run, not a timing expectation

// uid -> "name|ext1|picture md5": what a library holds, as the sync must make it.
using Contents = std::map<std::string, std::string>;

int64_t putRecord(camsim::Camera& camera, const std::string& libid, const std::string& uid,
                  int pictureSeed, const std::string& dept = "d") {
    camsim::NewImage image;
    image.libid = libid;
    image.uid = uid;
    image.name = "name-" + uid;
    image.ext = {dept, "", "", "", ""};
    image.bytes = testsupport::makeJpeg(
        120 + pictureSeed % 40, 140, std::string(200 + pictureSeed, char('A' + pictureSeed % 26)));
    return camera.faces().addImage(image).data["imgid"].asInt64();
}

std::string makeLibrary(camsim::Camera& camera, const std::string& name) {
    return camera.faces().createLibrary(name, 80).data["libid"].asString();
}

Contents contentsOf(camsim::Camera& camera, const std::string& name, int* withoutUid = nullptr) {
    Contents contents;
    for (const camsim::LibraryRecord& library : camera.faces().snapshot()) {
        if (library.name != name) continue;
        for (const auto& entry : library.images) {
            const camsim::ImageRecord& image = entry.second;
            if (image.uid.empty() && withoutUid) ++*withoutUid;
            if (image.uid.empty()) continue;
            // A uid held twice shows as a second key, so duplicates are seen.
            std::string key = image.uid;
            while (contents.count(key))
                key += "+";
            contents[key] = image.name + "|" + image.ext[0] + "|" + image.md5;
        }
    }
    return contents;
}

// Requests that changed something, or read pictures.
int requestsTo(camsim::Camera& camera, const std::string& prefix, bool answeredOnly = true) {
    int count = 0;
    for (const camsim::JournalEntry& entry : camera.journal().entries())
        if (entry.authenticated && entry.path.rfind(prefix, 0) == 0 &&
            (!answeredOnly || entry.status == 200))
            ++count;
    return count;
}

// Requests that change a camera's libraries, answered or not.
int mutations(camsim::Camera& camera) {
    int count = 0;
    for (const char* path : {"add_fdlib", "update_fdlib", "del_fdlib", "del_all_img",
                             "fdlib/add_img", "fdlib/update_img", "fdlib/del_img", "fdlib/extract"})
        count += requestsTo(camera, std::string("/api/v1/recognize/") + path, false);
    return count;
}

std::string md5Of(camsim::Camera& camera, const std::string& uid) {
    for (const camsim::LibraryRecord& library : camera.faces().snapshot())
        for (const auto& entry : library.images)
            if (entry.second.uid == uid) return entry.second.md5;
    return {};
}

// Position of the first request that matches, or -1.
int journalIndex(camsim::Camera& camera,
                 const std::function<bool(const camsim::JournalEntry&)>& match) {
    const std::vector<camsim::JournalEntry> entries = camera.journal().entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].authenticated && match(entries[i])) return int(i);
    return -1;
}

QSet<QString> uidsOf(const facesync::TargetPlan& plan, Change change) {
    QSet<QString> uids;
    for (const facesync::PlannedChange& planned : plan.changes)
        if (planned.change == change) uids.insert(planned.uid);
    return uids;
}

QSet<QString> set(std::initializer_list<const char*> uids) {
    QSet<QString> out;
    for (const char* uid : uids)
        out.insert(QString::fromLatin1(uid));
    return out;
}

}  // namespace

class SyncTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir state_;

    facesync::Options options(bool removeMissing) const {
        facesync::Options options;
        options.libraryName = kLibrary;
        options.removeMissing = removeMissing;
        options.digestDir = state_.filePath("sync");
        return options;
    }

    std::shared_ptr<facesync::Source> cameraSource(camsim::Camera& camera) {
        auto source = std::make_shared<facesync::Source>();
        QString error;
        const bool loaded = facesync::loadCameraSource(testsupport::deviceOf(camera), kLibrary,
                                                       source.get(), &error);
        if (!loaded) qWarning("%s", qPrintable(error));
        return loaded ? source : nullptr;
    }

    static QVector<facesync::Target> targets(std::initializer_list<camsim::Camera*> cameras) {
        QVector<facesync::Target> out;
        for (camsim::Camera* camera : cameras)
            out << facesync::Target{testsupport::deviceOf(*camera), {}};
        return out;
    }

    static bool plan(SyncRun& run) {
        QSignalSpy done(&run, &SyncRun::signalPlanDone);
        run.plan();
        return done.count() == 1 || done.wait(kWaitMs);
    }

    static reports::JobReport apply(SyncRun& run) {
        reports::JobReport report;
        QEventLoop loop;
        QObject::connect(&run, &SyncRun::signalApplied, &loop,
                         [&](const reports::JobReport& applied) { report = applied, loop.quit(); });
        QTimer::singleShot(kWaitMs, &loop, &QEventLoop::quit);
        run.apply();
        if (report.rows.isEmpty() && !report.ended.isValid()) loop.exec();
        return report;
    }

    static QMap<QString, QString> rowsOf(const reports::JobReport& report, const QString& camera) {
        QMap<QString, QString> rows;  // uid -> outcome key and reason
        for (const reports::ReportRow& row : report.rows)
            if (row.camera == camera)
                rows[row.file] = reports::outcomeKey(row.outcome) + ": " + row.reason;
        return rows;
    }

private slots:
    void initTestCase() { QVERIFY(state_.isValid()); }

    // One source, three cameras: one holding hand-made differences, one at the two-library
    // limit, one without the library. Planned with and without removal, applied, planned again.
    void planApplyAndSyncAgain() {
        camsim::Camera* source = testsupport::mustStart(cameras_);
        camsim::Camera* differing = testsupport::mustStart(cameras_);
        camsim::Camera* full = testsupport::mustStart(cameras_);
        camsim::Camera* empty = testsupport::mustStart(cameras_);
        const std::string from = makeLibrary(*source, kLibrary);
        for (int i = 1; i <= 6; ++i)
            putRecord(*source, from, "u" + std::to_string(i), i);
        putRecord(*source, from, "", 7);  // cannot be matched: not sent
        const std::string to = makeLibrary(*differing, kLibrary);
        putRecord(*differing, to, "u1", 1);
        putRecord(*differing, to, "u2", 20);  // left by an interrupted replacement: goes
        putRecord(*differing, to, "u2", 2);
        putRecord(*differing, to, "u3", 3, "moved");                // texts differ
        const int64_t oldU4 = putRecord(*differing, to, "u4", 40);  // picture differs
        putRecord(*differing, to, "gone", 9);                       // only the target has it
        putRecord(*differing, to, "", 10);                          // never touched
        makeLibrary(*full, "a");
        makeLibrary(*full, "b");
        const Contents fullBefore = contentsOf(*full, "a");

        const auto src = cameraSource(*source);
        QVERIFY(src);
        QCOMPARE(src->records.size(), 6);
        QCOMPARE(src->withoutUid, 1);

        // Without removal: nothing of the target only is planned away; nothing is sent.
        SyncRun keep(src, options(false), targets({differing, full, empty}));
        QVERIFY(plan(keep));
        const facesync::TargetPlan& kept = keep.plans()[0];
        QVERIFY2(kept.ok(), qPrintable(kept.reason));
        QCOMPARE(uidsOf(kept, Change::Add), set({"u5", "u6"}));
        QCOMPARE(uidsOf(kept, Change::UpdateTexts), set({"u3"}));
        QCOMPARE(uidsOf(kept, Change::ReplacePicture), set({"u4"}));
        QCOMPARE(uidsOf(kept, Change::Delete), set({"u2"}));
        QCOMPARE(kept.summary(), QString("+2 ~2 -1"));
        QCOMPARE(kept.unchanged, 2);
        QCOMPARE(kept.kept, 1);
        QCOMPARE(kept.withoutUid, 1);
        QVERIFY(!keep.plans()[1].ok());
        QVERIFY(keep.plans()[2].createLibrary);
        QCOMPARE(keep.plans()[2].summary(), QString("+6 ~0 -0"));
        QCOMPARE(facesync::totalSummary(keep.plans()), QString("+8 ~2 -1"));
        // The first plan of a camera downloads each matched picture once to learn its digest.
        QCOMPARE(requestsTo(*differing, "/images/"), 5);
        // Cancelled once planned: every camera is left out, nothing is sent.
        keep.cancel();
        QCOMPARE(apply(keep).count(reports::Outcome::Skipped), 3);
        for (camsim::Camera* camera : {differing, full, empty})
            QCOMPARE(mutations(*camera), 0);

        differing->journal().clear();
        SyncRun run(src, options(true), targets({differing, full, empty}));
        QVERIFY(plan(run));
        QCOMPARE(run.plans()[0].summary(), QString("+2 ~2 -2"));
        QCOMPARE(uidsOf(run.plans()[0], Change::Delete), set({"gone", "u2"}));
        QCOMPARE(requestsTo(*differing, "/images/"), 0);  // the digests were kept
        const reports::JobReport report = apply(run);
        QCOMPARE(report.kind, reports::JobKind::Sync);
        QCOMPARE(report.source, src->label);

        const QString differingIp = QString::fromStdString(differing->config().address);
        const QMap<QString, QString> rows = rowsOf(report, differingIp);
        QCOMPARE(rows.keys(), QStringList({"gone", "u2", "u3", "u4", "u5", "u6"}));
        QCOMPARE(rows["u4"], QString("stored: Picture replaced"));
        // The new picture was held before the old record went.
        const std::string newU4 = md5Of(*source, "u4");
        const int added = journalIndex(*differing, [&](const camsim::JournalEntry& e) {
            return e.path == "/api/v1/recognize/fdlib/add_img" && e.status == 200 &&
                   QByteArray::fromStdString(e.header("md5")).toLower() ==
                       QByteArray::fromStdString(newU4).toLower();
        });
        const int deleted = journalIndex(*differing, [&](const camsim::JournalEntry& e) {
            return e.path == "/api/v1/recognize/fdlib/del_img" &&
                   QJsonDocument::fromJson(QByteArray::fromStdString(e.body))["imgid"]
                           .toVariant()
                           .toLongLong() == oldU4;
        });
        QVERIFY(added >= 0 && deleted > added);
        QCOMPARE(rows["gone"], QString("stored: Deleted"));
        QCOMPARE(rows["u2"], QString("stored: Deleted"));
        QCOMPARE(rows["u3"], QString("stored: Texts updated"));
        const QMap<QString, QString> fullRows =
            rowsOf(report, QString::fromStdString(full->config().address));
        QCOMPARE(fullRows.size(), 1);
        QVERIFY(fullRows.first().startsWith("failed"));
        QCOMPARE(report.count(reports::Outcome::Stored), 6 + 6);

        int untouched = 0;
        const Contents wanted = contentsOf(*source, kLibrary);
        QCOMPARE(contentsOf(*differing, kLibrary, &untouched), wanted);
        QCOMPARE(untouched, 1);
        QCOMPARE(contentsOf(*empty, kLibrary), wanted);
        QCOMPARE(contentsOf(*full, "a"), fullBefore);
        QCOMPARE(mutations(*full), 0);
        QVERIFY(requestsTo(*empty, "/api/v1/recognize/fdlib/extract") > 0);

        // Right after: every camera already holds the source; nothing is read or sent.
        for (camsim::Camera* camera : {differing, full, empty})
            camera->journal().clear();
        SyncRun again(src, options(true), targets({differing, full, empty}));
        QVERIFY(plan(again));
        QCOMPARE(again.plans()[0].summary(), QString("+0 ~0 -0"));
        QCOMPARE(again.plans()[2].summary(), QString("+0 ~0 -0"));
        QCOMPARE(again.plannedChanges(), 0);
        const reports::JobReport nothing = apply(again);
        QCOMPARE(nothing.rows.size(), 1);  // the camera at the limit, again
        for (camsim::Camera* camera : {differing, full, empty}) {
            QCOMPARE(mutations(*camera), 0);
            QCOMPARE(requestsTo(*camera, "/images/"), 0);
        }
    }

    // The digests of a camera's pictures survive the program; damaged lines are dropped, of two
    // lines for one picture the later counts, an apply's edits merge into the file, and a libid
    // from the camera cannot lead the file out of its folder.
    void digestCacheFile() {
        const QString dir = state_.filePath("digests");
        facesync::DigestCache cache(dir, "10.0.0.1", "../../x/y");
        QCOMPARE(QFileInfo(cache.path()).absolutePath(), QDir(dir).absolutePath());
        const QByteArray md5 = QByteArray::fromHex("00112233445566778899aabbccddeeff");
        for (qint64 imgid : {7, 8, 13})
            cache.put(imgid, md5);
        QVERIFY(cache.save());
        QFile file(cache.path());
        QVERIFY(file.open(QIODevice::Append));
        file.write(
            "9 0011\n-1 00112233445566778899aabbccddeeff\nx y\n10 "
            "zz112233445566778899aabbccddeeff\n8 ffeeddccbbaa99887766554433221100\n");
        file.close();
        const QByteArray later = QByteArray::fromHex("ffeeddccbbaa99887766554433221100");
        facesync::DigestCache again(dir, "10.0.0.1", "../../x/y");
        again.load();
        QCOMPARE(again.size(), 3);
        QCOMPARE(again.get(8), later);
        again.keepOnly({8, 13});
        QCOMPARE(again.get(7), QByteArray());
        QCOMPARE(again.size(), 2);

        facesync::DigestEdits edits;
        edits.put(11, md5);
        edits.put(12, md5);
        edits.remove(12);
        edits.remove(8);
        edits.put(7, later);
        QVERIFY(edits.save(cache.path()));
        facesync::DigestCache merged(dir, "10.0.0.1", "../../x/y");
        merged.load();
        QCOMPARE(merged.size(), 3);
        QCOMPARE(merged.get(7), later);
        QCOMPARE(merged.get(11), md5);
        QCOMPARE(merged.get(13), md5);
        edits.startFresh();
        QVERIFY(edits.save(cache.path()));
        merged.load();
        QCOMPARE(merged.size(), 2);  // only the edits' own digests
        const QString firstFile = QDir(dir).filePath("new/first.md5");  // neither file nor folder
        QVERIFY(facesync::DigestEdits().save(firstFile));
        QVERIFY(QFileInfo(firstFile).isFile());
    }

    // A camera that stops taking pictures after four: the rest fail, the camera-level outcome
    // is reported, and a retry of the failed uids completes it, each picture sent once.
    void stoppedCameraRetried() {
        camsim::Camera* source = testsupport::mustStart(cameras_);
        camsim::Camera* target = testsupport::mustStart(cameras_);
        const std::string from = makeLibrary(*source, kLibrary);
        for (int i = 1; i <= 10; ++i)
            putRecord(*source, from, "r" + std::to_string(i), 20 + i);
        const auto src = cameraSource(*source);
        QVERIFY(src);
        constexpr char kAdd[] = "/api/v1/recognize/fdlib/add_img";
        target->addFault({kAdd, camsim::FaultKind::Latency, 0, 4});
        target->addFault({kAdd, camsim::FaultKind::Drop, 0, -1});

        SyncRun first(src, options(false), targets({target}));
        QVERIFY(plan(first));
        QVERIFY(first.plans()[0].createLibrary);
        const reports::JobReport report = apply(first);
        QCOMPARE(report.count(reports::Outcome::Stored), 4);
        QCOMPARE(report.count(reports::Outcome::Failed), 6);
        QCOMPARE(int(contentsOf(*target, kLibrary).size()), 4);

        target->clearFaults();
        const QVector<facesync::Target> retry = facesync::retryTargets(
            report, {testsupport::deviceOf(*source), testsupport::deviceOf(*target)});
        QCOMPARE(retry.size(), 1);
        SyncRun second(src, options(false), retry);
        QVERIFY(plan(second));
        QCOMPARE(retry[0].onlyUids.size(), 6);
        QCOMPARE(uidsOf(second.plans()[0], Change::Add), retry[0].onlyUids);
        QCOMPARE(apply(second).count(reports::Outcome::Stored), 6);

        QCOMPARE(contentsOf(*target, kLibrary), contentsOf(*source, kLibrary));
        QCOMPARE(requestsTo(*target, kAdd), 10);
    }
};

QTEST_GUILESS_MAIN(SyncTest)
#include "sync_test.moc"
