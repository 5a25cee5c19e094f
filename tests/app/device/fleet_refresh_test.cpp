// The device page refreshing many cameras: rows answer one by one, a Cancel half way leaves the
// rows not reached as they were.
#include <QProgressBar>
#include <QtTest>

#include "dbutil/interaction.h"
#include "fleet/fleetsettings.h"
#include "page_harness.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

class FleetRefreshTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

private slots:
    // As the program starts: camlink runs calls of different cameras side by side.
    void initTestCase() { fleet::applySessionMode(fleet::Settings()); }

    void cleanup() {
        cameras_.stopAll();
        fleet::setLimit(fleet::kDefaultLimit);
    }

    void cancelHalfWayKeepsTheOtherRows() {
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < 6; ++i)
            devices << deviceOf(*mustStart(cameras_));
        PageHarness harness;
        harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        QTRY_VERIFY(harness.overlay()->isHidden());
        // What the next refresh would show: a library on every camera.
        for (const SDeviceInfo& device : devices) {
            SDBInfo db;
            db.name = "late";
            QVERIFY(Interaction::instance().addFaceDB(device, &db));
        }

        fleet::setLimit(1);
        auto lateRows = [&] {
            int rows = 0;
            for (int row = 0; row < devices.size(); ++row)
                rows += harness.cell(row, DeviceInfoTableModel::ColumnDb1) == "late";
            return rows;
        };
        QString barAtCancel;
        connect(harness.model(), &QAbstractItemModel::dataChanged, this, [&] {
            if (!barAtCancel.isEmpty() || lateRows() < 3) return;
            barAtCancel = harness.overlay()->findChild<QProgressBar*>("progressBar")->text();
            harness.overlay()->findChild<QPushButton*>("btn_cancel")->click();
        });
        harness.button("btn_update_all")->click();
        QVERIFY(harness.overlay()->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(harness.overlay()->isHidden(), kCameraWaitMs);

        QCOMPARE(barAtCancel, QString("3 / 6"));
        QCOMPARE(lateRows(), 3);
        for (int row = 0; row < devices.size(); ++row) {
            QCOMPARE(harness.cell(row, DeviceInfoTableModel::ColumnDb1),
                     QString(row < 3 ? "late" : ""));
            QCOMPARE(harness.statusOf(devices.at(row).ip), QString("Network Normal"));
        }
    }
};

QTEST_MAIN(FleetRefreshTest)
#include "fleet_refresh_test.moc"
