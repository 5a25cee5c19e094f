#include "imageswidget.h"

#include "imageitemwrap.h"
#include "ui/widgets/qflowlayout.h"

ImagesWidget::ImagesWidget(QWidget* parent)
    : QWidget(parent), layout_(new QFlowLayout(this, -1, kItemSpacing, kRowSpacing)) {}

void ImagesWidget::clear() {
    while (QLayoutItem* item = layout_->takeAt(0))
        delete item;
    qDeleteAll(cells_);
    cells_.clear();
}

void ImagesWidget::addItem(ImageItemWrap* cell) {
    cells_.append(cell);
    layout_->addWidget(cell);
}

void ImagesWidget::refresh() {
    for (ImageItemWrap* cell : cells_)
        cell->refresh();
}
