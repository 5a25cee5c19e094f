#include "deviceitemdelegate.h"

#include <QPainter>

DeviceItemDelegate::DeviceItemDelegate(QObject* parent)
    : QStyledItemDelegate(parent), pen_(QColor(0xE1, 0xE6, 0xEE), 1) {}

void DeviceItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    QStyleOptionViewItem plain(option);
    plain.state &= ~QStyle::State_HasFocus;
    QStyledItemDelegate::paint(painter, plain, index);

    painter->save();
    painter->setPen(pen_);
    painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
    painter->restore();
}
