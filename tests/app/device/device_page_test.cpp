// The device list page against simulated cameras: adding through the dialog, the dialogs' own
// checks, deleting, the check marks, the login outcomes and a camera that never answers.
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QtTest>

#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "gui_answer.h"
#include "page_harness.h"
#include "ui/device/deviceadddialog.h"
#include "ui/device/deviceeditdialog.h"
#include "ui/device/deviceoperation.h"
#include "ui/device/devicesearchdialog.h"
#include "ui/widgets/platbuttonwidget.h"
#include "ui/widgets/timermessagebox.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

void fill(QWidget* dialog, const QString& ip, const QString& user, const QString& password) {
    if (auto* edit = dialog->findChild<QLineEdit*>("edit_ip"); edit && edit->isEnabled()) {
        edit->clear();
        QTest::keyClicks(edit, ip);
    }
    for (auto [name, text] : {std::pair{"edit_username", user}, {"edit_password", password}}) {
        auto* edit = dialog->findChild<QLineEdit*>(name);
        edit->clear();
        QTest::keyClicks(edit, text);
    }
}

// Presses OK on the dialog and hands back the warning it gave (empty when none).
QString pressOk(QWidget* dialog) {
    BoxAnswer answer;
    dialog->findChild<QPushButton*>("btn_ok")->click();
    // A box shows within a few timer ticks, if there is one.
    for (int tick = 0; tick < 10 && !answer.done(); ++tick)
        QTest::qWait(20);
    return answer.done() ? answer.text : QString();
}

template <class Widget>
Widget* rowWidget(PageHarness& harness, int row, int column) {
    return qobject_cast<Widget*>(harness.table()->indexWidget(harness.model()->index(row, column)));
}

void clickUpdate(PageHarness& harness, int row) {
    rowWidget<PlatButtonWidget>(harness, row, DeviceInfoTableModel::ColumnUpdate)
        ->findChild<QPushButton*>("plat_btn")
        ->click();
}

}  // namespace

class DevicePageTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;

