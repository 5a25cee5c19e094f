#include "uploadimagewidget.h"

#include "ui_uploadimagewidget.h"

namespace {
constexpr int kButtonPage = 0;
constexpr int kPicturePage = 1;
}  // namespace

UploadImageWidget::UploadImageWidget(QWidget* parent)
    : QWidget(parent), ui(new Ui::UploadImageWidget) {
    ui->setupUi(this);
    reset();
}

UploadImageWidget::~UploadImageWidget() {
    delete ui;
}

bool UploadImageWidget::hasPicture() const {
    return ui->stackedWidget->currentIndex() == kPicturePage;
}

void UploadImageWidget::setPicture(const QPixmap& picture) {
    ui->label_picture->setPixmap(
        picture.scaled(size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
    ui->stackedWidget->setCurrentIndex(kPicturePage);
}

void UploadImageWidget::reset() {
    ui->label_picture->clear();
    ui->stackedWidget->setCurrentIndex(kButtonPage);
}

QPixmap UploadImageWidget::picture() const {
    return hasPicture() ? ui->label_picture->pixmap(Qt::ReturnByValue) : QPixmap();
}

void UploadImageWidget::on_btn_upload_clicked() {
    emit signalUploadClicked();
}
