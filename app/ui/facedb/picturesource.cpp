#include "picturesource.h"

namespace picturesource {

namespace {
constexpr int kNotFound = -1;

QPixmap placeholder(const char* kind, Place place) {
    return QPixmap(QString(":/index/images/assets/images/config/%1_%2.png")
                       .arg(kind)
                       .arg(place == Grid ? 150 : 160));
}
}  // namespace

QPixmap picture(int result, const QByteArray& bytes, Place place) {
    if (result == kNotFound) return placeholder("deleted_image", place);
    QPixmap decoded;
    if (result != 0 || bytes.isEmpty() || !decoded.loadFromData(bytes))
        return placeholder("no_image", place);
    return decoded;
}

}  // namespace picturesource