private slots:
    void cleanup() { cameras_.stopAll(); }

    void dialogsCheckWhatIsTyped() {
        PageHarness harness;
        IndexPage& page = harness.open();
        auto* add = page.findChild<DeviceAddDialog*>();
        harness.button("btn_add")->click();
        QVERIFY(add->isVisible());
        QCOMPARE(pressOk(add), QString("Invalid input"));
        fill(add, "10.0.0.5", "", "");
        QVERIFY(pressOk(add).startsWith("Please input user name,\nUsername is 4-16 in length"));
        auto* ip = add->findChild<QLineEdit*>("edit_ip");
        QTest::keyClicks(ip, "ab");
        QCOMPARE(ip->text(), QString("10.0.0.5"));
        for (auto* dialogType : std::initializer_list<QDialog*>{
                 add, page.findChild<DeviceSearchDialog*>(), new DeviceEditDialog(&page)}) {
            QCOMPARE(dialogType->size(), QSize(320, 240));
            QCOMPARE(dialogType->findChild<QLineEdit*>("edit_password")->echoMode(),
                     QLineEdit::Password);
        }

        auto* search = page.findChild<DeviceSearchDialog*>();
        search->setList({"10.0.0.7", "10.0.0.8", "10.0.0.9"});
        search->show();
        QCOMPARE(pressOk(search), QString("No item selected"));
        auto* list = search->findChild<QListView*>("listView");
        list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
        list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
        fill(search, "", "adm", "secret1");
        QCOMPARE(pressOk(search), QString("Invalid username or password"));
        QSignalSpy chosen(search, &DeviceSearchDialog::signalAddDeviceBySearch);
        fill(search, "", "admin", "secret1");
        QCOMPARE(pressOk(search), QString());
        QCOMPARE(chosen.size(), 1);
        QCOMPARE(chosen.at(0).at(0).toStringList(), QStringList({"10.0.0.9", "10.0.0.7"}));
        QVERIFY(!search->isVisible());
        QVERIFY(search->findChild<QLineEdit*>("edit_username")->text().isEmpty());
    }

    void addDeleteAndCheckMarks() {
        camsim::CameraConfig config;
        config.password = "secret12";  // the dialog wants at least 6 characters
        config.libraries = {camsim::PreloadedLibrary{"staff", 80, {}}};
        camsim::Camera* camera = mustStart(cameras_, config);
        QCOMPARE(camera->preload(), std::string());
        const SDeviceInfo other = deviceOf(*mustStart(cameras_));
        PageHarness harness;
        IndexPage& page = harness.open({other});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);

        const SDeviceInfo added = deviceOf(*camera);
        auto* add = page.findChild<DeviceAddDialog*>();
        harness.button("btn_add")->click();
        fill(add, added.ip, added.username, added.password);
        QCOMPARE(pressOk(add), QString());
        QTRY_COMPARE_WITH_TIMEOUT(harness.statusOf(added.ip), QString("Network Normal"),
                                  kCameraWaitMs);
        const int row = harness.rowOf(added.ip);
        QCOMPARE(row, 1);
        QCOMPARE(harness.cell(row, DeviceInfoTableModel::ColumnOta),
                 QString("IPC2019-01B-V1.2.1-RECOG-beta.pb3"));
        QCOMPARE(harness.cell(row, DeviceInfoTableModel::ColumnDb1), QString("staff"));
        QVERIFY(add->findChild<QLineEdit*>("edit_ip")->text().isEmpty());
        QVERIFY(!add->isVisible());
        // Every row carries the widgets of its own camera.
        for (int r = 0; r < 2; ++r) {
            auto* operation = qobject_cast<DeviceOperation*>(harness.table()->indexWidget(
                harness.model()->index(r, DeviceInfoTableModel::ColumnOperation)));
            QVERIFY(operation);
            QCOMPARE(operation->ip(), harness.cell(r, DeviceInfoTableModel::ColumnIp));
            QVERIFY(operation->findChild<QPushButton*>("btn_config")->isEnabled());
        }

        harness.button("btn_add")->click();
        fill(add, added.ip, "someone", "secret1");
        QCOMPARE(pressOk(add), QString("The device has been added"));
        QVERIFY(add->isVisible());
        add->close();

        BoxAnswer nothing;
        harness.button("btn_delete")->click();
        QTRY_VERIFY(nothing.done());
        QCOMPARE(nothing.text, QString("No item selected"));

        // A double click toggles the check mark and the background; all checked ticks the
        // header box, one unchecked clears it.
        QSignalSpy configSpy(&page, &IndexPage::signalConfig);
        auto doubleClick = [&](int r) {
            const QModelIndex cell = harness.model()->index(r, DeviceInfoTableModel::ColumnIp);
            QMetaObject::invokeMethod(harness.table(), "doubleClicked", Q_ARG(QModelIndex, cell));
        };
        auto checkState = [&](int r) {
            return harness.model()->index(r, 0).data(Qt::CheckStateRole).toInt();
        };
        doubleClick(0);
        QCOMPARE(checkState(0), int(Qt::Checked));
        QCOMPARE(harness.model()->index(0, 3).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor("#F0F8FF"));
        QVERIFY(!harness.header()->isChecked());
        doubleClick(1);
        QVERIFY(harness.header()->isChecked());
        doubleClick(1);
        QCOMPARE(checkState(1), int(Qt::Unchecked));
        QVERIFY(!harness.header()->isChecked());
        QVERIFY(!harness.model()->index(1, 3).data(Qt::BackgroundRole).isValid());

        BoxAnswer no(QMessageBox::No);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(no.done());
        QCOMPARE(no.text, QString("Delete these devices?"));
        QCOMPARE(harness.model()->rowCount(), 2);
        BoxAnswer yes(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(yes.done());
        QCOMPARE(harness.model()->rowCount(), 1);
        QCOMPARE(harness.rowOf(added.ip), 0);
        // The header box checks every row; deleting them all clears it.
        const QRect section(harness.header()->sectionViewportPosition(0), 0,
                            harness.header()->sectionSize(0), harness.header()->height());
        QTest::mouseClick(harness.header()->viewport(), Qt::LeftButton, {},
                          TableHeaderView::boxRect(section, false).center());
        QVERIFY(harness.header()->isChecked());
        QCOMPARE(checkState(0), int(Qt::Checked));
        BoxAnswer all(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(all.done());
        QCOMPARE(harness.model()->rowCount(), 0);
        QVERIFY(!harness.header()->isChecked());
        QCOMPARE(configSpy.size(), 0);
    }

    // Wrong passwords through the edit dialog until the camera locks the account; the box then
    // counts the lock down to its end, and the right password works again.
    void lockedOutCameraCountsDown() {
        camsim::CameraConfig config;
        config.password = "secret12";
        config.lockoutSeconds = 3;
        const SDeviceInfo device = deviceOf(*mustStart(cameras_, config));
        PageHarness harness;
        IndexPage& page = harness.open({device});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);

        rowWidget<DeviceOperation>(harness, 0, DeviceInfoTableModel::ColumnOperation)
            ->findChild<QPushButton*>("btn_edit")
            ->click();
        auto* edit = page.findChild<DeviceEditDialog*>();
        QVERIFY(edit && edit->isVisible());
        QCOMPARE(edit->findChild<QLineEdit*>("edit_ip")->text(), device.ip);
        QVERIFY(edit->findChild<QLineEdit*>("edit_password")->text().isEmpty());
        fill(edit, "", "adm", "secret12");
        QCOMPARE(pressOk(edit), QString("Invalid input"));

        TimerMessageBox* countdown = nullptr;
        QStringList refusals;
        for (int attempt = 0; attempt < 6 && !countdown; ++attempt) {
            edit->show();
            fill(edit, "", device.username, "wrong_pw" + QString::number(attempt));
            // A refusal box runs its own loop: it is read and closed from the timer.
            ModalAnswer seen([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (!box) return false;
                countdown = qobject_cast<TimerMessageBox*>(box);
                if (!countdown) {
                    refusals << box->text();
                    box->button(QMessageBox::Ok)->click();
                }
                return true;
            });
            edit->findChild<QPushButton*>("btn_ok")->click();
            QTRY_VERIFY_WITH_TIMEOUT(seen.done(), kCameraWaitMs);
        }
        QVERIFY(!refusals.isEmpty());
        QCOMPARE(refusals.first(), QString("Login failed\nretry left times:4"));
        QVERIFY(countdown);
        QVERIFY(countdown->text().startsWith("Account lock\nlock left time:"));
        QTRY_COMPARE_WITH_TIMEOUT(countdown->text(), QString("Account lock\nlock time end"), 6000);
        countdown->close();

        // The right password works again once the box says so. The box ticks on a coarse
        // timer and may end a fraction of a second early: a camera still locked answers with a
        // new count-down, after which the operator tries again.
        bool accepted = false;
        for (int attempt = 0; attempt < 3 && !accepted; ++attempt) {
            QTRY_VERIFY(!harness.jobs().anyTaskRunning());
            edit->show();
            fill(edit, "", device.username, device.password);
            TimerMessageBox* again = nullptr;
            QString unexpected;
            ModalAnswer lockedStill([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                if (!box) return false;
                again = qobject_cast<TimerMessageBox*>(box);
                if (!again) {
                    unexpected = box->text();
                    box->done(QMessageBox::Ok);
                }
                return true;
            });
            edit->findChild<QPushButton*>("btn_ok")->click();
            QTRY_VERIFY_WITH_TIMEOUT(
                harness.statusOf(device.ip) == "Network Normal" || lockedStill.done(),
                kCameraWaitMs);
            QCOMPARE(unexpected, QString());
            accepted = !lockedStill.done();
            if (again) {
                QVERIFY(again->text().startsWith("Account lock\nlock left time:1s"));
                QTRY_COMPARE_WITH_TIMEOUT(again->text(), QString("Account lock\nlock time end"),
                                          3000);
                again->close();
            }
        }
        QVERIFY(accepted);
    }

    // A camera that holds every request: the page stays busy and the event loop keeps running.
    void silentCameraNeverBlocksTheGuiThread() {
        camsim::Camera* camera = mustStart(cameras_);
        const SDeviceInfo device = deviceOf(*camera);
        PageHarness harness;
        harness.open({device});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        Interaction::instance().logoutAll();
        camera->addFault({"*", camsim::FaultKind::NoAnswer, 2500, -1});

        int ticks = 0;
        QTimer timer;
        connect(&timer, &QTimer::timeout, [&] { ++ticks; });
        bool idle = false;
        connect(&harness.jobs(), &JobControl::signalIdle, [&] { idle = true; });
        timer.start(10);
        BoxAnswer failure;
        clickUpdate(harness, 0);
        QTRY_VERIFY_WITH_TIMEOUT(failure.done(), kCameraWaitMs);
        QVERIFY2(ticks >= 100, qPrintable(QString::number(ticks)));
        QVERIFY(failure.text.startsWith("Login failed "));
        const int code = failure.text.section(' ', 2).section('\n', 0, 0).toInt();
        QVERIFY(code != 0);
        QCOMPARE(failure.text.section('\n', 1), ErrorText(code));
        QTRY_VERIFY(idle);
        QCOMPARE(harness.statusOf(device.ip), QString("Network Lost"));
    }
};

QTEST_MAIN(DevicePageTest)
#include "device_page_test.moc"
