#include "devicetableview.h"

#include <QPainter>

DeviceTableView::DeviceTableView(QWidget* parent)
    : QTableView(parent), empty_(":/index/images/assets/images/index/empty.png") {}

void DeviceTableView::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!model() || model()->rowCount() > 0 || empty_.isNull()) return;
    const QRect area = rect();
    QPainter painter(viewport());
    painter.drawPixmap(area.x() + area.width() / 2 - kEmptyOffsetX,
                       area.y() + area.height() / 2 - kEmptyOffsetY, empty_);
}
