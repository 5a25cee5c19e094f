// Names and groups, the filter and the device list in CSV, on the device page against simulated
// cameras: what survives a restart, what the rows shown mean for the check marks and Delete,
// and an import checked line by line before anything is added.
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTableWidget>
#include <QtTest>

#include "batch/dialogs/batchimportdlg.h"
#include "dbutil/devicelabels.h"
#include "gui_answer.h"
#include "page_harness.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/devicelistexportdialog.h"
#include "ui/device/devicelistimportdialog.h"
#include "ui/device/deviceoperation.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

void setText(QWidget* parent, const char* name, const QString& text) {
    auto* edit = parent->findChild<QLineEdit*>(name);
    edit->clear();
    QTest::keyClicks(edit, text);
}

QStringList shownIps(PageHarness& harness) {
    QStringList ips;
    for (int row = 0; row < harness.model()->rowCount(); ++row)
        ips << harness.cell(row, DeviceInfoTableModel::ColumnIp);
    return ips;
}

QString labelOf(PageHarness& harness, const QString& ip) {
    const int row = harness.rowOf(ip);
    return harness.cell(row, DeviceInfoTableModel::ColumnName) + "/" +
           harness.cell(row, DeviceInfoTableModel::ColumnGroup);
}

void clickHeaderBox(PageHarness& harness) {
    TableHeaderView* header = harness.header();
    const QRect section(header->sectionViewportPosition(0), 0, header->sectionSize(0),
                        header->height());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      TableHeaderView::boxRect(section, header->isChecked()).center());
}

