// The busy overlay over a content area, driven through the job control as the pages drive it.
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QVBoxLayout>
#include <functional>

#include "dbutil/jobcontrol.h"
#include "kittest.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/pagecall.h"
#include "ui/widgets/progressdelegate.h"
#include "ui/widgets/progresswidget.h"

namespace {

// A window whose content area holds a page with a button and a field, and the overlay.
struct Window {
    Window() {
        window.resize(800, 500);
        auto* layout = new QVBoxLayout(&window);
        layout->setContentsMargins(0, 40, 0, 0);
        layout->addWidget(content);
        auto* pageLayout = new QVBoxLayout(page);
        pageLayout->addWidget(button);
        pageLayout->addWidget(field);
        page->setGeometry(0, 0, 800, 460);
        overlay = new InteractionWaitingWidget(content);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    template <typename T>
    T* child(const char* name) {
        return overlay->findChild<T*>(name);
    }
    bool shown(const char* name) { return child<QWidget>(name)->isVisibleTo(overlay); }

    JobControl control;
    QWidget window;
    QWidget* content = new QWidget(&window);
    QWidget* page = new QWidget(content);
    QPushButton* button = new QPushButton("Delete", page);
    QLineEdit* field = new QLineEdit(page);
    InteractionWaitingWidget* overlay = nullptr;
};

void clickRowCancel(ProgressWidget* list, int row) {
    QTableView* view = list->table();
    const QRect cell = view->visualRect(view->model()->index(row, 2));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                      ProgressDelegate::buttonRect(cell).center());
}

}  // namespace

class OverlayTest : public QObject {
    Q_OBJECT
private slots:
    void modes_data();
    void modes();
    void followsContentArea();
    void overallBar();
    void cancelAllAndRowCancel();
    void listGrowsUpToOverlayHeight();
    void secondBeginKeepsRunningJob();
    void pageCallsDropSupersededAnswers();
    void pageTakesNoKeysWhileBusy();
    void pageBoxesStayUsable();
};

void OverlayTest::modes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<bool>("bar");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<bool>("animation");
    QTest::addColumn<bool>("list");
    QTest::newRow("0 bar") << 0 << true << false << false << false;
    QTest::newRow("1 animation") << 1 << false << false << true << false;
    QTest::newRow("2 bar and cancel") << 2 << true << true << false << false;
    QTest::newRow("3 item list") << 3 << false << false << false << true;
}

void OverlayTest::modes() {
    QFETCH(int, mode);
    QFETCH(bool, bar);
    QFETCH(bool, cancel);
    QFETCH(bool, animation);
    QFETCH(bool, list);
    Window w;
    QVERIFY(!w.overlay->isVisible());
    w.control.beginBusy(mode);
    QVERIFY(w.overlay->isVisible());
    QCOMPARE(w.shown("progressBar"), bar);
    QCOMPARE(w.shown("btn_cancel"), cancel);
    QCOMPARE(w.shown("label_loading"), animation);
    QCOMPARE(w.shown("progressWidget"), list);
    QCOMPARE(w.overlay->barValue(), 0);
    if (mode == InteractionWaitingWidget::ItemList)
        QCOMPARE(w.overlay->progressWidget()->height(), 120);
    if (mode == InteractionWaitingWidget::Animation)
        QVERIFY(w.child<QLabel>("label_loading")->movie()->frameCount() > 1);
    w.control.endBusy();
    QVERIFY(!w.overlay->isVisible());
}

void OverlayTest::followsContentArea() {
    Window w;
    w.control.beginBusy(InteractionWaitingWidget::BarAndCancel);
    w.window.resize(1000, 700);
    QTRY_COMPARE(w.overlay->geometry(), w.content->rect());
    const QPoint centre(w.overlay->width() / 2, w.overlay->height() / 2);
    QCOMPARE(w.child<QPushButton>("btn_cancel")->y(), centre.y() + 60);
    const QRect bar = w.child<QProgressBar>("progressBar")->geometry();
    QCOMPARE(bar.size(), QSize(160, 20));
    QVERIFY(qAbs(bar.center().x() - centre.x()) <= 1);
    QCOMPARE(w.child<QPushButton>("btn_cancel")->property("qstyle").toString(), QString("btn1"));
}

void OverlayTest::overallBar() {
    Window w;
    w.control.beginBusy(InteractionWaitingWidget::BarOnly);
    const int cases[][3] = {{3, 3, 100}, {1, 3, 33}, {0, 0, 0}, {2, 3, 66}};
    for (const auto& c : cases) {
        w.control.overallProgress(c[0], c[1]);
        QCOMPARE(w.overlay->barValue(), c[2]);
    }
    // A new job starts its bar at 0.
    w.control.endBusy();
    w.control.beginBusy(InteractionWaitingWidget::BarAndCancel);
    QCOMPARE(w.overlay->barValue(), 0);
}

void OverlayTest::cancelAllAndRowCancel() {
    Window w;
    w.control.beginBusy(InteractionWaitingWidget::ItemList);
    w.control.itemProgress("127.0.0.2", 10, "");
    w.control.itemProgress("127.0.0.3", 20, "");
    w.control.setCancelled("127.0.0.2", false);
    w.control.setCancelled("127.0.0.3", false);
    QVERIFY(QTest::qWaitForWindowExposed(&w.window));
    clickRowCancel(w.overlay->progressWidget(), 1);
    QVERIFY(w.control.isCancelled("127.0.0.3"));
    QVERIFY(!w.control.isCancelled("127.0.0.2"));
    QVERIFY(!w.control.stopRequested());

    w.control.endBusy();
    w.control.beginBusy(InteractionWaitingWidget::BarAndCancel);
    w.control.setCancelled("127.0.0.2", false);
    w.child<QPushButton>("btn_cancel")->click();
    QVERIFY(w.control.stopRequested());
    QVERIFY(w.control.isCancelled("127.0.0.2"));
}

