#include "tableheaderview.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>

namespace {
const char* const kCheckedPicture = ":/system/assets/images/system/checkbox_checked.png";
constexpr int kBoxLeft = 3;
constexpr int kBoxTop = 10;
}  // namespace

TableHeaderView::TableHeaderView(Qt::Orientation orientation, QWidget* parent)
    : QHeaderView(orientation, parent) {}

void TableHeaderView::setChecked(bool checked) {
    if (checked_ == checked) return;
    checked_ = checked;
    updateSection(0);
}

QRect TableHeaderView::boxRect(const QRect& section, bool checked) {
    const int side = checked ? 15 : 14;
    return QRect(section.left() + kBoxLeft, section.top() + kBoxTop, side, side);
}

QRect TableHeaderView::sectionRect(int logicalIndex) const {
    const int position = sectionViewportPosition(logicalIndex);
    const int size = sectionSize(logicalIndex);
    if (orientation() == Qt::Horizontal) return QRect(position, 0, size, viewport()->height());
    return QRect(0, position, viewport()->width(), size);
}

void TableHeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    painter->save();
    QHeaderView::paintSection(painter, rect, logicalIndex);
    painter->restore();
    if (logicalIndex != 0) return;
    const QRect box = boxRect(rect, checked_);
    if (!checked_) {
        painter->save();
        painter->setPen(QColor(0x9a, 0xa6, 0xb4));
        painter->drawRect(box);
        painter->restore();
        return;
    }
    const QPixmap picture = QPixmap(kCheckedPicture).scaled(box.size(), Qt::KeepAspectRatio,
                                                             Qt::SmoothTransformation);
    style()->drawItemPixmap(painter, box, Qt::AlignLeft | Qt::AlignVCenter, picture);
}

void TableHeaderView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint at = event->pos();
    const bool inFirst = logicalIndexAt(at) == 0;
    if (isEnabled() && inFirst && boxRect(sectionRect(0), checked_).contains(at)) {
        checked_ = !checked_;
        updateSection(0);
        emit checkStateChanged(checked_);
        event->accept();
        return;
    }
    QHeaderView::mouseReleaseEvent(event);
}
