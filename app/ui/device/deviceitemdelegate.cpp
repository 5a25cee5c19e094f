#include "deviceitemdelegate.h"

#include <QPainter>

DeviceItemDelegate::DeviceItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent), lineColor_(0xE1, 0xE6, 0xEE) {}

void DeviceItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);

    // A filled pixel row: much cheaper than a stroked line, and this runs for every cell.
    const QRect& cell = option.rect;
    painter->fillRect(QRect(cell.left(), cell.bottom(), cell.width(), 1), lineColor_);
}
