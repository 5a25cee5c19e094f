// Credentials for many cameras and the background check, on the device page against simulated
// cameras: a camera refusing the new credentials keeps its old ones while the others take them
// (in the store and its file); a camera stopped while the page runs is shown lost, highlighted
// and logged within one check interval, and normal again when it returns.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTableWidget>
#include <QtTest>

#include "applog.h"
#include "fleet/fleetsettings.h"
#include "page_harness.h"
#include "ui/device/credentialsdialog.h"
#include "ui/device/credentialsresultdialog.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/deviceoperation.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

void clickEdit(PageHarness& harness, int row) {
    const QModelIndex cell = harness.model()->index(row, DeviceInfoTableModel::ColumnOperation);
    harness.table()->indexWidget(cell)->findChild<QPushButton*>("btn_edit")->click();
}

void tick(PageHarness& harness, int row, bool on) {
    harness.model()->setData(harness.model()->index(row, DeviceInfoTableModel::ColumnCheck),
                             on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole);
}

// The program log in the harness's working directory.
void openLog() {
    AppLog::instance().init("log/");
    AppLog::instance().setLevel(7);
}

QString logText() {
    QFile file(QString::fromStdString(AppLog::instance().currentFile()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

class FleetHealthTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

private slots:
    void initTestCase() { fleet::applySessionMode(fleet::Settings()); }
    void cleanup() {
        cameras_.stopAll();
        AppLog::instance().setLevel(-1);
    }

    void refusingCameraKeepsItsOldCredentials() {
        // Two cameras whose password was changed on the camera; the third still has the old one.
        camsim::CameraConfig changed;
        changed.user = "fleetop";
        changed.password = "newpass1";
        const SDeviceInfo keeper = deviceOf(*mustStart(cameras_));
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < 2; ++i) {
            SDeviceInfo device = deviceOf(*mustStart(cameras_, changed));
            device.username = keeper.username;
            device.password = keeper.password;
            devices << device;
        }
        devices << keeper;
        PageHarness harness;
        openLog();
        IndexPage& page = harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(harness.overlay()->isHidden(), kCameraWaitMs);
        QCOMPARE(harness.statusOf(keeper.ip), QString("Network Normal"));
        QCOMPARE(harness.statusOf(devices[0].ip), QString("Network Lost"));

        // One ticked camera, or none: Edit is the single camera's form, as always.
        tick(harness, 0, true);
        clickEdit(harness, 0);
        auto* single = page.findChild<DeviceEditDialog*>();
        QVERIFY(single && single->isVisible());
        single->close();

        for (int row = 1; row < 3; ++row)
            tick(harness, row, true);
        clickEdit(harness, 0);
        auto* form = page.findChild<CredentialsDialog*>();
        QVERIFY(form && form->isVisible());
        QCOMPARE(form->findChild<QListWidget*>("list_cameras")->count(), 3);
        QTest::keyClicks(form->findChild<QLineEdit*>("edit_username"), changed.user.c_str());
        QTest::keyClicks(form->findChild<QLineEdit*>("edit_password"), changed.password.c_str());
        form->findChild<QPushButton*>("btn_ok")->click();
        QVERIFY(harness.overlay()->isVisible());

        CredentialsResultDialog* result = nullptr;
        QTRY_VERIFY_WITH_TIMEOUT(
            (result = page.findChild<CredentialsResultDialog*>()) && result->isVisible(),
            kCameraWaitMs);
        QVERIFY(harness.overlay()->isHidden());
        const auto* table = result->findChild<QTableWidget*>("table_results");
        QCOMPARE(table->rowCount(), 3);
        for (int row = 0; row < 3; ++row) {
            QCOMPARE(table->item(row, 0)->text(), devices[row].ip);
            const QString outcome = table->item(row, 1)->text();
            QVERIFY2(row < 2 ? outcome == "Taken" : outcome.startsWith("Refused: login failed"),
                     qPrintable(outcome));
        }
        result->accept();

        // The page, and the file written once at the end (the store's timer has not run yet).
        DeviceInfoFactory saved(DeviceInfoFactory::kDefaultFileName);
        for (const SDeviceInfo& device : devices) {
            const bool takes = device.ip != keeper.ip;
            const SDeviceInfo stored = page.deviceInfo(device.ip);
            const SDeviceInfo inFile = saved.find(device.ip);
            const QString user = takes ? QString::fromStdString(changed.user) : keeper.username;
            const QString password =
                takes ? QString::fromStdString(changed.password) : keeper.password;
            QVERIFY(stored.sameCredentials(user, password));
            QVERIFY(inFile.sameCredentials(user, password));
            QCOMPARE(harness.statusOf(device.ip), QString("Network Normal"));
        }
        QVERIFY(logText().contains("new credentials refused, ip: " + keeper.ip + ","));
    }

    void stoppedCameraIsLostThenBack() {
        camsim::Camera* leaving = mustStart(cameras_);
        const SDeviceInfo staying = deviceOf(*mustStart(cameras_));
        const QString ip = QString::fromStdString(leaving->config().address);
        PageHarness harness;
        openLog();
        IndexPage& page = harness.open({deviceOf(*leaving), staying});
        auto* online = page.findChild<QLabel*>("lbl_online");
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        QTRY_COMPARE(online->text(), QString("2 / 2 online"));

        QSignalSpy rounds(&page.health(), &HealthCheck::signalRoundDone);
        page.setHealthInterval(200);
        QVERIFY(rounds.wait(kCameraWaitMs));
        const int row = harness.rowOf(ip);
        const QModelIndex status = harness.model()->index(row, DeviceInfoTableModel::ColumnStatus);
        QVERIFY(status.data(Qt::ToolTipRole).toString().startsWith("Last seen "));
        QVERIFY(!status.data(DeviceInfoTableModel::LostRole).toBool());

        leaving->stop();
        rounds.clear();
        QTRY_VERIFY_WITH_TIMEOUT(harness.statusOf(ip) == "Network Lost", kCameraWaitMs);
        // The round under way when it stopped may have asked it already; the next one finds it.
        QVERIFY(rounds.size() <= 2);
        QVERIFY(status.data(DeviceInfoTableModel::LostRole).toBool());
        QVERIFY(status.data(Qt::BackgroundRole).isValid());
        QTRY_COMPARE(online->text(), QString("1 / 2 online"));
        QVERIFY(logText().contains("camera lost, ip: " + ip + ","));
        const QModelIndex other =
            harness.model()->index(harness.rowOf(staying.ip), DeviceInfoTableModel::ColumnStatus);
        QVERIFY(!other.data(DeviceInfoTableModel::LostRole).toBool());

        std::string error;
        QVERIFY2(leaving->start(&error), error.c_str());
        QTRY_VERIFY_WITH_TIMEOUT(harness.statusOf(ip) == "Network Normal", kCameraWaitMs);
        QVERIFY(!status.data(DeviceInfoTableModel::LostRole).toBool());
        QTRY_COMPARE(online->text(), QString("2 / 2 online"));
        page.setHealthInterval(0);
    }
};

QTEST_MAIN(FleetHealthTest)
#include "fleet_health_test.moc"
