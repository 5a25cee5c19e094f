#include "imageitemwrap.h"

#include <QVBoxLayout>

#include "imageitem.h"

ImageItemWrap::ImageItemWrap(QWidget* parent) : QWidget(parent), item_(new ImageItem(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(item_);
    connect(item_, &ImageItem::signalChecked, this, &ImageItemWrap::setChecked);
}

void ImageItemWrap::setRecord(const CheckedRecordPtr& record) {
    record_ = record;
    refresh();
}

void ImageItemWrap::setPicture(const QPixmap& picture) {
    item_->setPixmap(picture);
}

void ImageItemWrap::setChecked(bool checked) {
    if (record_) record_->checked = checked;
    item_->setChecked(checked);
    emit signalChecked(checked);
}

void ImageItemWrap::refresh() {
    if (!record_) return;
    item_->setName(record_->info.name);
    item_->setChecked(record_->checked);
}
