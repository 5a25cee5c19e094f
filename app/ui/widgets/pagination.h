// One-row paging bar: total label, page-size chooser, previous/next, ten page buttons with an
// ellipsis on each side of the middle group, and a go-to field. It keeps the paging state and
// tells its owner when the page or the page size changes; the owner loads and feeds the total back.
#pragma once

#include <QList>
#include <QWidget>
#include <memory>

class QPushButton;

namespace Ui {
class Pagination;
}

class Pagination : public QWidget {
    Q_OBJECT
public:
    static constexpr int kPageButtons = 10;

    explicit Pagination(QWidget* parent = nullptr);
    ~Pagination() override;

    // Stores the total and recomputes the pages. When the current page no longer exists it
    // moves to the last page and emits signalCurrPageChanged, so that the owner reloads.
    void setTotal(int total);
    // Clamps to 1..page count and refreshes; emits nothing.
    void setCurrentPage(int page);
    // Chooses 20, 50 or 100 records per page without emitting (other values are ignored).
    void setPageSize(int pageSize);

    int currentPage() const { return currentPage_; }
    int pageCount() const { return pageCount_; }
    int pageSize() const { return pageSize_; }
    int total() const { return total_; }

    // The button i (0..9) in display order, for tests and owners that restyle it.
    QPushButton* pageButton(int i) const { return pageButtons_.value(i); }

signals:
    void signalCurrPageChanged(int currentPage);
    void signalPageSizeChanged(int pageSize);

public slots:
    void slotPageClicked();
    void slotPrevPage();
    void slotNextPage();
    void slotPageJump();
    void slotComboBoxChanged(const QString& text);

private:
    void recomputePages();
    int currentPosition();
    void refresh();
    void moveTo(int page);

    std::unique_ptr<Ui::Pagination> ui_;
    QList<QPushButton*> pageButtons_;
    int total_ = 0;
    int pageSize_ = 20;
    int pageCount_ = 1;
    int currentPage_ = 1;
};
