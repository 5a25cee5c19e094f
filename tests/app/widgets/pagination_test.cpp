// The paging bar driven through its buttons, combo box and go-to field.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

#include "kittest.h"
#include "ui/widgets/pagination.h"

namespace {

// The shown buttons in display order ("..." for an ellipsis), the current one in brackets.
QString row(const Pagination& bar) {
    static const char* const kOrder[] = {
        "btn_page_0", "btn_ellipsis_left", "btn_page_1", "btn_page_2", "btn_page_3",
        "btn_page_4", "btn_page_5",        "btn_page_6", "btn_page_7", "btn_page_8",
        "btn_ellipsis_right", "btn_page_9"};
    QStringList shown;
    for (const char* name : kOrder) {
        auto* button = bar.findChild<QPushButton*>(name);
        if (!button->isVisibleTo(&bar)) continue;
        if (QString(name).startsWith("btn_ellipsis")) {
            shown << "...";
            continue;
        }
        const bool current = button->styleSheet().contains("0,102,255");
        shown << (current ? "[" + button->text() + "]" : button->text());
    }
    return shown.join(' ');
}

bool enabled(const Pagination& bar, const char* name) {
    return bar.findChild<QPushButton*>(name)->isEnabled();
}

void typePage(Pagination& bar, const QString& text) {
    auto* edit = bar.findChild<QLineEdit*>("edit_page");
    edit->clear();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
}

}  // namespace

class PaginationTest : public QObject {
    Q_OBJECT
private slots:
    void rows_data();
    void rows();
    void pageClicks();
    void goTo();
    void pageSize();
    void shrinkingTotalMovesToLastPage();
};

void PaginationTest::rows_data() {
    QTest::addColumn<int>("total");
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("prev");
    QTest::addColumn<bool>("next");
    QTest::newRow("empty") << 0 << 1 << "[1]" << false << false;
    QTest::newRow("45 records") << 45 << 1 << "[1] 2 3" << false << true;
    QTest::newRow("exactly 10 pages, last") << 200 << 10 << "1 2 3 4 5 6 7 8 9 [10]" << true << false;
    QTest::newRow("15 pages, start") << 300 << 1 << "[1] 2 3 4 5 6 7 8 9 ... 15" << false << true;
    QTest::newRow("15 pages, page 7") << 300 << 7 << "1 2 3 4 5 6 [7] 8 9 ... 15" << true << true;
    QTest::newRow("15 pages, page 8") << 300 << 8 << "1 ... 4 5 6 7 [8] 9 10 11 ... 15" << true << true;
    QTest::newRow("12 pages, page 8") << 240 << 8 << "1 ... 4 5 6 7 [8] 9 10 11 12" << true << true;
    QTest::newRow("15 pages, last") << 300 << 15 << "1 ... 7 8 9 10 11 12 13 14 [15]" << true << false;
    QTest::newRow("page beyond the end") << 300 << 99 << "1 ... 7 8 9 10 11 12 13 14 [15]" << true << false;
}

void PaginationTest::rows() {
    QFETCH(int, total);
    QFETCH(int, page);
    QFETCH(QString, expected);
    QFETCH(bool, prev);
    QFETCH(bool, next);
    Pagination bar;
    QSignalSpy pages(&bar, &Pagination::signalCurrPageChanged);
    bar.setTotal(total);
    bar.setCurrentPage(page);
    QCOMPARE(row(bar), expected);
    QCOMPARE(enabled(bar, "btn_prev"), prev);
    QCOMPARE(enabled(bar, "btn_next"), next);
    QCOMPARE(bar.findChild<QLabel*>("label_total")->text(), QString("Total %1 Record").arg(total));
    QCOMPARE(pages.count(), 0);
}

void PaginationTest::pageClicks() {
    Pagination bar;
    bar.setTotal(300);
    QSignalSpy pages(&bar, &Pagination::signalCurrPageChanged);
    bar.findChild<QPushButton*>("btn_page_0")->click();  // the current page
    bar.findChild<QPushButton*>("btn_ellipsis_right")->click();
    QCOMPARE(pages.count(), 0);

    bar.findChild<QPushButton*>("btn_page_9")->click();  // "15"
    bar.findChild<QPushButton*>("btn_prev")->click();
    QCOMPARE(pages.count(), 2);
    QCOMPARE(pages.at(0).at(0).toInt(), 15);
    QCOMPARE(pages.at(1).at(0).toInt(), 14);
    QCOMPARE(row(bar), QString("1 ... 7 8 9 10 11 12 13 [14] 15"));
    bar.findChild<QPushButton*>("btn_page_3")->click();  // "9"
    QCOMPARE(pages.last().at(0).toInt(), 9);
    QCOMPARE(row(bar), QString("1 ... 7 8 [9] 10 11 12 13 14 15"));
    bar.findChild<QPushButton*>("btn_page_1")->click();  // "7"
    QCOMPARE(row(bar), QString("1 2 3 4 5 6 [7] 8 9 ... 15"));
}

void PaginationTest::goTo() {
    Pagination bar;
    bar.setTotal(300);
    QSignalSpy pages(&bar, &Pagination::signalCurrPageChanged);
    auto* edit = bar.findChild<QLineEdit*>("edit_page");
    typePage(bar, "99");
    QCOMPARE(bar.currentPage(), 15);
    QCOMPARE(pages.count(), 1);
    QVERIFY(edit->text().isEmpty());

    // The validator keeps out 0, leading zeros and signs.
    QTest::keyClicks(edit, "0");
    QVERIFY(edit->text().isEmpty());
    QTest::keyClicks(edit, "-3");
    QCOMPARE(edit->text(), QString("3"));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(bar.currentPage(), 3);

    // A number far past the last page is the last page, never page 0.
    typePage(bar, "99999999999999");
    QCOMPARE(bar.currentPage(), 15);
    typePage(bar, "15");  // already there
    QCOMPARE(pages.count(), 3);
}

void PaginationTest::pageSize() {
    Pagination bar;
    bar.setTotal(300);
    bar.setCurrentPage(8);
    QSignalSpy pages(&bar, &Pagination::signalCurrPageChanged);
    QSignalSpy sizes(&bar, &Pagination::signalPageSizeChanged);
    bar.findChild<QComboBox*>("combo_page_size")->setCurrentText("50");
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(sizes.at(0).at(0).toInt(), 50);
    QCOMPARE(pages.count(), 0);
    QCOMPARE(bar.currentPage(), 1);
    QCOMPARE(bar.pageCount(), 6);
    QCOMPARE(row(bar), QString("[1] 2 3 4 5 6"));

    // The owner's reset to 20 is silent.
    bar.setPageSize(20);
    QCOMPARE(sizes.count(), 1);
    QCOMPARE(bar.pageCount(), 15);
    QCOMPARE(bar.findChild<QComboBox*>("combo_page_size")->currentText(), QString("20"));
}

void PaginationTest::shrinkingTotalMovesToLastPage() {
    Pagination bar;
    bar.setTotal(300);
    bar.setCurrentPage(8);
    QSignalSpy pages(&bar, &Pagination::signalCurrPageChanged);
    bar.setTotal(45);
    QCOMPARE(pages.count(), 1);
    QCOMPARE(pages.at(0).at(0).toInt(), 3);
    QCOMPARE(row(bar), QString("1 2 [3]"));
    bar.setTotal(45);  // the reload that follows does not loop
    bar.setTotal(0);
    QCOMPARE(pages.count(), 2);
    QCOMPARE(bar.currentPage(), 1);
}

KIT_TEST_MAIN(PaginationTest)
#include "pagination_test.moc"
