#include "pictures.h"

#include <QDir>
#include <QImage>

namespace testpictures {

QString writeJpeg(const QString& dir, const QString& name, int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = qRgb((x * 7 + seed * 31) & 0xFF, (y * 5 + seed) & 0xFF, (x ^ y) & 0xFF);
    }
    const QString path = QDir(dir).filePath(name);
    return image.save(path, "JPG", 85) ? path : QString();
}

}  // namespace testpictures