void OverlayTest::listGrowsUpToOverlayHeight() {
    Window w;
    w.window.resize(800, 240);
    w.control.beginBusy(InteractionWaitingWidget::ItemList);
    QTRY_COMPARE(w.overlay->height(), 200);
    ProgressWidget* list = w.overlay->progressWidget();
    w.control.itemProgress("127.0.0.2", 0, "");
    QCOMPARE(list->height(), 40);
    w.control.itemProgress("127.0.0.3", 0, "");
    w.control.itemProgress("127.0.0.2", 50, "");  // an update adds no row
    QCOMPARE(list->height(), 80);
    for (int i = 4; i < 12; ++i) w.control.itemProgress(QString("127.0.0.%1").arg(i), 0, "");
    QCOMPARE(list->height(), 200);
    QCOMPARE(list->y(), 0);
    QVERIFY(qAbs(list->geometry().center().x() - w.overlay->width() / 2) <= 1);
}

void OverlayTest::secondBeginKeepsRunningJob() {
    Window w;
    w.control.beginBusy(InteractionWaitingWidget::ItemList);
    w.control.itemProgress("127.0.0.2", 30, "");
    w.control.setCancelled("127.0.0.2", true);
    w.control.beginBusy(InteractionWaitingWidget::ItemList);
    QCOMPARE(w.overlay->progressWidget()->rowCount(), 1);
    QVERIFY(w.control.isCancelled("127.0.0.2"));

    // Counted: the overlay stays up until both have ended; the next job then starts clean.
    w.control.endBusy();
    QVERIFY(w.overlay->isVisible());
    w.control.endBusy();
    QVERIFY(!w.overlay->isVisible());
    w.control.beginBusy(InteractionWaitingWidget::ItemList);
    QCOMPARE(w.overlay->progressWidget()->rowCount(), 0);
    QVERIFY(!w.control.isCancelled("127.0.0.2"));
}

// Calls answer in any order; only the newest of a channel is shown, and the overlay stays up
// exactly while any call is out, including calls whose owner is gone.
void OverlayTest::pageCallsDropSupersededAnswers() {
    Window w;
    QVector<std::function<void(int)>> out;
    QStringList shown;
    auto* calls = new PageCall;
    auto call = [&](const QString& channel, const QString& name) {
        calls->run(channel, busy::Animation, [&](std::function<void(int)> done) { out << done; },
                   [&shown, name](int result) { shown << name + QString::number(result); });
    };
    call("page", "first");
    call("page", "second");
    call("library", "lib");
    QCOMPARE(w.control.busyCount(), 3);
    out[1](2);
    out[0](1);
    QVERIFY(w.overlay->isVisible());
    out[2](3);
    QVERIFY(!w.overlay->isVisible());
    QCOMPARE(shown, QStringList({"second2", "lib3"}));

    call("page", "stale");
    calls->supersedeAll();
    out[3](4);
    QCOMPARE(shown.size(), 2);
    call("page", "orphan");
    QCOMPARE(calls->pending(), 1);
    delete calls;
    QVERIFY(!w.overlay->isVisible());
    out[4](5);
    QCOMPARE(w.control.busyCount(), 0);
    QCOMPARE(shown.size(), 2);
}

void OverlayTest::pageTakesNoKeysWhileBusy() {
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.window));
    QSignalSpy clicks(w.button, &QPushButton::clicked);
    w.button->setFocus();
    w.control.beginBusy(InteractionWaitingWidget::BarAndCancel);
    QTest::keyClick(w.button, Qt::Key_Space);
    QTest::keyClicks(w.field, "abc");
    QCOMPARE(clicks.count(), 0);
    QVERIFY(w.field->text().isEmpty());
    // Tab cycles inside the overlay.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY(focus == w.overlay || w.overlay->isAncestorOf(focus));
    }
    w.control.endBusy();
    QTest::keyClick(w.button, Qt::Key_Space);
    QCOMPARE(clicks.count(), 1);
}

// A box the page shows while busy (a job's outcome before the overlay hides) still answers.
void OverlayTest::pageBoxesStayUsable() {
    Window w;
    // Made with the page, as pages make their dialogs, and shown while the overlay is up.
    QMessageBox box(QMessageBox::Information, "Info", "Extract finished", QMessageBox::Ok, w.page);
    w.control.beginBusy(InteractionWaitingWidget::Animation);
    QVERIFY(!w.page->isEnabled());
    box.show();
    QVERIFY(box.isEnabled());
    QVERIFY(box.button(QMessageBox::Ok)->isEnabled());
    box.close();
    w.control.endBusy();
    QVERIFY(w.page->isEnabled());

    // A part the page disabled itself stays disabled afterwards.
    w.field->setEnabled(false);
    w.control.beginBusy(InteractionWaitingWidget::Animation);
    w.control.endBusy();
    QVERIFY(!w.field->isEnabled());
    QVERIFY(w.button->isEnabled());
}

KIT_TEST_MAIN(OverlayTest)
#include "overlay_test.moc"
