#include "simpleimagedialog.h"

#include <QImage>
#include <QMessageBox>
#include <QtMath>

#include "dbutil/busy.h"
#include "dbutil/resultcode.h"
#include "picturesource.h"
#include "ui_simpleimagedialog.h"

SimpleImageDialog::SimpleImageDialog(QWidget* parent)
    : QDialog(parent), ui(new Ui::SimpleImageDialog) {
    ui->setupUi(this);
}

SimpleImageDialog::~SimpleImageDialog() {
    delete ui;
}

QSize SimpleImageDialog::shownSize(const QSize& picture) {
    const double wide = picture.width() > kMaxWidth ? double(picture.width()) / kMaxWidth : 0;
    const double high = picture.height() > kMaxHeight ? double(picture.height()) / kMaxHeight : 0;
    const double factor = qMax(wide, high);
    if (factor <= 0) return picture;
    return QSize(qRound(picture.width() / factor), qRound(picture.height() / factor));
}

void SimpleImageDialog::fail(const QString& text) {
    QMessageBox::information(nullptr, tr("Failed"), text);
    emit signalFetched(false);
}

void SimpleImageDialog::showImage(const SDeviceInfo& device, const QString& url) {
    if (device.ip.isEmpty()) return fail(tr("Get device info failed"));
    if (url.isEmpty()) return fail(tr("The image doesn't exist"));
    auto data = QSharedPointer<Protocol::MsgImageData>::create();
    data->url = url;
    calls_.run(
        QStringLiteral("picture"), busy::Animation,
        [this, device, data](DeviceControl::Callback done) {
            control_.getImage(device, data, done);
        },
        [this, data](const QVariant& result) { showFetched(result.toInt(), data->bytes()); });
}

void SimpleImageDialog::showFetched(int result, const QByteArray& bytes) {
    if (result == resultcode::ImageGone) return fail(tr("The image doesn't exist"));
    if (result != 0 || bytes.isEmpty()) return fail(tr("Get image data failed"));
    QImage image = picturesource::decodeBounded(bytes);
    if (image.isNull()) return fail(tr("Load jpg image failed"));
    const QSize size = shownSize(image.size());
    if (size != image.size())
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    ui->label_image->setPixmap(QPixmap::fromImage(image));
    setFixedSize(image.size());
    show();
    raise();
    emit signalFetched(true);
}
