// Row buttons of a list much longer than the table shows: the rows in sight carry the buttons
// of their own camera, rows far out of sight carry none, scrolling brings them along, and a
// deletion that resets the model gives the remaining rows theirs again.
#include <QtTest>

#include "gui_answer.h"
#include "page_harness.h"
#include "ui/device/deviceoperation.h"
#include "ui/widgets/platbuttonwidget.h"

using namespace guitest;

class DeviceRowsTest : public QObject {
    Q_OBJECT

    static constexpr int kRows = 300;

    // Nothing listens there: each refresh fails at once.
    static QString address(int index) {
        return QString("127.0.%1.%2").arg(98 + index / 200).arg(index % 200 + 2);
    }

    template <class Widget>
    static Widget* rowWidget(PageHarness& harness, int row, int column) {
        return qobject_cast<Widget*>(
            harness.table()->indexWidget(harness.model()->index(row, column)));
    }

    // The rows with buttons, provided each row's buttons belong to its own camera.
    static QVector<int> rowsWithButtons(PageHarness& harness) {
        QVector<int> rows;
        for (int row = 0; row < harness.model()->rowCount(); ++row) {
            const QString ip = harness.cell(row, DeviceInfoTableModel::ColumnIp);
            auto* operation =
                rowWidget<DeviceOperation>(harness, row, DeviceInfoTableModel::ColumnOperation);
            auto* update =
                rowWidget<PlatButtonWidget>(harness, row, DeviceInfoTableModel::ColumnUpdate);
            if (!operation && !update) continue;
            if (!operation || !update || operation->ip() != ip || update->ip() != ip) return {-1};
            rows << row;
        }
        return rows;
    }

    // Every row in sight has its buttons, and fewer than a third of the list has any.
    static bool rowsInSightHaveButtons(PageHarness& harness) {
        QTableView* table = harness.table();
        const QVector<int> rows = rowsWithButtons(harness);
        if (rows.contains(-1) || rows.size() >= kRows / 3) return false;
        const int top = table->rowAt(0);
        int bottom = table->rowAt(table->viewport()->height() - 1);
        if (bottom < 0) bottom = harness.model()->rowCount() - 1;
        for (int row = top; row <= bottom; ++row)
            if (!rows.contains(row)) return false;
        return top >= 0;
    }

private slots:
    void onlyRowsNearSightCarryButtons() {
        PageHarness harness;
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < kRows; ++i)
            devices << SDeviceInfo(address(i), "admin", "admin123");
        harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(!harness.jobs().busy(), kCameraWaitMs);
        QTRY_VERIFY(rowsInSightHaveButtons(harness));
        QVERIFY(!rowsWithButtons(harness).contains(kRows - 1));

        harness.table()->scrollToBottom();
        QTRY_VERIFY(rowsInSightHaveButtons(harness));
        QVERIFY(rowsWithButtons(harness).contains(kRows - 1));
        QVERIFY(!rowsWithButtons(harness).contains(0));

        for (int row = 0; row < kRows; row += 2)
            harness.model()->setData(harness.model()->index(row, 0), Qt::Checked,
                                     Qt::CheckStateRole);
        BoxAnswer yes(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QTRY_VERIFY(yes.done());
        QCOMPARE(harness.model()->rowCount(), kRows / 2);
        QCOMPARE(harness.rowOf(address(1)), 0);
        harness.table()->scrollToTop();
        QTRY_VERIFY(rowsInSightHaveButtons(harness));
        QVERIFY(rowsWithButtons(harness).contains(0));
    }
};

QTEST_MAIN(DeviceRowsTest)
#include "device_rows_test.moc"
