#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "hittest.h"
#include "qshellframe.h"

using namespace shellframe;

namespace {

// A frame whose top 30 pixels are its title area, with a button covering the whole client.
class TitledFrame : public QShellFrame {
public:
    TitledFrame() : button(this) {
        setMinimumSize(200, 150);
        setGeometry(100, 50, 400, 300);
        button.setGeometry(0, 0, 400, 300);
    }
    QPushButton button;

protected:
    bool hitTopMenu(int x, int y) override { return mapFromGlobal(QPoint(x, y)).y() < 30; }
};

void sendMouse(QWidget* target, QEvent::Type type, const QPoint& local,
               Qt::MouseButton button = Qt::NoButton, Qt::MouseButtons buttons = Qt::NoButton) {
    QMouseEvent event(type, local, target->mapToGlobal(local), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void press(QWidget* target, const QPoint& local) {
    sendMouse(target, QEvent::MouseButtonPress, local, Qt::LeftButton, Qt::LeftButton);
}
void drag(QWidget* target, const QPoint& local) {
    sendMouse(target, QEvent::MouseMove, local, Qt::NoButton, Qt::LeftButton);
}
void release(QWidget* target, const QPoint& local) {
    sendMouse(target, QEvent::MouseButtonRelease, local, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

class ShellFrameTest : public QObject {
    Q_OBJECT
private slots:
    void hitTestTable_data();
    void hitTestTable();
    void draggedGeometryKeepsMinimum();
    void marginsFollowMaximised();
    void cursorsOverBorders();
    void borderPressOverChildResizes();
    void titleDragMovesAndDoubleClickMaximises();
    void baseFrameHasNoTitle();
};

// Window 100,50 400x300: right edge band x 496..499, bottom band y 346..349.
void ShellFrameTest::hitTestTable_data() {
    QTest::addColumn<QPoint>("point");
    QTest::addColumn<bool>("inTitle");
    QTest::addColumn<int>("area");
    QTest::newRow("title middle") << QPoint(300, 60) << true << int(HitCaption);
    QTest::newRow("title on top edge") << QPoint(300, 53) << true << int(HitTop);
    QTest::newRow("title just below top edge") << QPoint(300, 54) << true << int(HitCaption);
    QTest::newRow("title left band below top edge") << QPoint(103, 70) << true << int(HitTopLeft);
    QTest::newRow("title right band") << QPoint(496, 70) << true << int(HitTopRight);
    QTest::newRow("title inside right band") << QPoint(495, 70) << true << int(HitCaption);
    QTest::newRow("left band") << QPoint(100, 200) << false << int(HitLeft);
    QTest::newRow("left of left band") << QPoint(99, 200) << false << int(HitClient);
    QTest::newRow("past left band") << QPoint(104, 200) << false << int(HitClient);
    QTest::newRow("right band") << QPoint(499, 200) << false << int(HitRight);
    QTest::newRow("past right edge") << QPoint(500, 200) << false << int(HitClient);
    QTest::newRow("bottom band") << QPoint(300, 346) << false << int(HitBottom);
    QTest::newRow("above bottom band") << QPoint(300, 345) << false << int(HitClient);
    QTest::newRow("below window") << QPoint(300, 350) << false << int(HitClient);
    QTest::newRow("bottom left") << QPoint(101, 349) << false << int(HitBottomLeft);
    QTest::newRow("bottom right") << QPoint(498, 347) << false << int(HitBottomRight);
    QTest::newRow("top edge outside title") << QPoint(300, 51) << false << int(HitClient);
    QTest::newRow("middle") << QPoint(300, 200) << false << int(HitClient);
}

void ShellFrameTest::hitTestTable() {
    QFETCH(QPoint, point);
    QFETCH(bool, inTitle);
    QFETCH(int, area);
    QCOMPARE(int(hitTest(QRect(100, 50, 400, 300), point, inTitle, Borders())), area);
}

void ShellFrameTest::draggedGeometryKeepsMinimum() {
    const QRect start(100, 50, 400, 300);
    const QSize minimum(200, 150);
    QCOMPARE(draggedGeometry(HitCaption, start, {-30, 20}, minimum), QRect(70, 70, 400, 300));
    QCOMPARE(draggedGeometry(HitBottomRight, start, {50, 40}, minimum), QRect(100, 50, 450, 340));
    // Shrinking past the minimum stops there, the opposite edges stay.
    QCOMPARE(draggedGeometry(HitLeft, start, {350, 99}, minimum), QRect(300, 50, 200, 300));
    QCOMPARE(draggedGeometry(HitTopRight, start, {-500, 400}, minimum), QRect(100, 200, 200, 150));
    QCOMPARE(draggedGeometry(HitClient, start, {10, 10}, minimum), start);
}

void ShellFrameTest::marginsFollowMaximised() {
    TitledFrame frame;
    QVERIFY(frame.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(frame.contentsMargins(), QMargins(0, 0, 0, 0));
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.contentsMargins(), QMargins(2, 2, 2, 2));
    frame.showMaximized();
    QTRY_COMPARE(frame.contentsMargins(), QMargins(0, 0, 0, 0));
    frame.showNormal();
    QTRY_COMPARE(frame.contentsMargins(), QMargins(2, 2, 2, 2));
}

void ShellFrameTest::cursorsOverBorders() {
    TitledFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const struct {
        QPoint local;
        Qt::CursorShape shape;
    } rows[] = {
        {{1, 100}, Qt::SizeHorCursor},     {{398, 100}, Qt::SizeHorCursor},
        {{200, 298}, Qt::SizeVerCursor},   {{1, 298}, Qt::SizeBDiagCursor},
        {{399, 299}, Qt::SizeFDiagCursor}, {{1, 10}, Qt::SizeFDiagCursor},
        {{397, 20}, Qt::SizeBDiagCursor},  {{200, 1}, Qt::SizeVerCursor},
    };
    for (const auto& row : rows) {
        sendMouse(&frame.button, QEvent::MouseMove, row.local);
        QCOMPARE(frame.cursor().shape(), row.shape);
    }
    sendMouse(&frame.button, QEvent::MouseMove, QPoint(200, 100));
    QCOMPARE(frame.cursor().shape(), Qt::ArrowCursor);
}

void ShellFrameTest::borderPressOverChildResizes() {
    TitledFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QSignalSpy pressed(&frame.button, &QPushButton::pressed);
    const QRect before = frame.geometry();
    press(&frame.button, {398, 150});
    drag(&frame.button, {448, 150});
    release(&frame.button, {448, 150});
    QCOMPARE(pressed.count(), 0);
    QCOMPARE(frame.geometry(), before.adjusted(0, 0, 50, 0));
    // Dragging the left edge far right stops at the minimum width.
    press(&frame.button, {2, 150});
    drag(&frame.button, {600, 150});
    release(&frame.button, {600, 150});
    QCOMPARE(frame.width(), frame.minimumWidth());
    QCOMPARE(frame.geometry().right(), before.right() + 50);
    // Inside the client the button keeps its press.
    press(&frame.button, {200, 150});
    release(&frame.button, {200, 150});
    QCOMPARE(pressed.count(), 1);
}

void ShellFrameTest::titleDragMovesAndDoubleClickMaximises() {
    TitledFrame frame;
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QPoint start = frame.pos();
    press(&frame.button, {200, 15});
    drag(&frame.button, {201, 15});  // below the drag distance: nothing moves yet
    QCOMPARE(frame.pos(), start);
    drag(&frame.button, {240, 35});
    release(&frame.button, {240, 35});
    QCOMPARE(frame.pos(), start + QPoint(40, 20));

    sendMouse(&frame.button, QEvent::MouseButtonDblClick, {200, 15}, Qt::LeftButton,
              Qt::LeftButton);
    QTRY_VERIFY(frame.isMaximized());
    sendMouse(&frame.button, QEvent::MouseButtonDblClick, {200, 15}, Qt::LeftButton,
              Qt::LeftButton);
    QTRY_VERIFY(!frame.isMaximized());
}

void ShellFrameTest::baseFrameHasNoTitle() {
    QShellFrame frame;
    frame.setGeometry(100, 50, 400, 300);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    const QPoint start = frame.pos();
    press(&frame, {200, 2});
    drag(&frame, {260, 80});
    release(&frame, {260, 80});
    QCOMPARE(frame.geometry(), QRect(start, QSize(400, 300)));
    sendMouse(&frame, QEvent::MouseMove, {200, 1});
    QCOMPARE(frame.cursor().shape(), Qt::ArrowCursor);
    // The left edge still resizes.
    press(&frame, {1, 150});
    drag(&frame, {-29, 150});
    release(&frame, {-29, 150});
    QCOMPARE(frame.width(), 430);
}

QTEST_MAIN(ShellFrameTest)
#include "shellframe_test.moc"
