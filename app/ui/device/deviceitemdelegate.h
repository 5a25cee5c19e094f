// Paints the device table's cells without the focus frame and with a thin line below each.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class DeviceItemDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit DeviceItemDelegate(QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    QColor lineColor_;
};
