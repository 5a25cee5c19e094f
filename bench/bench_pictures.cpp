#include "bench_pictures.h"

#include <QDir>
#include <QImage>

namespace benchpictures {

QVector<SFeatrueInfo> write(const QString& dir, int count, int colourStep) {
    QVector<SFeatrueInfo> pictures;
    for (int i = 0; i < count; ++i) {
        QImage image(160, 200, QImage::Format_RGB32);
        image.fill(qRgb(i * colourStep, 100, 255 - i * colourStep));
        SFeatrueInfo picture;
        picture.name = QString("person %1").arg(i);
        picture.path = QDir(dir).filePath(QString("p%1.jpg").arg(i));
        if (!image.save(picture.path, "JPG")) qFatal("cannot write a picture");
        pictures.append(picture);
    }
    return pictures;
}

}  // namespace benchpictures
