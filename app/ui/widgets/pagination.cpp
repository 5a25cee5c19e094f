#include "pagination.h"

#include <QRegExpValidator>

#include "ui_pagination.h"

namespace {
const char* const kCurrentStyle = "background: rgba(0,102,255,1);color:rgba(255,255,255,1);";
const char* const kNormalStyle = "background: rgba(255,255,255,1);color:rgba(87,87,87,1);";
}  // namespace

Pagination::Pagination(QWidget* parent) : QWidget(parent), ui_(std::make_unique<Ui::Pagination>()) {
    ui_->setupUi(this);
    pageButtons_ = {ui_->btn_page_0, ui_->btn_page_1, ui_->btn_page_2, ui_->btn_page_3,
                    ui_->btn_page_4, ui_->btn_page_5, ui_->btn_page_6, ui_->btn_page_7,
                    ui_->btn_page_8, ui_->btn_page_9};
    for (QPushButton* button : pageButtons_)
        connect(button, &QPushButton::clicked, this, &Pagination::slotPageClicked);
    connect(ui_->btn_prev, &QPushButton::clicked, this, &Pagination::slotPrevPage);
    connect(ui_->btn_next, &QPushButton::clicked, this, &Pagination::slotNextPage);
    connect(ui_->edit_page, &QLineEdit::editingFinished, this, &Pagination::slotPageJump);
    connect(ui_->combo_page_size, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { slotComboBoxChanged(ui_->combo_page_size->itemText(index)); });
    ui_->edit_page->setValidator(new QRegExpValidator(QRegExp("^[1-9]\\d*$"), this));
    setTotal(0);
}

Pagination::~Pagination() = default;

void Pagination::recomputePages() {
    pageCount_ = total_ > 0 ? total_ / pageSize_ + (total_ % pageSize_ ? 1 : 0) : 1;
    const int shown = qMin(pageCount_, kPageButtons);
    for (int i = 0; i < kPageButtons; ++i) pageButtons_[i]->setVisible(i < shown);
    if (pageCount_ > kPageButtons) pageButtons_[9]->setText(QString::number(pageCount_));
    ui_->label_total->setText(tr("Total") + " " + QString::number(qMax(total_, 0)) + " " +
                              tr("Record"));
}

void Pagination::setTotal(int total) {
    total_ = qMax(total, 0);
    recomputePages();
    const bool pageGone = currentPage_ > pageCount_;
    if (pageGone) currentPage_ = pageCount_;
    refresh();
    if (pageGone) emit signalCurrPageChanged(currentPage_);
}

void Pagination::setCurrentPage(int page) {
    currentPage_ = page < 1 ? 1 : qMin(page, pageCount_);
    refresh();
}

void Pagination::setPageSize(int pageSize) {
    const int index = ui_->combo_page_size->findText(QString::number(pageSize));
    if (index < 0) return;
    {
        const QSignalBlocker quiet(ui_->combo_page_size);
        ui_->combo_page_size->setCurrentIndex(index);
    }
    pageSize_ = pageSize;
    currentPage_ = 1;
    recomputePages();
    refresh();
}

// Which of the ten buttons shows the current page; shows or hides the two ellipses.
int Pagination::currentPosition() {
    const int n = pageCount_;
    const int c = currentPage_;
    const bool many = n >= 11;
    const bool nearStart = c < 8;
    const bool nearEnd = n - c < 7;
    ui_->btn_ellipsis_left->setVisible(many && !nearStart);
    ui_->btn_ellipsis_right->setVisible(many && (nearStart || !nearEnd));
    if (!many || nearStart) return c - 1;
    if (!nearEnd) return 5;
    return c - n + 9;
}

void Pagination::refresh() {
    const int p = currentPosition();
    const int n = pageCount_;
    const int c = currentPage_;
    ui_->btn_prev->setEnabled(n >= 2 && c > 1);
    ui_->btn_next->setEnabled(n >= 2 && c < n);
    for (int i = 0; i < n && i < kPageButtons; ++i) {
        QPushButton* button = pageButtons_[i];
        button->setStyleSheet(i == p ? kCurrentStyle : kNormalStyle);
        const bool keepsText = n >= 11 && (i == 0 || i == 9);
        if (!keepsText) button->setText(QString::number(c - p + i));
    }
    if (n >= 11) pageButtons_[0]->setText("1");
}

void Pagination::moveTo(int page) {
    if (page == currentPage_) return;
    currentPage_ = page;
    refresh();
    emit signalCurrPageChanged(currentPage_);
}

void Pagination::slotPageClicked() {
    auto* button = qobject_cast<QPushButton*>(sender());
    if (!button) return;
    bool ok = false;
    const int page = button->text().toInt(&ok);
    if (ok && page >= 1 && page <= pageCount_) moveTo(page);
}

void Pagination::slotPrevPage() {
    if (currentPage_ > 1) moveTo(currentPage_ - 1);
}

void Pagination::slotNextPage() {
    if (currentPage_ < pageCount_) moveTo(currentPage_ + 1);
}

// A number beyond the last page (however long) goes to the last page; the field empties.
void Pagination::slotPageJump() {
    const QString text = ui_->edit_page->text();
    if (text.isEmpty()) return;
    bool ok = false;
    const qlonglong typed = text.toLongLong(&ok);
    ui_->edit_page->clear();
    if (!ok || typed < 1) return;
    moveTo(int(qMin<qlonglong>(typed, pageCount_)));
}

void Pagination::slotComboBoxChanged(const QString& text) {
    bool ok = false;
    const int size = text.toInt(&ok);
    if (!ok || size < 1) return;
    pageSize_ = size;
    currentPage_ = 1;
    recomputePages();
    refresh();
    emit signalPageSizeChanged(pageSize_);
}