// A camera whose password the dialogs and the CSV rules accept (at least 6 characters).
SDeviceInfo startCamera(testsupport::CameraSet& cameras) {
    camsim::CameraConfig config;
    config.password = "secret12";
    return deviceOf(*mustStart(cameras, config));
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class DeviceListTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

private slots:
    void cleanup() { cameras_.stopAll(); }

    // Labels set in the Edit dialog outlive a restart of a store in its existing layout; the
    // filter and the group selector narrow the rows, and the header box and Delete act on the
    // rows shown only: a checked row the filter hides loses its mark.
    void namesGroupsAndTheRowsShown() {
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < 4; ++i)
            devices << startCamera(cameras_);
        PageHarness harness;
        IndexPage* page = &harness.open(devices);
        QCOMPARE(harness.model()->rowCount(), 4);
        QVERIFY(!QFile::exists(DeviceLabels::kFileName));
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);

        const QStringList labels{"Gate 3/Site A", "Gate 4/Site A", "Lobby/Site B"};
        for (int i = 0; i < labels.size(); ++i) {
            const int row = harness.rowOf(devices[i].ip);
            qobject_cast<DeviceOperation*>(harness.table()->indexWidget(harness.model()->index(
                                               row, DeviceInfoTableModel::ColumnOperation)))
                ->findChild<QPushButton*>("btn_edit")
                ->click();
            auto* edit = page->findChild<DeviceEditDialog*>();
            setText(edit, "edit_password", devices[i].password);
            setText(edit, "edit_name", "  " + labels[i].section('/', 0, 0));
            setText(edit, "edit_group", labels[i].section('/', 1));
            edit->findChild<QPushButton*>("btn_ok")->click();
            QTRY_VERIFY_WITH_TIMEOUT(!harness.overlay()->isVisible(), kCameraWaitMs);
        }

        harness.close();
        page = &harness.open();
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        for (int i = 0; i < labels.size(); ++i)
            QCOMPARE(labelOf(harness, devices[i].ip), labels[i]);
        QCOMPARE(labelOf(harness, devices[3].ip), QString("/"));
        auto* groups = page->findChild<QComboBox*>("combo_group");
        QStringList choices;
        for (int i = 0; i < groups->count(); ++i)
            choices << groups->itemText(i);
        QCOMPARE(choices, QStringList({"All groups", "No group", "Site A", "Site B"}));
        groups->setCurrentIndex(1);
        QCOMPARE(shownIps(harness), QStringList{devices[3].ip});
        groups->setCurrentIndex(2);
        QCOMPARE(shownIps(harness), QStringList({devices[0].ip, devices[1].ip}));
        groups->setCurrentIndex(0);

        // The batch dialogs name the cameras too.
        harness.button("btn_batch_import")->click();
        auto* batch = page->findChild<BatchImportDlg*>();
        QCOMPARE(batch->findChild<QTableWidget*>()->item(0, 0)->text(),
                 devices[0].ip + QString::fromUtf8(" · Gate 3 · Site A"));
        batch->hide();

        // Lobby checked, then filtered away: it loses its mark. The header box checks the two
        // gates only, and Delete removes them and their names.
        harness.model()->setData(harness.model()->index(harness.rowOf(devices[2].ip), 0),
                                 Qt::Checked, Qt::CheckStateRole);
        setText(page, "edit_filter", "GATE");
        QCOMPARE(shownIps(harness), QStringList({devices[0].ip, devices[1].ip}));
        QVERIFY(!harness.header()->isChecked());
        clickHeaderBox(harness);
        QVERIFY(harness.header()->isChecked());
        BoxAnswer yes(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(yes.done());
        QCOMPARE(harness.model()->rowCount(), 0);
        QVERIFY(!harness.header()->isChecked());
        setText(page, "edit_filter", "");
        QCOMPARE(shownIps(harness), QStringList({devices[2].ip, devices[3].ip}));
        QCOMPARE(harness.model()->index(0, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
        // The filter reads the status too.
        setText(page, "edit_filter", "network normal");
        QCOMPARE(harness.model()->rowCount(), 2);
        const QByteArray file = readFile(DeviceLabels::kFileName);
        QVERIFY(file.contains("Lobby"));
        QVERIFY(!file.contains("Gate"));
    }

    // A CSV with three bad lines is refused, naming them; duplicates of listed cameras are
    // named and left out; the corrected file adds its cameras with their labels; the export
    // writes passwords only when asked.
    void deviceListInAndOut() {
        const SDeviceInfo listed = startCamera(cameras_);
        const SDeviceInfo fresh = startCamera(cameras_);
        PageHarness harness;
        IndexPage& page = harness.open({listed});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);

        const QString good = QString("%1,%2,%3,\"Gate, north\",Site A\r\n")
                                 .arg(fresh.ip, fresh.username, fresh.password) +
                             "127.250.0.9,operator,secret_9,,\r\n";
        const QString bad = "address,user,password,name,group\r\n" + good +
                            "10.0.0.010,admin,secret12,,\r\n"     // line 4: padded address
                            "127.250.0.10,adm,secret12,,\r\n"     // line 5: user name too short
                            "127.250.0.11,admin,secret 12,,\r\n"  // line 6: a space in the password
                            + QString("%1,admin,secret12,,\r\n").arg(listed.ip) +  // line 7: listed
                            "127.250.0.9,other,secret12,,\r\n";  // line 8: repeats line 3
        const QString path = QDir::current().filePath("cameras.csv");
        auto importFile = [&](const QString& text) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(text.toUtf8());
            file.close();
            FileAnswer choose(path);
            page.findChild<QPushButton*>("btn_import_list")->click();
            QTRY_VERIFY(choose.done());
        };
        importFile(bad);
        auto* preview = page.findChild<DeviceListImportDialog*>();
        QTRY_VERIFY(preview && preview->isVisible());
        QStringList problems;
        auto* list = preview->findChild<QListWidget*>("list_problems");
        for (int i = 0; i < list->count(); ++i)
            problems << list->item(i)->text().section(':', 0, 0);
        QCOMPARE(problems, QStringList({"Line 4", "Line 5", "Line 6", "Line 7", "Line 8"}));
        QVERIFY(list->item(3)->text().contains(listed.ip + " is in the list already"));
        QVERIFY(list->item(4)->text().endsWith("repeats line 3"));
        QVERIFY(!preview->findChild<QPushButton*>("btn_add")->isEnabled());
        preview->findChild<QPushButton*>("btn_cancel")->click();
        QCOMPARE(harness.model()->rowCount(), 1);

        importFile("address,user,password,name,group\r\n" + good +
                   QString("%1,admin,secret12,,\r\n").arg(listed.ip));
        QTRY_VERIFY(preview->isVisible());
        QCOMPARE(list->count(), 1);
        preview->findChild<QPushButton*>("btn_add")->click();
        QCOMPARE(harness.model()->rowCount(), 3);
        QCOMPARE(labelOf(harness, fresh.ip), QString("Gate, north/Site A"));
        QTRY_COMPARE_WITH_TIMEOUT(harness.statusOf(fresh.ip), QString("Network Normal"),
                                  kCameraWaitMs);

        for (bool withPasswords : {false, true}) {
            ModalAnswer options([withPasswords](QWidget* modal) {
                auto* dialog = qobject_cast<DeviceListExportDialog*>(modal);
                if (!dialog) return false;
                dialog->findChild<QCheckBox*>("chk_passwords")->setChecked(withPasswords);
                dialog->findChild<QPushButton*>("btn_ok")->click();
                return true;
            });
            const QString out = QDir::current().filePath(withPasswords ? "with.csv" : "out.csv");
            FileAnswer save(out);
            page.findChild<QPushButton*>("btn_export_list")->click();
            QTRY_VERIFY(save.done());
            const QList<QByteArray> lines = readFile(out).split('\n');
            QCOMPARE(lines.first(), withPasswords ? QByteArray("address,user,password,name,group\r")
                                                  : QByteArray("address,user,name,group\r"));
            QCOMPARE(lines.size(), 5);  // three cameras and the empty end
            const QString secret = withPasswords ? fresh.password + "," : QString();
            QCOMPARE(QString::fromUtf8(lines.at(2)),
                     fresh.ip + "," + fresh.username + "," + secret + "\"Gate, north\",Site A\r");
            const auto others =
                QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
            QCOMPARE(bool(QFile::permissions(out) & others), !withPasswords);
        }
    }
};

QTEST_MAIN(DeviceListTest)
#include "device_list_test.moc"
