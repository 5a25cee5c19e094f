// Interaction against simulated cameras: the session cache, reply parsing, retries and the
// members' results, over real sockets.
#include <QFile>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QtTest>
#include <atomic>
#include <thread>

#include "app_cameras.h"
#include "applog.h"
#include "camsim.h"
#include "dbutil/devicecontrol.h"
#include "dbutil/interaction.h"
#include "dbutil/resultcode.h"
#include "pictures.h"
#include "support/camera_fixture.h"
#include "support/camera_set.h"

namespace {

using testsupport::deviceOf;

camsim::HttpResponse reply(int status, const std::string& body) {
    camsim::HttpResponse response;
    response.status = status;
    response.body = body;
    return response;
}

camsim::HttpResponse jsonReply(const std::string& body) {
    return reply(200, body);
}

int channelLogins(camsim::Camera& camera) {
    std::lock_guard<std::mutex> lock(camera.channel().mutex);
    return camera.channel().logins;
}

int channelLogouts(camsim::Camera& camera) {
    std::lock_guard<std::mutex> lock(camera.channel().mutex);
    return camera.channel().logouts;
}

}  // namespace

class InteractionTest : public QObject {
    Q_OBJECT

private:
    camsim::Camera* startCamera(camsim::CameraConfig config = {}) {
        return testsupport::mustStart(cameras_, config);
    }
    // A library on the camera with `count` pictures added through Interaction.
    SDBInfo libraryWithPictures(Interaction& link, const SDeviceInfo& device, int count) {
        SDBInfo db;
        db.name = "staff";
        db.threshold = 75;
        if (!link.addFaceDB(device, &db)) qFatal("library not created");
        SFeatrueList images;
        for (int i = 0; i < count; ++i) {
            auto image = SFeatrueInfoPtr::create();
            image->name = QString("person %1").arg(i);
            image->path =
                testpictures::writeJpeg(dir_.path(), QString("p%1.jpg").arg(i), 160, 200, i);
            images.append(image);
        }
        if (link.addImages(device, db.libid, images, nullptr) != count) qFatal("pictures lost");
        return db;
    }

    testsupport::CameraSet cameras_;
    QTemporaryDir dir_;

private slots:
    void cleanup() { cameras_.stopAll(); }
    // Pool threads end before the program does: a thread that outlives the crypto library's exit
    // handlers keeps the per-thread random generator the transfer library made for it.
    void cleanupTestCase() { QThreadPool::globalInstance()->waitForDone(); }

    void sessionIsCachedUntilCredentialsChange() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        SDeviceInfo device = deviceOf(*camera);
        SDBInfo db;
        db.name = "first";
        QVERIFY(link.addFaceDB(device, &db));
        QVERIFY(link.getFaceDB(device, &db));
        QCOMPARE(channelLogins(*camera), 1);
        QCOMPARE(link.sessionCount(), 1);

        camera->channel().mutex.lock();
        camera->channel().logins = 0;
        camera->channel().mutex.unlock();
        device.password = "wrong-one";
        LoginResult result;
        QCOMPARE(link.login(device.ip, device.username, device.password, &result), 0);
        QCOMPARE(result.code, 403);
        QTRY_COMPARE_WITH_TIMEOUT(channelLogouts(*camera), 1, 5000);  // the old session went first
        QCOMPARE(link.sessionCount(), 0);

