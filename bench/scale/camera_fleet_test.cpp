// The scale run's cameras as camsim reads them: distinct addresses across /24 boundaries,
// credentials the program accepts, the large library on camera 0 sharing one picture, and an
// empty library on each batch camera only.
#include <QImage>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

#include "camera_config.h"
#include "camera_fleet.h"
#include "dbutil/inputcheck.h"

class CameraFleetTest : public QObject {
    Q_OBJECT

private slots:
    void camsimReadsTheFleet() {
        QTemporaryDir dir;
        fleet::Plan plan;
        plan.cameras = 260;
        plan.libraryPictures = 300;
        plan.batchCameras = 5;
        plan.sharedPicture = dir.filePath("face.jpg");
        QVERIFY(fleet::writePicture(plan.sharedPicture, 120, 150, 1));
        QVERIFY(!QImage(plan.sharedPicture).isNull());
        const QString file = dir.filePath("cameras.json");
        QVERIFY(fleet::writeCamsimConfig(file, plan));
        QFile json(file);
        QVERIFY(json.open(QIODevice::ReadOnly));
        const auto cameras = camsim::parseCameraConfigs(json.readAll().toStdString());

        QCOMPARE(int(cameras.size()), plan.cameras);
        std::set<std::string> addresses;
        for (const auto& camera : cameras) {
            addresses.insert(camera.address);
            QVERIFY(camera.search);
        }
        QCOMPARE(int(addresses.size()), plan.cameras);
        QCOMPARE(cameras[249].address, std::string("127.1.0.251"));
        QCOMPARE(cameras[250].address, std::string("127.1.1.2"));
        QVERIFY(isValidUserNameLength(fleet::kUser) && isValidPasswordLength(fleet::kPassword));

        QCOMPARE(int(cameras[0].libraries.size()), 1);
        const auto& people = cameras[0].libraries[0];
        QCOMPARE(int(people.images.size()), plan.libraryPictures);
        std::set<std::string> names;
        for (const auto& image : people.images) {
            QCOMPARE(QString::fromStdString(image.path), plan.sharedPicture);
            names.insert(image.name);
        }
        QCOMPARE(int(names.size()), plan.libraryPictures);
        for (int i = 1; i <= plan.batchCameras; ++i) {
            QCOMPARE(int(cameras[i].libraries.size()), 1);
            QCOMPARE(cameras[i].libraries[0].name, std::string("batch"));
            QVERIFY(cameras[i].libraries[0].images.empty());
        }
        QVERIFY(cameras[plan.batchCameras + 1].libraries.empty());
    }
};

QTEST_GUILESS_MAIN(CameraFleetTest)
#include "camera_fleet_test.moc"
