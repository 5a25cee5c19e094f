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

void DeviceTableView::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    updateEditorGeometries();  // rows scrolled into sight show their widgets
}

// The base view shows every row widget, in sight or not: with hundreds of cameras each paint,
// layout and refresh would walk thousands of widgets. Only the rows in sight show theirs.
void DeviceTableView::updateEditorGeometries() {
    QAbstractItemModel* rows = model();
    if (!rows) return QTableView::updateEditorGeometries();
    const int first = qMax(0, rowAt(0));
    int last = rowAt(viewport()->height() - 1);
    if (last < 0) last = rows->rowCount() - 1;
    QStyleOptionViewItem option = viewOptions();
    for (int row = 0; row < rows->rowCount(); ++row) {
        for (int column = 0; column < rows->columnCount(); ++column) {
            const QModelIndex index = rows->index(row, column);
            QWidget* widget = indexWidget(index);
            if (!widget) continue;
            option.rect = visualRect(index);
            if (row < first || row > last || !option.rect.isValid()) {
                if (!widget->isHidden()) widget->hide();
                continue;
            }
            widget->show();
            itemDelegate(index)->updateEditorGeometry(widget, option, index);
        }
    }
}
