// The LAN search from the device page, inside a private network namespace (it broadcasts):
// the dialog lists only cameras not yet in the table, and the chosen ones join the list.
#include <QListView>
#include <QtTest>

#include "gui_answer.h"
#include "page_harness.h"
#include "support/private_namespace.h"
#include "ui/device/devicesearchdialog.h"

using namespace guitest;

class DeviceSearchTest : public QObject {
    Q_OBJECT

    camsim::Simulator simulator_;

    static SDeviceInfo device(const char* ip) { return SDeviceInfo(ip, "admin", "secret12"); }

private slots:
    void initTestCase() {
        std::string why;
        if (!testsupport::inPrivateNamespace(&why)) QSKIP(qPrintable(QString::fromStdString(why)));
        for (const char* address : {"127.0.0.12", "127.0.0.3", "127.0.0.200"}) {
            camsim::CameraConfig config;
            config.address = address;
            config.password = "secret12";
            config.search = true;
            simulator_.add(config);
        }
        std::string error;
        if (!simulator_.startAll(&error)) qFatal("%s", error.c_str());
    }

    void searchListsOnlyNewCamerasAndAddsTheChosen() {
        PageHarness harness;
        IndexPage& page = harness.open({device("127.0.0.12")});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        QSignalSpy progress(&harness.jobs(), &JobControl::signalOverallProgress);

        auto* search = page.findChild<DeviceSearchDialog*>();
        harness.button("btn_find")->click();
        QTRY_VERIFY_WITH_TIMEOUT(search->isVisible(), kCameraWaitMs);
        QCOMPARE(search->list(), QStringList({"127.0.0.3", "127.0.0.200"}));
        QVERIFY(!progress.isEmpty());
        QCOMPARE(progress.last().at(0).toInt(), 100);
        QCOMPARE(harness.jobs().tasks(), quint16(0));

        auto* list = search->findChild<QListView*>("listView");
        list->selectAll();
        QTest::keyClicks(search->findChild<QLineEdit*>("edit_username"), "admin");
        QTest::keyClicks(search->findChild<QLineEdit*>("edit_password"), "secret12");
        search->findChild<QPushButton*>("btn_ok")->click();
        QVERIFY(!search->isVisible());
        QVERIFY(search->list().isEmpty());
        QCOMPARE(harness.model()->rowCount(), 3);
        QCOMPARE(harness.rowOf("127.0.0.200"), 2);
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
    }
};

QTEST_MAIN(DeviceSearchTest)
#include "device_search_test.moc"
