#include "bench_pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>

namespace benchpictures {

namespace {

constexpr int kWidth = 160;
constexpr int kHeight = 200;
constexpr int kMarkBits = 16;
constexpr int kMarkSide = 10;  // a JPEG block and more: the mark survives the compression

}  // namespace

QByteArray jpeg(int index, int colourStep) {
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(qRgb(index * colourStep, 100, 255 - index * colourStep));
    // The colour repeats every 256 / colourStep pictures; the number's bits, as black and white
    // squares along the top edge, tell those apart.
    for (int bit = 0; bit < kMarkBits; ++bit) {
        const QRgb mark = (index >> bit) & 1 ? qRgb(255, 255, 255) : qRgb(0, 0, 0);
        for (int y = 0; y < kMarkSide; ++y)
            for (int x = bit * kMarkSide; x < (bit + 1) * kMarkSide; ++x)
                image.setPixel(x, y, mark);
    }
    QByteArray bytes;
    QBuffer out(&bytes);
    if (!out.open(QIODevice::WriteOnly) || !image.save(&out, "JPG"))
        qFatal("cannot make a picture");
    return bytes;
}

QVector<SFeatrueInfo> write(const QString& dir, int count, int colourStep) {
    QVector<SFeatrueInfo> pictures;
    for (int i = 0; i < count; ++i) {
        SFeatrueInfo picture;
        picture.name = QString("person %1").arg(i);
        picture.path = QDir(dir).filePath(QString("p%1.jpg").arg(i));
        QFile file(picture.path);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg(i, colourStep)) < 0)
            qFatal("cannot write a picture");
        pictures.append(picture);
    }
    return pictures;
}

}  // namespace benchpictures
