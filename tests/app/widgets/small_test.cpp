// The header check box, the flow layout, the icon button and the count-down box.
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include "kittest.h"
#include "ui/widgets/platbuttonwidget.h"
#include "ui/widgets/qflowlayout.h"
#include "ui/widgets/tableheaderview.h"
#include "ui/widgets/timermessagebox.h"

namespace {

struct Table {
    Table() : model(2, 3) {
        view.setModel(&model);
        header = new TableHeaderView(Qt::Horizontal, &view);
        view.setHorizontalHeader(header);
        view.resize(400, 200);
        view.show();
    }
    void releaseAt(const QPoint& at) {
        QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    }
    // The colour near the top middle of the box (clear of the tick), as painted.
    QColor boxColour() {
        const QImage image = header->grab().toImage();
        const QRect box = TableHeaderView::boxRect(QRect(0, 0, 1, 1), true);
        return image.pixelColor(box.left() + 7, box.top() + 2);
    }
    QStandardItemModel model;
    QTableView view;
    TableHeaderView* header;
};

QLabel* fixedItem(int width, int height) {
    auto* label = new QLabel;
    label->setFixedSize(width, height);
    return label;
}

}  // namespace

class SmallWidgetsTest : public QObject {
    Q_OBJECT
private slots:
    void headerBoxClicks();
    void headerSilentSetterAndPicture();
    void flowLayoutWraps();
    void flowLayoutSpacingFallbacks();
    void platButton();
    void countdownBox();
};

void SmallWidgetsTest::headerBoxClicks() {
    Table t;
    QVERIFY(QTest::qWaitForWindowExposed(&t.view));
    QVERIFY(t.header->height() >= 26);  // the box sits 10 px down
    QSignalSpy changes(t.header, &TableHeaderView::checkStateChanged);
    const QPoint box(3 + 7, 10 + 7);
    t.releaseAt(box);
    QCOMPARE(changes.count(), 1);
    QCOMPARE(changes.at(0).at(0).toBool(), true);
    t.releaseAt(box);
    QCOMPARE(changes.count(), 2);
    QVERIFY(!t.header->isChecked());

    // Elsewhere in section 0, or in section 1, nothing toggles.
    t.releaseAt(QPoint(t.header->sectionSize(0) - 4, 4));
    t.releaseAt(QPoint(t.header->sectionPosition(1) + 3 + 7, 17));
    QCOMPARE(changes.count(), 2);

    t.header->setEnabled(false);
    t.releaseAt(box);
    QCOMPARE(changes.count(), 2);
    QVERIFY(!t.header->isChecked());
}

void SmallWidgetsTest::headerSilentSetterAndPicture() {
    Table t;
    QSignalSpy changes(t.header, &TableHeaderView::checkStateChanged);
    const QColor unchecked = t.boxColour();
    t.header->setChecked(true);
    QVERIFY(t.header->isChecked());
    QCOMPARE(changes.count(), 0);
    // The checked picture is drawn in the accent colour.
    const QColor checked = t.boxColour();
    QVERIFY2(checked.blue() > 200 && checked.red() < 60, qPrintable(checked.name()));
    QVERIFY(checked != unchecked);
}

void SmallWidgetsTest::flowLayoutWraps() {
    QWidget host;
    auto* flow = new QFlowLayout(&host, 0, 6, 6);
    for (int i = 0; i < 4; ++i) flow->addWidget(fixedItem(100, 30));
    flow->setGeometry(QRect(0, 0, 300, 100));
    const QPoint expected[] = {{0, 0}, {106, 0}, {0, 36}, {106, 36}};
    for (int i = 0; i < 4; ++i) QCOMPARE(flow->itemAt(i)->geometry().topLeft(), expected[i]);
    QCOMPARE(flow->heightForWidth(300), 66);
    QCOMPARE(flow->heightForWidth(418), 30);  // all four end exactly at the right edge
    QCOMPARE(flow->heightForWidth(417), 66);

    // A first item wider than the row stays in its row; the next one wraps.
    QWidget wide;
    auto* flow2 = new QFlowLayout(&wide, 5, 6, 6);
    flow2->addWidget(fixedItem(400, 30));
    flow2->addWidget(fixedItem(50, 30));
    flow2->setGeometry(QRect(0, 0, 300, 100));
    QCOMPARE(flow2->itemAt(0)->geometry(), QRect(5, 5, 400, 30));
    QCOMPARE(flow2->itemAt(1)->geometry().topLeft(), QPoint(5, 41));
    QCOMPARE(flow2->heightForWidth(300), 5 + 30 + 6 + 30 + 5);
    QCOMPARE(flow2->minimumSize(), QSize(410, 40));
    QCOMPARE(flow2->takeAt(2), nullptr);
}

void SmallWidgetsTest::flowLayoutSpacingFallbacks() {
    QWidget host;
    auto* flow = new QFlowLayout(&host);
    QCOMPARE(flow->horizontalSpacing(),
             host.style()->pixelMetric(QStyle::PM_LayoutHorizontalSpacing, nullptr, &host));

    // Inside another layout: that layout's spacing.
    QWidget outer;
    auto* column = new QVBoxLayout(&outer);
    column->setSpacing(9);
    auto* nested = new QFlowLayout(0);
    column->addLayout(nested);
    QCOMPARE(nested->horizontalSpacing(), 9);
    QCOMPARE(nested->verticalSpacing(), 9);
    QCOMPARE(QFlowLayout(0).horizontalSpacing(), -1);
}

void SmallWidgetsTest::platButton() {
    PlatButtonWidget widget(":/index/images/assets/images/index/update.png");
    auto* button = widget.findChild<QPushButton*>("plat_btn");
    QVERIFY(!button->icon().isNull());

    QSignalSpy clicks(&widget, &PlatButtonWidget::signalClick);
    button->click();
    widget.setIp("127.0.0.7");
    button->click();
    button->click();
    QCOMPARE(clicks.count(), 3);
    QCOMPARE(clicks.at(0).at(0).toString(), QString());
    QCOMPARE(clicks.at(2).at(0).toString(), QString("127.0.0.7"));
}

void SmallWidgetsTest::countdownBox() {
    QPointer<TimerMessageBox> box = new TimerMessageBox(nullptr, "Warning", "Account lock\n3s");
    QStringList shown;
    box->startCountdown(
        3,
        [&shown](int left) {
            shown << QString::number(left);
            return left > 0 ? QString("Account lock\n%1s").arg(left) : QString("Account lock\nend");
        },
        10);
    box->show();
    QTRY_VERIFY(!box->running());
    QCOMPARE(shown, (QStringList{"2", "1", "0"}));
    QCOMPARE(box->text(), QString("Account lock\nend"));
    box->close();
    QTRY_VERIFY(box.isNull());
}

KIT_TEST_MAIN(SmallWidgetsTest)
#include "small_test.moc"
