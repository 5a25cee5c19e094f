// One screenshot per kit widget, drawn on a real (virtual) display with the program's style
// sheet, saved for people to look at and checked not to be blank.
#include <QDir>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>

#include "dbutil/jobcontrol.h"
#include "kittest.h"
#include "ui/widgets/interactionwaitingwidget.h"
#include "ui/widgets/pagination.h"
#include "ui/widgets/platbuttonwidget.h"
#include "ui/widgets/progressmodel.h"
#include "ui/widgets/progresswidget.h"
#include "ui/widgets/qflowlayout.h"
#include "ui/widgets/tableheaderview.h"
#include "ui/widgets/timermessagebox.h"

namespace {

const QString kConfigPictures = ":/index/images/assets/images/config/";

QString screenshotDir() {
    const QString scale = qApp->devicePixelRatio() > 1.5 ? "200" : "100";
    return QString(KIT_SCREENSHOT_DIR "-%1").arg(scale);
}

// Fails when the picture is (nearly) one colour: nothing was drawn.
void checkDrawn(const QImage& image, const QString& name) {
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    int dominant = 0;
    for (int n : counts) dominant = qMax(dominant, n);
    const int pixels = image.width() * image.height();
    QVERIFY2(counts.size() >= 8, qPrintable(name));
    QVERIFY2(dominant < pixels * 0.98, qPrintable(name));
}

void shoot(QWidget& widget, const QString& name) {
    widget.show();
    QVERIFY(QTest::qWaitForWindowExposed(&widget));
    QApplication::processEvents();
    const QImage image = widget.grab().toImage();
    QVERIFY(QDir().mkpath(screenshotDir()));
    QVERIFY(image.save(screenshotDir() + "/" + name + ".png"));
    checkDrawn(image, name);
}

QPushButton* styled(const QString& text, const QString& style, const QString& icon = QString()) {
    auto* button = new QPushButton(text);
    button->setProperty("qstyle", style);
    if (!icon.isEmpty()) button->setIcon(QIcon(icon));
    return button;
}

// A page-like background for the overlay: a title, buttons and a filled table.
QWidget* pageUnderneath(QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(styled("Add", "btn1", ":/index/images/assets/images/index/add.png"));
    row->addWidget(styled("Import Batch", "btn2"));
    row->addStretch();
    layout->addLayout(row);
    auto* table = new QTableView(page);
    auto* model = new QStandardItemModel(8, 4, table);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 4; ++c) model->setItem(r, c, new QStandardItem(QString("cell %1").arg(r)));
    table->setModel(model);
    layout->addWidget(table);
    return page;
}

}  // namespace

class LookTest : public QObject {
    Q_OBJECT
private slots:
    void pagination();
    void progressList();
    void overlay_data();
    void overlay();
    void headerBox();
    void flowOfPictures();
    void platButton();
    void countdownBox();
    void styleClasses();
};

void LookTest::pagination() {
    QWidget host;
    host.setStyleSheet("background: #FFFFFF;");
    auto* layout = new QVBoxLayout(&host);
    Pagination middle, start;
    middle.setTotal(300);
    middle.setCurrentPage(8);
    start.setTotal(12345);
    layout->addWidget(&middle);
    layout->addWidget(&start);
    shoot(host, "pagination");
    // No page number is cut off.
    for (QPushButton* button : middle.findChildren<QPushButton*>()) {
        if (!button->isVisible()) continue;
        const int textWidth = button->fontMetrics().horizontalAdvance(button->text());
        QVERIFY2(button->width() >= textWidth + 4, qPrintable(button->text()));
    }
}

void LookTest::progressList() {
    ProgressWidget list;
    list.updateRow("127.0.0.2", 40, "2/5");
    list.updateRow("192.168.100.200", 100, "5/5");
    list.updateRow("127.0.0.4", 10, "1/10");
    list.model()->setData(list.model()->index(2, 2), 1, Qt::UserRole);
    list.setFixedHeight(3 * 40);
    shoot(list, "progress_list");
}

void LookTest::overlay_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("bar") << 0;
    QTest::newRow("loading") << 1;
    QTest::newRow("bar_cancel") << 2;
    QTest::newRow("item_list") << 3;
}

