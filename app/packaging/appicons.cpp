// Build-time tool: draws the program's SVG logo at the icon theme's sizes.
//   app_icons <logo.svg> <output dir> <name> <size>...
// writes <output dir>/<size>x<size>/apps/<name>.png for each size, the drawing centred in a
// square and its proportions kept.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>

namespace {

constexpr int kMaxSize = 1024;

QImage render(QSvgRenderer& svg, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QSizeF drawn = svg.defaultSize();
    drawn.scale(size, size, Qt::KeepAspectRatio);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    svg.render(&painter,
               QRectF(QPointF((size - drawn.width()) / 2, (size - drawn.height()) / 2), drawn));
    return image;
}

bool writeIcon(QSvgRenderer& svg, const QString& root, const QString& name, const char* sizeText) {
    bool ok = false;
    const int size = QByteArray(sizeText).toInt(&ok);
    if (!ok || size < 1 || size > kMaxSize) {
        std::fprintf(stderr, "app_icons: bad size %s\n", sizeText);
        return false;
    }
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(root).arg(size);
    return QDir().mkpath(dir) && render(svg, size).save(dir + '/' + name + ".png", "PNG");
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 5) {
        std::fprintf(stderr, "usage: app_icons <logo.svg> <output dir> <name> <size>...\n");
        return 2;
    }
    QSvgRenderer svg(QString::fromLocal8Bit(argv[1]));
    if (!svg.isValid()) {
        std::fprintf(stderr, "app_icons: cannot read %s\n", argv[1]);
        return 1;
    }
    const QString root = QString::fromLocal8Bit(argv[2]);
    const QString name = QString::fromLocal8Bit(argv[3]);
    int failures = 0;
    for (int i = 4; i < argc; ++i)
        if (!writeIcon(svg, root, name, argv[i])) ++failures;
    return failures == 0 ? 0 : 1;
}
