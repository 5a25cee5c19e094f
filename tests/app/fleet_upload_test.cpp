// Pictures into one slow camera side by side: the camera takes several at once, each picture's
// calls stay in order on one connection, every picture is stored and written once, the count
// reaches the caller in steps of one on its own thread, and a stop ends the lanes early.
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThread>
#include <QtTest>
#include <condition_variable>
#include <map>
#include <mutex>
#include <numeric>

#include "app_cameras.h"
#include "camsim.h"
#include "dbutil/interaction.h"
#include "fleet/fleetlanes.h"
#include "fleet/fleetsettings.h"
#include "pictures.h"
#include "support/camera_set.h"

namespace {

constexpr char kAdd[] = "/api/v1/recognize/fdlib/add_img";
constexpr char kUpdate[] = "/api/v1/recognize/fdlib/update_img";
constexpr char kFind[] = "/api/v1/recognize/fdlib/get_img";
constexpr char kLibrary[] = "/api/v1/recognize/get_fdlib";

qint64 imageIdOf(const camsim::JournalEntry& entry) {
    return QJsonDocument::fromJson(QByteArray::fromStdString(entry.body))
        .object()
        .value("imgid")
        .toVariant()
        .toLongLong();
}

}  // namespace

class FleetUploadTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir files_;

    SFeatrueList pictures(int count) {
        SFeatrueList images;
        for (int i = 0; i < count; ++i) {
            auto image = SFeatrueInfoPtr::create();
            image->name = QString("p%1").arg(i);
            image->path = testpictures::writeJpeg(files_.path(), image->name + ".jpg", 140, 150, i);
            images.append(image);
        }
        return images;
    }

private slots:
    // As the program starts: camlink runs calls of different sessions side by side.
    void initTestCase() { fleet::applySessionMode(fleet::Settings()); }

    void picturesGoInLanesAndEachInOrder() {
        camsim::Camera* camera = testsupport::mustStart(cameras_);
        const SDeviceInfo device = testsupport::deviceOf(*camera);
        SDBInfo db;
        db.name = "lanes";
        QVERIFY(Interaction::instance().addFaceDB(device, &db));
        camsim::HttpFault slow;
        slow.kind = camsim::FaultKind::Latency;
        slow.value = 40;
        camera->addFault(slow);
        camera->journal().clear();

        const int count = 9;
        const SFeatrueList images = pictures(count);
        QVector<int> counts;
        bool onCaller = true;
        const int added = Interaction::instance().addImages(device, db.libid, images, [&](int n) {
            counts << n;
            onCaller = onCaller && QThread::currentThread() == thread();
            return false;
        });
        QCOMPARE(added, count);
        QVERIFY(onCaller);
        // Every picture stored: the look-up before counts, none after is needed.
        QCOMPARE(camera->journal().on(kLibrary).size(), size_t(1));
        QVector<int> steps(count);
        std::iota(steps.begin(), steps.end(), 1);
        QCOMPARE(counts, steps);

        // Each picture: added, written and read back one after another on one connection.
        const std::vector<camsim::JournalEntry> journal = camera->journal().entries();
        std::map<std::string, std::vector<const camsim::JournalEntry*>> byPeer;
        for (const camsim::JournalEntry& entry : journal)
            if (entry.authenticated) byPeer[entry.peer].push_back(&entry);
        QVERIFY(byPeer.size() >= 2);
        QSet<qint64> written;
        for (const auto& [peer, entries] : byPeer) {
            for (size_t i = 0; i < entries.size(); ++i) {
                if (entries[i]->path != kUpdate) continue;
                QVERIFY(i > 0 && i + 1 < entries.size());
                QCOMPARE(entries[i - 1]->path, std::string(kAdd));
                QCOMPARE(entries[i + 1]->path, std::string(kFind));
                QCOMPARE(imageIdOf(*entries[i + 1]), imageIdOf(*entries[i]));
                written << imageIdOf(*entries[i]);
            }
        }
        QCOMPARE(written.size(), count);
        QCOMPARE(int(camera->journal().on(kAdd).size()), count);
        // Side by side: some add began while another was still waiting for its answer.
        const auto adds = camera->journal().on(kAdd);
        bool overlapped = false;
        for (size_t i = 1; i < adds.size(); ++i)
            overlapped = overlapped || adds[i].received < adds[i - 1].answered;
        QVERIFY(overlapped);
        for (const SFeatrueInfoPtr& image : images)
            QCOMPARE(image->uid.size(), 36);  // written back by the update, read by the find

        // A stop: each lane ends its current picture and takes no other.
        const int stopped = Interaction::instance().addImages(device, db.libid, pictures(count),
                                                              [](int n) { return n >= 2; });
        QVERIFY(stopped >= 2 && stopped < 2 + fleet::kLanes);
        SDBInfo after = db;
        QVERIFY(Interaction::instance().getFaceDB(device, &after));
        QCOMPARE(after.imgnum, count + stopped);

        // A refused picture: the look-up after tells what the camera holds.
        camera->journal().clear();
        camera->clearFaults();
        camera->addFault(*camsim::parseFault(std::string("status:500@") + kAdd + "#1"));
        QCOMPARE(Interaction::instance().addImages(device, db.libid, pictures(3), nullptr), 2);
        QCOMPARE(camera->journal().on(kLibrary).size(), size_t(2));
    }

    // The lanes log in while the caller's look-up runs, and no lane takes an item before it ends.
    void lanesOpenWhileTheLookUpRuns() {
        std::mutex mutex;
        std::condition_variable opened;
        int sessions = 0;
        bool lookUpDone = false, stepBeforeLookUp = false;
        fleet::LaneWork work;
        work.items = 8;
        work.firstHandle = 1;
        work.openSession = [&] {
            std::lock_guard<std::mutex> lock(mutex);
            opened.notify_all();
            return 100 + ++sessions;
        };
        work.closeSession = [](int) {};
        work.step = [&](int, int) {
            std::lock_guard<std::mutex> lock(mutex);
            stepBeforeLookUp = stepBeforeLookUp || !lookUpDone;
            return 0;
        };
        bool allOpenDuringLookUp = false;
        work.beforeItems = [&] {
            std::unique_lock<std::mutex> lock(mutex);
            allOpenDuringLookUp = opened.wait_for(lock, std::chrono::seconds(20),
                                                  [&] { return sessions == fleet::kLanes - 1; });
            lookUpDone = true;
        };
        const fleet::LaneResult result = fleet::runInLanes(work);
        QVERIFY(allOpenDuringLookUp);
        QVERIFY(!stepBeforeLookUp);
        QCOMPARE(result.succeeded, work.items);
    }
};

QTEST_GUILESS_MAIN(FleetUploadTest)
#include "fleet_upload_test.moc"
