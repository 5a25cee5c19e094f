#include "imageitem.h"

#include <QMouseEvent>
#include <QSignalBlocker>

#include "ui_imageitem.h"

ImageItem::ImageItem(QWidget* parent) : QWidget(parent), ui(new Ui::ImageItem) {
    ui->setupUi(this);
    setFixedSize(150, 200);
    ui->label_name->setTextFormat(Qt::PlainText);  // names come from the camera
    ui->label_pixmap->installEventFilter(this);
}

ImageItem::~ImageItem() {
    delete ui;
}

void ImageItem::setPixmap(const QPixmap& pixmap) {
    ui->label_pixmap->setPixmap(
        pixmap.scaled(ui->label_pixmap->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ImageItem::setName(const QString& name) {
    ui->label_name->setText(name);
}

QString ImageItem::name() const {
    return ui->label_name->text();
}

void ImageItem::setChecked(bool checked) {
    const QSignalBlocker blocker(ui->check_box);
    ui->check_box->setChecked(checked);
}

bool ImageItem::isChecked() const {
    return ui->check_box->isChecked();
}

bool ImageItem::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->label_pixmap && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        ui->check_box->toggle();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ImageItem::on_check_box_stateChanged(int state) {
    emit signalChecked(state == Qt::Checked);
}
