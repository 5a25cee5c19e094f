// The per-camera progress list: rows, finishing, the painted Cancel button and clearing.
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>

#include "kittest.h"
#include "ui/widgets/progressdelegate.h"
#include "ui/widgets/progressmodel.h"
#include "ui/widgets/progresswidget.h"

namespace {

QRect cellRect(ProgressWidget& widget, int row, int column) {
    QTableView* view = widget.table();
    return view->visualRect(view->model()->index(row, column));
}

void releaseAt(ProgressWidget& widget, const QPoint& at) {
    QTest::mouseClick(widget.table()->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

int state(ProgressWidget& widget, int row) {
    return widget.model()->index(row, ProgressModel::OperationColumn).data(Qt::UserRole).toInt();
}

}  // namespace

class ProgressTest : public QObject {
    Q_OBJECT
private slots:
    void rowsAndWidth();
    void modelRolesAndWrites();
    void finishedButtonIgnoresClicks();
    void cancelOnlyInsideButtonAndOnce();
    void canceledRowStillFinishes();
};

void ProgressTest::rowsAndWidth() {
    ProgressWidget widget;
    QCOMPARE(widget.table()->objectName(), QString("progressTable"));
    widget.updateRow("127.0.0.2", 10, "uploading");
    QCOMPARE(widget.rowCount(), 1);
    const int width = widget.contentWidth();
    QVERIFY(width > 350 + 76 + 80);
    QCOMPARE(widget.width(), width);
    QCOMPARE(widget.table()->rowHeight(0), 40);
    widget.updateRow("127.0.0.2", 50, "half");
    QCOMPARE(widget.rowCount(), 1);
    widget.updateRow("127.0.0.3", 0, "");
    QCOMPARE(widget.rowCount(), 2);
    QCOMPARE(widget.model()->index(0, 3).data().toString(), QString("half"));
    QCOMPARE(widget.model()->index(1, 0).data().toString(), QString("127.0.0.3"));

    widget.clearRows();
    QCOMPARE(widget.rowCount(), 0);
    QCOMPARE(widget.width(), 600);
}

void ProgressTest::modelRolesAndWrites() {
    ProgressModel model;
    ProgressItem item;
    item.device = "10.0.0.9";
    item.progress = 42;
    QVERIFY(model.updateItem(item));
    QVERIFY(!model.updateItem(item));
    QCOMPARE(model.headerData(7, Qt::Horizontal, Qt::DisplayRole).toString(), QString("undefined"));
    // Only the state, as the user role of the Operation column, can be written.
    QVERIFY(!model.setData(model.index(0, 1), 7, Qt::UserRole));
    QVERIFY(!model.setData(model.index(0, 2), 1, Qt::EditRole));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QVERIFY(model.setData(model.index(0, 2), 1, Qt::UserRole));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(model.index(0, 2).data(Qt::UserRole).toInt(), 1);
}

void ProgressTest::finishedButtonIgnoresClicks() {
    ProgressWidget widget;
    widget.show();
    widget.updateRow("127.0.0.2", 100, "done");
    widget.updateRow("127.0.0.2", 100, "done");
    QCOMPARE(state(widget, 0), int(ProgressItem::Finished));
    QSignalSpy cancels(&widget, &ProgressWidget::cancled);
    releaseAt(widget, ProgressDelegate::buttonRect(cellRect(widget, 0, 2)).center());
    QCOMPARE(cancels.count(), 0);
    QCOMPARE(state(widget, 0), int(ProgressItem::Finished));
}

void ProgressTest::cancelOnlyInsideButtonAndOnce() {
    ProgressWidget widget;
    widget.show();
    widget.updateRow("127.0.0.2", 10, "");
    widget.updateRow("127.0.0.3", 10, "");
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QSignalSpy cancels(&widget, &ProgressWidget::cancled);
    const QRect cell = cellRect(widget, 1, 2);
    const QRect button = ProgressDelegate::buttonRect(cell);
    QVERIFY(cell.contains(button.topLeft() - QPoint(0, 2)));  // 40 px row, 32 px button
    releaseAt(widget, button.topLeft() - QPoint(0, 2));
    releaseAt(widget, cellRect(widget, 1, 1).center());
    QCOMPARE(cancels.count(), 0);

    releaseAt(widget, button.center());
    releaseAt(widget, button.center());
    QCOMPARE(cancels.count(), 1);
    QCOMPARE(cancels.at(0).at(0).toString(), QString("127.0.0.3"));
    QCOMPARE(state(widget, 1), int(ProgressItem::Canceled));
    QCOMPARE(state(widget, 0), int(ProgressItem::Running));
}

void ProgressTest::canceledRowStillFinishes() {
    ProgressWidget widget;
    widget.updateRow("127.0.0.2", 10, "");
    widget.model()->setData(widget.model()->index(0, 2), int(ProgressItem::Canceled), Qt::UserRole);
    widget.updateRow("127.0.0.2", 60, "still going");
    QCOMPARE(state(widget, 0), int(ProgressItem::Canceled));
    QCOMPARE(widget.model()->index(0, 1).data(Qt::UserRole).toInt(), 60);
    widget.updateRow("127.0.0.2", 100, "");
    QCOMPARE(state(widget, 0), int(ProgressItem::Finished));
}

KIT_TEST_MAIN(ProgressTest)
#include "progress_test.moc"
