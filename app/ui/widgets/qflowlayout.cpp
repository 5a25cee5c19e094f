#include "qflowlayout.h"

#include <QWidget>

QFlowLayout::QFlowLayout(QWidget* parent, int margin, int hSpacing, int vSpacing)
    : QLayout(parent), hSpacing_(hSpacing), vSpacing_(vSpacing) {
    setContentsMargins(margin, margin, margin, margin);
}

QFlowLayout::QFlowLayout(int margin, int hSpacing, int vSpacing)
    : hSpacing_(hSpacing), vSpacing_(vSpacing) {
    setContentsMargins(margin, margin, margin, margin);
}

QFlowLayout::~QFlowLayout() {
    while (QLayoutItem* item = takeAt(0)) delete item;
}

void QFlowLayout::addItem(QLayoutItem* item) {
    items_.append(item);
}

int QFlowLayout::horizontalSpacing() const {
    return hSpacing_ >= 0 ? hSpacing_ : smartSpacing(QStyle::PM_LayoutHorizontalSpacing);
}

int QFlowLayout::verticalSpacing() const {
    return vSpacing_ >= 0 ? vSpacing_ : smartSpacing(QStyle::PM_LayoutVerticalSpacing);
}

int QFlowLayout::count() const {
    return items_.size();
}

QLayoutItem* QFlowLayout::itemAt(int index) const {
    return items_.value(index);
}

QLayoutItem* QFlowLayout::takeAt(int index) {
    if (index < 0 || index >= items_.size()) return nullptr;
    return items_.takeAt(index);
}

Qt::Orientations QFlowLayout::expandingDirections() const {
    return {};
}

bool QFlowLayout::hasHeightForWidth() const {
    return true;
}

int QFlowLayout::heightForWidth(int width) const {
    return doLayout(QRect(0, 0, width, 0), false);
}

void QFlowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    doLayout(rect, true);
}

QSize QFlowLayout::sizeHint() const {
    return minimumSize();
}

QSize QFlowLayout::minimumSize() const {
    QSize size;
    for (QLayoutItem* item : items_) size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

// Without an own value: the parent widget's style metric, or the parent layout's spacing.
int QFlowLayout::smartSpacing(QStyle::PixelMetric metric) const {
    QObject* owner = parent();
    if (!owner) return -1;
    if (owner->isWidgetType()) {
        auto* widget = static_cast<QWidget*>(owner);
        return widget->style()->pixelMetric(metric, nullptr, widget);
    }
    return static_cast<QLayout*>(owner)->spacing();
}

// The style's spacing between two push buttons when neither the layout nor its parent decides.
int QFlowLayout::itemSpacing(QLayoutItem* item, int spacing, Qt::Orientation orientation) {
    if (spacing != -1) return spacing;
    QWidget* widget = item->widget();
    if (!widget) return 0;
    return widget->style()->layoutSpacing(QSizePolicy::PushButton, QSizePolicy::PushButton,
                                          orientation);
}

int QFlowLayout::doLayout(const QRect& rect, bool place) const {
    const QMargins m = contentsMargins();
    const QRect area = rect.adjusted(m.left(), m.top(), -m.right(), -m.bottom());
    int x = area.x();
    int y = area.y();
    int lineHeight = 0;
    for (QLayoutItem* item : items_) {
        const int spaceX = itemSpacing(item, horizontalSpacing(), Qt::Horizontal);
        const int spaceY = itemSpacing(item, verticalSpacing(), Qt::Vertical);
        const QSize hint = item->sizeHint();
        // The first item of a row stays even when it is wider than the row.
        if (x + hint.width() > area.right() + 1 && lineHeight > 0) {
            x = area.x();
            y += lineHeight + spaceY;
            lineHeight = 0;
        }
        if (place) item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + spaceX;
        lineHeight = qMax(lineHeight, hint.height());
    }
    return y + lineHeight - rect.y() + m.bottom();
}
