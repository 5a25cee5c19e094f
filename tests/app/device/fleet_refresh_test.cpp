// The device page refreshing many cameras: rows answer one by one, a Cancel half way leaves the
// rows not reached as they were, a silent camera keeps no live row waiting, and every camera
// that failed leaves one program-log line.
#include <QFile>
#include <QProgressBar>
#include <QRegularExpression>
#include <QtTest>

#include "applog.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "fleet/fleetsettings.h"
#include "page_harness.h"
#include "support/silent_cameras.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

QStringList logLinesAbout(const QString& ip) {
    QFile file(QString::fromStdString(AppLog::instance().currentFile()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    QStringList lines;
    for (const QString& line : QString::fromUtf8(file.readAll()).split('\n'))
        if (line.contains("refresh, ") && line.contains("ip: " + ip + ",")) lines << line;
    return lines;
}

}  // namespace

class FleetRefreshTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

private slots:
    // As the program starts: camlink runs calls of different cameras side by side.
    void initTestCase() { fleet::applySessionMode(fleet::Settings()); }

    void cleanup() {
        cameras_.stopAll();
        fleet::setLimit(fleet::kDefaultLimit);
        AppLog::instance().setLevel(-1);
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
        // Side by side the cameras go in the order they answered a probe, so which three were
        // refreshed is theirs to decide; the other rows are as they were.
        for (int row = 0; row < devices.size(); ++row) {
            QVERIFY(QStringList({"late", ""})
                        .contains(harness.cell(row, DeviceInfoTableModel::ColumnDb1)));
            QCOMPARE(harness.statusOf(devices.at(row).ip), QString("Network Normal"));
        }
    }

    void silentCameraKeepsNoLiveRowWaiting() {
        testsupport::SilentCameras silent;
        std::string error;
        QVERIFY2(silent.start(1, &error), error.c_str());
        const QString silentIp = QString::fromStdString(silent.addresses().front());
        SDeviceInfo refused = deviceOf(*mustStart(cameras_));
        refused.password = "wrong_password";
        const QVector<SDeviceInfo> live = {deviceOf(*mustStart(cameras_)),
                                           deviceOf(*mustStart(cameras_))};

        PageHarness harness;
        AppLog::instance().init("log/");
        AppLog::instance().setLevel(7);
        harness.open({SDeviceInfo(silentIp, "admin", "admin123"), refused, live[0], live[1]});
        auto liveRowsNormal = [&] {
            for (const SDeviceInfo& device : live)
                if (harness.statusOf(device.ip) != "Network Normal") return false;
            return true;
        };
        QTRY_VERIFY_WITH_TIMEOUT(liveRowsNormal(), kCameraWaitMs);
        // The silent camera's call still runs: its connection is held, the refresh not over.
        QCOMPARE(silent.open(), 1);
        QVERIFY(harness.overlay()->isVisible());
        QCOMPARE(harness.statusOf(silentIp), QString("Network Lost"));

        QTRY_VERIFY_WITH_TIMEOUT(harness.overlay()->isHidden(), kCameraWaitMs);
        QCOMPARE(silent.open(), 0);
        QCOMPARE(harness.statusOf(refused.ip), QString("Network Lost"));

        // One line per failed camera, with the result and its text; none for those that answered.
        const QRegularExpression result("login failed, ip: [0-9.]+, result (-?\\d+): (.*)$");
        for (const QString& ip : {silentIp, refused.ip}) {
            const QStringList lines = logLinesAbout(ip);
            QCOMPARE(lines.size(), 1);
            const QRegularExpressionMatch match = result.match(lines.front());
            QVERIFY2(match.hasMatch(), qPrintable(lines.front()));
            QCOMPARE(match.captured(2), ErrorText(match.captured(1).toInt()));
        }
        for (const SDeviceInfo& device : live)
            QVERIFY(logLinesAbout(device.ip).isEmpty());
    }

    // More cameras than the bound: the live camera last in the list is refreshed before any
    // silent one ahead of it has given up, and those end offline after the probe's wait.
    void liveCameraGoesAheadOfSilentOnes() {
        testsupport::SilentCameras silent;
        std::string error;
        QVERIFY2(silent.start(3, &error), error.c_str());
        QVector<SDeviceInfo> devices;
        for (const std::string& address : silent.addresses())
            devices << SDeviceInfo(QString::fromStdString(address), "admin", "admin123");
        const SDeviceInfo live = deviceOf(*mustStart(cameras_));
        devices << live;

        fleet::setLimit(1);
        PageHarness harness;
        AppLog::instance().init("log/");
        AppLog::instance().setLevel(7);
        harness.open(devices);
        int silentGivenUpAtLive = -1;
        connect(harness.model(), &QAbstractItemModel::dataChanged, this, [&] {
            if (silentGivenUpAtLive >= 0 || harness.statusOf(live.ip) != "Network Normal") return;
            silentGivenUpAtLive = 0;
            for (int i = 0; i < 3; ++i)
                silentGivenUpAtLive += !logLinesAbout(devices[i].ip).isEmpty();
        });
        QTRY_VERIFY_WITH_TIMEOUT(harness.overlay()->isHidden(), kCameraWaitMs);
        QCOMPARE(silentGivenUpAtLive, 0);
        QCOMPARE(silent.open(), 0);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(harness.statusOf(devices[i].ip), QString("Network Lost"));
            const QStringList lines = logLinesAbout(devices[i].ip);
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines.front().contains(ErrorText(10028)), qPrintable(lines.front()));
        }
    }
};

QTEST_MAIN(FleetRefreshTest)
#include "fleet_refresh_test.moc"
