#include "picturesource.h"

#include <QBuffer>
#include <QImageReader>

#include "dbutil/resultcode.h"

namespace picturesource {

namespace {
QPixmap placeholder(const char* kind, Place place) {
    return QPixmap(QString(":/index/images/assets/images/config/%1_%2.png")
                       .arg(kind)
                       .arg(place == Grid ? 150 : 160));
}

bool withinLimits(const QSize& size) {
    return size.isValid() && size.width() <= kMaxSide && size.height() <= kMaxSide &&
           qint64(size.width()) * size.height() <= kMaxPixels;
}
}  // namespace

QImage decodeBounded(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    if (!buffer.open(QIODevice::ReadOnly)) return {};
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    if (!withinLimits(reader.size())) return {};
    QImage image;
    if (!reader.read(&image) || !withinLimits(image.size())) return {};
    return image;
}

QPixmap picture(int result, const QByteArray& bytes, Place place) {
    if (result == resultcode::ImageGone) return placeholder("deleted_image", place);
    if (result != 0 || bytes.isEmpty()) return placeholder("no_image", place);
    const QImage decoded = decodeBounded(bytes);
    if (decoded.isNull()) return placeholder("no_image", place);
    return QPixmap::fromImage(decoded);
}

}  // namespace picturesource