        device = deviceOf(*camera);
        QVERIFY(link.getFaceDB(device, &db));
        QCOMPARE(channelLogins(*camera), 1);
        link.logoutAll();
        QTRY_COMPARE_WITH_TIMEOUT(channelLogouts(*camera), 2, 5000);
    }

    // The camera's own lock-out: five wrong passwords, then 423 with the seconds left, even
    // for the right one.
    void refusedLoginsTellWhatIsLeft() {
        camsim::CameraConfig config;
        config.lockoutSeconds = 45;
        camsim::Camera* camera = startCamera(config);
        Interaction link;
        const QString ip = QString::fromStdString(camera->config().address);
        LoginResult result;
        for (int i = 0; i < 3; ++i)
            QCOMPARE(link.login(ip, "admin", "bad-password", &result), 0);
        QCOMPARE(result.code, 403);
        QCOMPARE(result.left, 2);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(link.login(ip, "admin", "bad-password", &result), 0);
        QCOMPARE(result.code, 403);
        QCOMPARE(result.left, 0);

        QCOMPARE(link.login(ip, "admin", "admin", &result), 0);
        QCOMPARE(result.code, 423);
        QVERIFY(result.left > 0 && result.left <= 45);
        QCOMPARE(link.sessionCount(), 0);
    }

    void versionIsReadAndTypeChecked() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        LoginResult login;
        QCOMPARE(link.updateIPC(&device, &login), 0);
        QCOMPARE(device.ota, QString("IPC2019-01B-V1.2.1-RECOG-beta.pb3"));
        QCOMPARE(device.status, 0);
        QCOMPARE(login.code, 0);

        camsim::CameraConfig shortVersion;
        shortVersion.firmware = "RECOG-1.2";  // nine characters
        auto other = deviceOf(*startCamera(shortVersion));
        QCOMPARE(link.updateIPC(&other, &login), 9);
        QCOMPARE(other.status, 1);
        QCOMPARE(link.checkIPC(&other, &login), 9);

        auto stranger = SDeviceInfo(device.ip, "admin", "not-this");
        QCOMPARE(link.checkIPC(&stranger, &login), 403);
        QCOMPARE(stranger.status, 1);
        QCOMPARE(link.updateIPC(nullptr, &login), 1);

        // camlink's own result is handed on as it is, not folded into a login failure.
        const QString nobody = QString::fromStdString(testsupport::freshLoopbackAddress());
        auto absent = SDeviceInfo(nobody, "admin", "admin");
        QCOMPARE(link.checkIPC(&absent, &login), int(resultcode::TransferNoConnection));
        QCOMPARE(login.code, int(resultcode::TransferNoConnection));
    }

    void libraryListRepliesAreReadWithCare() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        const std::string lib = R"({"libid":"%1","name":"n%1","threshold":80,"imgnum":3,)"
                                R"("extractnum":1,"errornum":0})";
        auto libraryText = [&](int n) { return QString::fromStdString(lib).arg(n).toStdString(); };
        camera->setCannedReply("/api/v1/recognize/list_fdlib",
                               jsonReply(R"({"code":0,"msg":"success","data":[)" + libraryText(1) +
                                         "," + libraryText(2) + "," + libraryText(3) + "]}"));
        QVERIFY(link.refreshDbList(&device));
        QCOMPARE(device.dbs.size(), 2);
        QCOMPARE(device.dbs[1].libid, QString("2"));
        QCOMPARE(device.dbs[0].imgnum, 3);

        // A number among the libraries is skipped; an object missing a key ends the parse.
        camera->setCannedReply("/api/v1/recognize/list_fdlib",
                               jsonReply(R"({"code":0,"msg":"success","data":[7,)" +
                                         libraryText(4) + R"(,{"libid":"5"}]})"));
        QVERIFY(link.refreshDbList(&device));
        QCOMPARE(device.dbs.size(), 1);
        camera->setCannedReply("/api/v1/recognize/list_fdlib",
                               jsonReply(R"({"code":0,"msg":"success","data":[{"libid":"5"},)" +
                                         libraryText(6) + "]}"));
        QVERIFY(!link.refreshDbList(&device));
        QVERIFY(device.dbs.isEmpty());

        // A key named twice: malformed, and the parser would lose the first value's memory.
        camera->setCannedReply("/api/v1/recognize/list_fdlib",
                               jsonReply(R"({"code":0,"msg":"success","data":[{"a":1}],)"
                                         R"("d\u0061ta":[]})"));
        QVERIFY(!link.refreshDbList(&device));
        camera->setCannedReply("/api/v1/recognize/list_fdlib", jsonReply(R"({"code":0})"));
        QVERIFY(!link.refreshDbList(&device));
    }

    void librariesAreCreatedChangedAndDeleted() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        SDBInfo db;
        db.name = QString::fromUtf8("门卫 staff");
        db.threshold = 70;
        QVERIFY(link.addFaceDB(device, &db));
        QVERIFY(!db.libid.isEmpty());
        db.name = "renamed";
        db.threshold = 90;
        QVERIFY(link.updateFaceDB(device, db));
        SDBInfo found;
        found.libid = db.libid;
        QVERIFY(link.getFaceDB(device, &found));
        QCOMPARE(found.name, QString("renamed"));
        QCOMPARE(found.threshold, 90);

        QCOMPARE(link.lockFaceDB(device, db.libid), 0);
        QCOMPARE(link.unlockFaceDB(device, db.libid), 0);
        QVERIFY(link.deleteFaceDB(device, db.libid));
        QVERIFY(link.deleteFaceDB(device, db.libid));  // 2012: already gone counts as done
        QVERIFY(!link.getFaceDB(device, &found));
        QCOMPARE(link.lockFaceDB(SDeviceInfo(device.ip, "admin", "nope!!"), db.libid), 4);
    }

    void deleteIsRetriedWhileTheCameraIsSlow() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        SDBInfo db;
        db.name = "slow";
        QVERIFY(link.addFaceDB(device, &db));
        camsim::HttpFault slow;  // one answer beyond the request time-out
        slow.path = "/api/v1/recognize/del_fdlib";
        slow.kind = camsim::FaultKind::Latency;
        slow.value = 3000;
        slow.times = 1;
        camera->addFault(slow);
        QVERIFY(link.deleteFaceDB(device, db.libid));
        QVERIFY(camera->journal().on("/api/v1/recognize/del_fdlib").size() >= 2);
        QVERIFY(!link.getFaceDB(device, &db));
    }

    void imagesAreAddedListedAndDeleted() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        SDBInfo db = libraryWithPictures(link, device, 3);

        auto image = SFeatrueInfoPtr::create();
        image->libid = db.libid;
        image->name = "visitor";
        image->ext = QStringList{"a", "b", "c", "d", "e"};
        image->path = testpictures::writeJpeg(dir_.path(), "visitor.jpg", 300, 300, 9);
        QVERIFY(link.addImage(device, image));
        QCOMPARE(image->uid.size(), 36);
        QVERIFY(!image->uid.contains('{'));
        QVERIFY(image->imgid > 0);
        QVERIFY(image->url.startsWith("http://" + device.ip));
        QCOMPARE(image->ext, QStringList({"a", "b", "c", "d", "e"}));

        SPageInfo page;
        page.libid = db.libid;
        page.page_num = 1;
        page.page_size = 10;
        page.conditions.append(qMakePair(QString("name"), QString("visitor")));
        SFeatrueList found;
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0]->uid, image->uid);
        QCOMPARE(page.total, 1);

        page.conditions.clear();
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(page.total, 4);
        auto doomed = QSharedPointer<SFeatrueList>::create(found.mid(0, 2));
        QCOMPARE(link.deleteImages(device, doomed.data()), 2);
        QCOMPARE(link.deleteImage(device, *found[0]), 2010);  // already deleted
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(page.total, 2);
    }

    void imagesAreEditedAndCleared() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        const SDeviceInfo device = deviceOf(*camera);
        SDBInfo db = libraryWithPictures(link, device, 2);

        auto image = SFeatrueInfoPtr::create();
        image->libid = db.libid;
        image->name = "short texts";
        image->ext = QStringList{"only one"};  // fewer than five: the reply fills all five
        image->path = testpictures::writeJpeg(dir_.path(), "edit.jpg", 200, 200, 3);
        QVERIFY(link.addImage(device, image));
        QCOMPARE(image->ext, QStringList({"only one", "", "", "", ""}));

        image->name = "renamed";
        image->ext = QStringList{"1", "2", "3", "4", "5"};
        QVERIFY(link.updateImage(device, *image));
        SFeatrueInfo unknown = *image;
        unknown.imgid = image->imgid + 1000;
        QVERIFY(!link.updateImage(device, unknown));
        SPageInfo page;
        page.libid = db.libid;
        page.page_num = 1;
        page.page_size = 10;
        page.conditions.append(qMakePair(QString("name"), QString("renamed")));
        SFeatrueList found;
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(found.size(), 1);
        QCOMPARE(found[0]->imgid, image->imgid);
        QCOMPARE(found[0]->ext, image->ext);

        QVERIFY(link.clearImages(device, db.libid));
        QVERIFY(link.getFaceDB(device, &db));
        QCOMPARE(db.imgnum, 0);
        QVERIFY(!link.clearImages(device, "no-such-library"));
    }

    void imagePagesSkipWhatIsNotARecord() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        const std::string record =
            R"({"imgid":7,"libid":"1","name":"x","uid":"u","url":"http://a/7.jpg","status":1,)"
            R"("ext1":"","ext2":"","ext3":"","ext4":"","ext5":"","feature":"QUJD"})";
        camera->setCannedReply(
            "/api/v1/recognize/fdlib/list_img",
            jsonReply(R"({"code":0,"msg":"success","data":{"pagination":{"page_num":1,)"
                      R"("page_size":10,"total":2},"record":[)" +
                      record + ",42," + record + "]}}"));
        SPageInfo page;
        page.libid = "1";
        SFeatrueList found;
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(found.size(), 2);
        QCOMPARE(found[1]->feature, QString("QUJD"));
        QCOMPARE(page.reply_page_size, 10);
        QVERIFY(link.listImage(device, nullptr, &found));  // nothing to fill is not a failure
    }

    void pictureBytesComeBackExactly() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        auto device = deviceOf(*camera);
        SDBInfo db = libraryWithPictures(link, device, 1);
        SPageInfo page;
        page.libid = db.libid;
        page.page_num = 1;
        page.page_size = 5;
        SFeatrueList found;
        QVERIFY(link.listImage(device, &page, &found));
        QCOMPARE(found.size(), 1);

        Protocol::MsgImageData data;
        data.url = found[0]->url;
        QCOMPARE(link.getImage(device, &data), 0);
        QFile original(dir_.filePath("p0.jpg"));
        QVERIFY(original.open(QIODevice::ReadOnly));
        QCOMPARE(data.bytes(), original.readAll());

        data.url = "http://" + device.ip + ":8089/images/999999.jpg";
        QCOMPARE(link.getImage(device, &data), -1);
        QCOMPARE(link.getImage(device, nullptr), 1);
    }

    // Two threads share the camera's one session: each must read its own reply, whole.
    void twoThreadsOnOneCameraReadTheirOwnReplies() {
        camsim::Camera* camera = startCamera();
        Interaction link;
        const SDeviceInfo device = deviceOf(*camera);
        const SDBInfo db = libraryWithPictures(link, device, 2);
        auto large = SFeatrueInfoPtr::create();  // a long copy widens the window for a race
        large->libid = db.libid;
        large->path = testpictures::writeJpeg(dir_.path(), "large.jpg", 1920, 1080, 5);
        QVERIFY(link.addImage(device, large));
        SPageInfo page;
        page.libid = db.libid;
        page.page_num = 1;
        page.page_size = 10;
        QFile original(large->path);
        QVERIFY(original.open(QIODevice::ReadOnly));
        const QByteArray picture = original.readAll();

        constexpr int kRounds = 150;
        std::atomic<int> wrong{0};
        std::thread downloads([&] {
            for (int i = 0; i < kRounds; ++i) {
                Protocol::MsgImageData data;
                data.url = large->url;
                if (link.getImage(device, &data) != 0 || data.bytes() != picture) ++wrong;
            }
        });
        std::thread lookups([&] {
            for (int i = 0; i < kRounds; ++i) {
                SDBInfo copy;
                copy.libid = db.libid;
                SPageInfo request = page;
                SFeatrueList listed;
                if (!link.getFaceDB(device, &copy) || copy.name != db.name) ++wrong;
                if (!link.listImage(device, &request, &listed) || listed.size() != 3) ++wrong;
            }
        });
        downloads.join();
        lookups.join();
        QCOMPARE(wrong.load(), 0);
        QCOMPARE(link.sessionCount(), 1);
    }

    void extractionWaitsForARunningOneAndFollowsItToTheEnd() {
        camsim::CameraConfig config;
        config.extractMsPerImage = 60;
        camsim::Camera* camera = startCamera(config);
        Interaction link;
        auto device = deviceOf(*camera);
        SDBInfo db = libraryWithPictures(link, device, 8);

        Interaction other;  // a second session starts an extraction first
        int total = -1, extracted = -1, errors = -1;
        std::thread first(
            [&] { other.extractFeature(device, db.libid, nullptr, nullptr, nullptr, nullptr); });
        QTRY_VERIFY_WITH_TIMEOUT(!camera->journal().on("/api/v1/recognize/fdlib/extract").empty(),
                                 5000);
        int calls = 0;
        QVERIFY(
            link.extractFeature(device, db.libid, &total, &extracted, &errors, [&](int, int, int) {
                ++calls;
                return false;
            }));
        first.join();
        QCOMPARE(total, 8);
        QCOMPARE(extracted + errors, 8);
        QVERIFY(calls >= 1);
        QVERIFY(camera->journal().on("/api/v1/recognize/fdlib/extract").size() >= 3);

        QVERIFY(!link.extractFeature(SDeviceInfo(device.ip, "admin", "nope!!"), db.libid, &total,
                                     &extracted, &errors, nullptr));
        QCOMPARE(total, 0);
    }

    void recordsTravelBetweenCameras() {
        camsim::Camera* source = startCamera();
        camsim::Camera* target = startCamera();
        Interaction link;
        auto from = deviceOf(*source);
        auto to = deviceOf(*target);
        SDBInfo db = libraryWithPictures(link, from, 3);
        int total = 0, extracted = 0, errors = 0;
        QVERIFY(link.extractFeature(from, db.libid, &total, &extracted, &errors, nullptr));

        SPageInfo page;
        page.libid = db.libid;
        page.page_num = 1;
        page.page_size = 10;
        SFeatrueList records;
        QCOMPARE(link.exportFaceDB(from, &page, &records), 0);
        QCOMPARE(records.size(), 3);
        for (int i = 0; i < records.size(); ++i)
            records[i]->path =
                dir_.filePath(QString("p%1.jpg").arg(records[i]->name.section(' ', 1)));
        records[0]->feature.clear();  // claims a feature it does not carry: sent without one

        SDBInfo copy;
        copy.name = db.name;
        QVERIFY(link.addFaceDB(to, &copy));
        int progressCalls = 0;
        QCOMPARE(
            link.importFaceDB(to, copy.libid, records, [&](int) { return ++progressCalls, false; }),
            3);
        QCOMPARE(progressCalls, 3);
        SFeatrueList imported;
        page.libid = copy.libid;
        QCOMPARE(link.exportFaceDB(to, &page, &imported), 0);
        QCOMPARE(imported.size(), 3);
        QCOMPARE(imported[1]->uid, records[1]->uid);
        QCOMPARE(imported[1]->feature, records[1]->feature);
        QCOMPARE(imported[0]->status, 0);
    }

    void cameraTextsAreLoggedAsData() {
        camsim::Camera* camera = startCamera();
        QTemporaryDir logs;
        AppLog::instance().init((logs.path() + "/").toStdString());
        AppLog::instance().setLevel(7);
        camera->setCannedReply("/api/v1/recognize/add_fdlib",
                               jsonReply(R"({"code":2001,"msg":"%s%n%s"})"));
        Interaction link;
        SDBInfo db;
        db.name = "%n%n";
        QVERIFY(!link.addFaceDB(deviceOf(*camera), &db));
        QFile file(QString::fromStdString(AppLog::instance().currentFile()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray text = file.readAll();
        QVERIFY(
            text.contains("Interaction::add_fdb, error code 2001, message "
                          "{\"code\":2001,\"msg\":\"%s%n%s\"}, dbname: %n%n."));
        AppLog::instance().setLevel(-1);
    }

    void deviceControlAnswersOnTheCallingThread() {
        camsim::Camera* camera = startCamera();
        DeviceControl control;
        auto device = QSharedPointer<SDeviceInfo>::create(deviceOf(*camera));
        QThread* callbackThread = nullptr;
        int result = -1;
        control.updateIPC(device, [&](const QVariant& value, const LoginResult& login) {
            callbackThread = QThread::currentThread();
            result = value.toInt();
            QCOMPARE(login.code, 0);
        });
        QTRY_VERIFY_WITH_TIMEOUT(callbackThread != nullptr, 10000);
        QCOMPARE(callbackThread, QThread::currentThread());
        QCOMPARE(result, 0);
        QCOMPARE(device->status, 0);
        QVERIFY(control.findChildren<QFutureWatcherBase*>().isEmpty() || QTest::qWaitFor([&] {
                    return control.findChildren<QFutureWatcherBase*>().isEmpty();
                }));
    }

    void addressesSortNumerically() {
        QCOMPARE(sortAddresses({"10.0.0.12", "10.0.0.3", "10.0.0.3", "1.2.3", "9.255.0.1"}),
                 QStringList({"9.255.0.1", "10.0.0.3", "10.0.0.3", "10.0.0.12"}));
        QVERIFY(isSupportedVersion("V1-RECOG-2"));
        QVERIFY(!isSupportedVersion("V1-RECOG2"));
        QVERIFY(!isSupportedVersion("V1-recog-2"));
    }
};

QTEST_GUILESS_MAIN(InteractionTest)
#include "interaction_test.moc"
