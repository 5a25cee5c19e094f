// Row buttons of a list longer than one event-loop pass builds: every row ends up with the
// buttons of its own camera, also after a deletion resets the model and drops them all; only
// the rows in sight show theirs, and scrolling brings the others into sight.
#include <QtTest>

#include "gui_answer.h"
#include "page_harness.h"
#include "ui/device/deviceoperation.h"
#include "ui/widgets/platbuttonwidget.h"

using namespace guitest;

class DeviceRowsTest : public QObject {
    Q_OBJECT

    static constexpr int kRows = 130;

    // Nothing listens there: each refresh fails at once.
    static QString address(int index) { return QString("127.0.98.%1").arg(index + 2); }

    template <class Widget>
    static Widget* rowWidget(PageHarness& harness, int row, int column) {
        return qobject_cast<Widget*>(
            harness.table()->indexWidget(harness.model()->index(row, column)));
    }

    static bool everyRowHasItsButtons(PageHarness& harness) {
        for (int row = 0; row < harness.model()->rowCount(); ++row) {
            const QString ip = harness.cell(row, DeviceInfoTableModel::ColumnIp);
            auto* operation =
                rowWidget<DeviceOperation>(harness, row, DeviceInfoTableModel::ColumnOperation);
            auto* update =
                rowWidget<PlatButtonWidget>(harness, row, DeviceInfoTableModel::ColumnUpdate);
            if (!operation || !update || operation->ip() != ip || update->ip() != ip)
                return false;
        }
        return true;
    }

    // The rows whose buttons are shown, and whether each lies inside the table's viewport.
    static QVector<int> rowsShowingButtons(PageHarness& harness, bool* allInSight) {
        QVector<int> rows;
        *allInSight = true;
        const QRect sight = harness.table()->viewport()->rect();
        for (int row = 0; row < harness.model()->rowCount(); ++row) {
            auto* operation =
                rowWidget<DeviceOperation>(harness, row, DeviceInfoTableModel::ColumnOperation);
            if (!operation || !operation->isVisible()) continue;
            rows << row;
            *allInSight = *allInSight && sight.intersects(operation->geometry());
        }
        return rows;
    }

private slots:
    void longListGetsEveryRowsButtons() {
        PageHarness harness;
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < kRows; ++i)
            devices << SDeviceInfo(address(i), "admin", "admin123");
        harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(everyRowHasItsButtons(harness), kCameraWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!harness.jobs().busy(), kCameraWaitMs);

        bool inSight = false;
        QVector<int> shown = rowsShowingButtons(harness, &inSight);
        QVERIFY(inSight);
        QVERIFY(!shown.isEmpty() && shown.size() < kRows);
        QCOMPARE(shown.first(), 0);
        harness.table()->scrollToBottom();
        shown = rowsShowingButtons(harness, &inSight);
        QVERIFY(inSight);
        QVERIFY(!shown.isEmpty() && !shown.contains(0));
        QCOMPARE(shown.last(), kRows - 1);
        harness.table()->scrollToTop();

        for (int row = 0; row < kRows; row += 2)
            harness.model()->setData(harness.model()->index(row, 0), Qt::Checked,
                                     Qt::CheckStateRole);
        BoxAnswer yes(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(yes.done());
        QCOMPARE(harness.model()->rowCount(), kRows / 2);
        QCOMPARE(harness.rowOf(address(1)), 0);
        QTRY_VERIFY(everyRowHasItsButtons(harness));
    }
};

QTEST_MAIN(DeviceRowsTest)
#include "device_rows_test.moc"
