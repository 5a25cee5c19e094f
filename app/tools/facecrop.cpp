#include "facecrop.h"

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
