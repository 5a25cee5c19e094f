// Build-time tool: renders the kit's SVG sources into the PNG and GIF files its resource file lists.
//   kit_pictures <pictures.qrc> <resources dir> <output dir>
// "pictures/a/b.png" is drawn from "svg/a/b.svg" at the SVG's own size, "b@2x.png" at twice
// that size; "b.gif" turns the drawing around its centre in twelve steps, as a looping animation.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>
#include <cstdio>

#include "gifwriter.h"

namespace {

constexpr int kAnimationSteps = 12;
constexpr int kAnimationDelayCs = 8;
constexpr int kOpaqueFrom = 8;  // alpha below this becomes the transparent GIF colour

QImage render(QSvgRenderer& svg, int scale, qreal degrees) {
    const QSize size = svg.defaultSize() * scale;
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(size.width() / 2.0, size.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-size.width() / 2.0, -size.height() / 2.0);
    svg.render(&painter, QRectF(QPointF(0, 0), size));
    return image;
}

// The animation has one colour at varying opacity: the palette blends white (the overlay behind
// it) into that colour, and each pixel's index follows its alpha.
QRgb inkOf(const QImage& image) {
    QRgb ink = qRgb(0, 0, 0);
    int best = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) > best) {
                best = qAlpha(p);
                ink = p;
            }
        }
    }
    return ink;
}

QVector<QRgb> blendPalette(QRgb ink) {
    QVector<QRgb> palette{qRgb(255, 255, 255)};
    for (int i = 1; i < 256; ++i) {
        const double t = double(i - 1) / 254.0;
        auto mix = [t](int c) { return int(255 + (c - 255) * t + 0.5); };
        palette.append(qRgb(mix(qRed(ink)), mix(qGreen(ink)), mix(qBlue(ink))));
    }
    return palette;
}

QByteArray indicesOf(const QImage& image) {
    QByteArray indices;
    indices.reserve(image.width() * image.height());
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            indices.append(char(alpha < kOpaqueFrom ? 0 : 1 + (alpha * 254 + 127) / 255));
        }
    }
    return indices;
}

QByteArray animation(QSvgRenderer& svg, int scale) {
    const QImage first = render(svg, scale, 0);
    GifWriter gif(first.width(), first.height(), blendPalette(inkOf(first)), 0);
    for (int step = 0; step < kAnimationSteps; ++step) {
        const QImage frame = render(svg, scale, step * 360.0 / kAnimationSteps);
        gif.addFrame(indicesOf(frame.convertToFormat(QImage::Format_ARGB32)), kAnimationDelayCs);
    }
    return gif.finish();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

bool makePicture(const QString& entry, const QString& resources, const QString& output) {
    QString source = entry;
    source.replace(QRegularExpression("^pictures/"), "svg/");
    source.replace(QRegularExpression("(@2x)?\\.(png|gif)$"), ".svg");
    const int scale = entry.contains("@2x.") ? 2 : 1;
    QSvgRenderer svg(resources + "/" + source);
    if (!svg.isValid()) {
        std::fprintf(stderr, "kit_pictures: cannot read %s\n", qPrintable(source));
        return false;
    }
    const QString target = output + "/" + entry;
    if (entry.endsWith(".gif")) return writeFile(target, animation(svg, scale));
    QDir().mkpath(QFileInfo(target).path());
    return render(svg, scale, 0).save(target, "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 4) {
        std::fprintf(stderr, "usage: kit_pictures <pictures.qrc> <resources dir> <output dir>\n");
        return 2;
    }
    QFile qrc(QString::fromLocal8Bit(argv[1]));
    if (!qrc.open(QIODevice::ReadOnly)) return 1;
    const QString listing = QString::fromUtf8(qrc.readAll());
    const QRegularExpression fileEntry(">([^<]+)</file>");
    int failures = 0;
    for (auto it = fileEntry.globalMatch(listing); it.hasNext();) {
        if (!makePicture(it.next().captured(1), QString::fromLocal8Bit(argv[2]),
                         QString::fromLocal8Bit(argv[3])))
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