void LookTest::overlay() {
    QFETCH(int, mode);
    JobControl control;
    QWidget content;
    content.resize(900, 480);
    pageUnderneath(&content)->resize(900, 480);
    InteractionWaitingWidget overlay(&content);
    control.beginBusy(mode);
    control.overallProgress(2, 5);
    for (int i = 0; i < 3; ++i)
        control.itemProgress(QString("127.0.0.%1").arg(i + 2), 30 * i + 10, QString("%1/3").arg(i));
    shoot(content, QString("overlay_%1").arg(QTest::currentDataTag()));
    control.endBusy();
}

void LookTest::headerBox() {
    QWidget host;
    auto* layout = new QHBoxLayout(&host);
    for (bool checked : {false, true}) {
        auto* view = new QTableView;
        auto* model = new QStandardItemModel(3, 4, view);
        model->setHorizontalHeaderLabels({"", "All", "Device Ip", "Network Status"});
        view->setModel(model);
        auto* header = new TableHeaderView(Qt::Horizontal, view);
        view->setHorizontalHeader(header);
        header->setChecked(checked);
        view->setFixedSize(360, 150);
        layout->addWidget(view);
    }
    shoot(host, "header_box");
}

void LookTest::flowOfPictures() {
    QWidget host;
    host.setFixedWidth(520);
    auto* flow = new QFlowLayout(&host, 8, 8, 8);
    const QStringList pictures = {"no_image_150", "deleted_image_150", "no_image_150",
                                  "no_image_150", "deleted_image_150"};
    for (const QString& picture : pictures) {
        auto* label = new QLabel;
        label->setProperty("qstyle", "lable_pixmap");
        label->setPixmap(QPixmap(kConfigPictures + picture + ".png"));
        label->setFixedSize(150, 180);
        label->setAlignment(Qt::AlignCenter);
        flow->addWidget(label);
    }
    host.setFixedHeight(flow->heightForWidth(520));
    shoot(host, "flow_layout");
}

void LookTest::platButton() {
    QWidget host;
    host.setStyleSheet("background: #FFFFFF;");
    auto* layout = new QHBoxLayout(&host);
    layout->addWidget(new PlatButtonWidget(":/index/images/assets/images/index/update.png"));
    layout->addWidget(new QLabel("127.0.0.2"));
    shoot(host, "plat_button");
}

void LookTest::countdownBox() {
    auto* box = new TimerMessageBox(nullptr, "Warning", "Account lock\nlock left time:3s");
    shoot(*box, "timer_box");
    box->close();
}

// Every style class, enabled and disabled, and the title bar on its dark header.
void LookTest::styleClasses() {
    QWidget host;
    host.setStyleSheet("QWidget#host { background: #FFFFFF; }");
    host.setObjectName("host");
    auto* grid = new QGridLayout(&host);
    const QString config = kConfigPictures;
    struct Sample {
        const char* text;
        const char* style;
        QString icon;
    };
    const Sample samples[] = {
        {"Add", "btn1", config + "add1.png"},       {"Cancel", "btn2", QString()},
        {"Search", "btn3", QString()},              {"", "btn_icon1", config + "table.png"},
        {"", "btn_icon2", ":/index/images/assets/images/index/update.png"},
        {"Config FDB", "btn_word", QString()},      {"Return", "return_btn", QString()},
        {"Photo", "btn_photo", QString()},
    };
    int column = 0;
    for (const Sample& sample : samples) {
        grid->addWidget(styled(sample.text, sample.style, sample.icon), 0, column);
        QPushButton* disabled = styled(sample.text, sample.style, sample.icon);
        disabled->setEnabled(false);
        grid->addWidget(disabled, 1, column++);
    }
    auto* title = new QLabel("Config FDB");
    title->setProperty("qstyle", "libconfig");
    grid->addWidget(title, 2, 0, 1, 3);
    auto* header = new QFrame;
    header->setStyleSheet("background-color: #0D234C;");
    auto* bar = new QHBoxLayout(header);
    bar->addStretch();
    for (const char* name : {"system__setting", "system__btn_min", "system__btn_max",
                             "system__btn_max_normal", "system__btn_close"}) {
        auto* button = new QPushButton;
        button->setObjectName(name);
        bar->addWidget(button);
    }
    grid->addWidget(header, 3, 0, 1, column);
    auto* empty = new QLabel;
    empty->setPixmap(QPixmap(":/index/images/assets/images/index/empty.png"));
    grid->addWidget(empty, 4, 0, 1, column, Qt::AlignCenter);
    shoot(host, "style_classes");
}

KIT_TEST_MAIN(LookTest)
#include "look_test.moc"
