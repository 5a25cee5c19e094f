#include "facecrop.h"

#include <QBuffer>

#include "dbutil/inputcheck.h"

namespace {
constexpr int kQualities[] = {90, 80, 70, 60, 50, 40, 30};
constexpr double kShrink = 0.8;

QByteArray jpeg(const QImage& picture, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!picture.save(&buffer, "JPG", quality)) return {};
    return bytes;
}
}  // namespace

QRect faceCropRect(const QRect& face, const QTransform& enlarge) {
    QRect crop = enlarge.mapRect(face);
    crop.moveCenter(face.center());
    return crop;
}

QSize limitedSize(const QSize& size, const QSize& limit) {
    if (size.isEmpty() || (size.width() <= limit.width() && size.height() <= limit.height()))
        return size;
    const qint64 width = size.width();
    const qint64 height = size.height();
    // The side with the larger ratio lands exactly on its limit; integer arithmetic keeps the
    // other side's truncation exact where floating point could fall one pixel short.
    if (width * limit.height() >= height * limit.width())
        return QSize(limit.width(), static_cast<int>(height * limit.width() / width));
    return QSize(static_cast<int>(width * limit.height() / height), limit.height());
}

QByteArray uploadableJpeg(const QImage& crop) {
    if (crop.isNull()) return {};
    QImage picture = crop;
    QSize fitted = limitedSize(picture.size());
    const int shorter = qMin(fitted.width(), fitted.height());
    if (shorter < kImageMinSide)  // a small face: the camera takes nothing under 100 pixels
        fitted = fitted.scaled(fitted * (double(kImageMinSide) / shorter), Qt::KeepAspectRatio)
                     .expandedTo(QSize(kImageMinSide, kImageMinSide));
    if (fitted != picture.size())
        picture = picture.scaled(fitted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    for (;;) {
        for (int quality : kQualities) {
            const QByteArray bytes = jpeg(picture, quality);
            if (!bytes.isEmpty() && bytes.size() <= kImageMaxBytes) return bytes;
        }
        const QSize smaller = picture.size() * kShrink;
        if (qMin(smaller.width(), smaller.height()) < kImageMinSide) return {};
        picture = picture.scaled(smaller, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
}
