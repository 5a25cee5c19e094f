// The kit's pictures, the loading animation, the GIF writer, the style classes and the built
// translations.
#include <QBuffer>
#include <QDirIterator>
#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTranslator>
#include <QXmlStreamReader>

#include "gifwriter.h"
#include "kittest.h"

namespace {

const QStringList kStyleClasses = {"btn1",     "btn2",       "btn3",      "btn_icon1", "btn_icon2",
                                   "btn_word", "return_btn", "libconfig", "lable_pixmap", "btn_photo"};

// Not one flat colour: enough visible pixels and more than one colour among them.
bool drawn(const QImage& image) {
    QSet<QRgb> colours;
    int visible = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) == 0) continue;
            ++visible;
            colours.insert(p);
        }
    }
    return visible * 50 > image.width() * image.height() && colours.size() > 1;
}

// (context, source) of every message of a .ts file.
QList<QPair<QString, QString>> messagesOf(const QString& tsPath) {
    QList<QPair<QString, QString>> messages;
    QFile file(tsPath);
    if (!file.open(QIODevice::ReadOnly)) return messages;
    QXmlStreamReader xml(&file);
    QString context;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        if (xml.name() == QLatin1String("source")) messages.append({context, xml.readElementText()});
    }
    return messages;
}

QImage decodeGif(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer, "gif");
    return reader.read().convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

class ResourcesTest : public QObject {
    Q_OBJECT
private slots:
    void namedPictures_data();
    void namedPictures();
    void everyPictureIsDrawnAndDoubled();
    void loadingAnimation();
    void gifRoundTrip_data();
    void gifRoundTrip();
    void everyStyleClassHasALook();
    void translationsKeepStyleClasses_data();
    void translationsKeepStyleClasses();
};

void ResourcesTest::namedPictures_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");  // empty: any size
    const QString index = ":/index/images/assets/images/index/";
    const QString config = ":/index/images/assets/images/config/";
    const QString system = ":/system/assets/images/system/";
    QTest::newRow("empty list") << index + "empty.png" << QSize(380, 262);
    for (const char* name : {"add", "search", "delete", "update"})
        QTest::newRow(name) << index + name + ".png" << QSize();
    for (const char* name : {"add1", "edit1", "delete1", "table", "image", "add", "edit", "delete",
                             "muladd", "add_img"})
        QTest::newRow(qPrintable("config " + QString(name))) << config + name + ".png" << QSize();
    QTest::newRow("no image 150") << config + "no_image_150.png" << QSize(150, 180);
    QTest::newRow("deleted 150") << config + "deleted_image_150.png" << QSize(150, 180);
    QTest::newRow("no image 160") << config + "no_image_160.png" << QSize(160, 160);
    QTest::newRow("deleted 160") << config + "deleted_image_160.png" << QSize(160, 160);
    QTest::newRow("checkbox") << system + "checkbox_checked.png" << QSize(15, 15);
    for (const char* name : {"logo", "setting", "min", "max", "max_normal", "close"})
        QTest::newRow(name) << system + name + ".png" << QSize();
}

void ResourcesTest::namedPictures() {
    QFETCH(QString, path);
    QFETCH(QSize, size);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    if (size.isValid()) QCOMPARE(image.size(), size);
}

void ResourcesTest::everyPictureIsDrawnAndDoubled() {
    int count = 0;
    for (const char* root : {":/index/images/assets/images", ":/system/assets/images/system"}) {
        QDirIterator it(root, {"*.png"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            const QImage image(path);
            QVERIFY2(drawn(image), qPrintable(path));
            ++count;
            if (!path.contains("@2x")) continue;
            const QImage single(QString(path).replace("@2x", ""));
            QCOMPARE(image.size(), single.size() * 2);
        }
    }
    QVERIFY(count >= 40);
}

void ResourcesTest::loadingAnimation() {
    QMovie movie(":/system/assets/images/system/ipc_loading.gif");
    QVERIFY(movie.isValid());
    QCOMPARE(movie.frameCount(), 12);
    QCOMPARE(movie.loopCount(), -1);  // for ever
    QVERIFY(movie.jumpToFrame(0));
    const QImage first = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
    for (int i = 0; i < 3; ++i) QVERIFY(movie.jumpToNextFrame());
    const QImage fourth = movie.currentImage().convertToFormat(QImage::Format_ARGB32);
    QVERIFY(drawn(first));
    QVERIFY(first != fourth);
    // Its edge is see-through, so that the overlay shows around it.
    QCOMPARE(qAlpha(first.pixel(0, 0)), 0);
}

void ResourcesTest::gifRoundTrip_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("noise");
    QTest::newRow("noise: the code table fills and restarts") << 317 << 211 << true;
    QTest::newRow("one colour: long runs") << 200 << 150 << false;
    QTest::newRow("a single pixel") << 1 << 1 << true;
}

void ResourcesTest::gifRoundTrip() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, noise);
    QVector<QRgb> palette;
    for (int i = 0; i < 256; ++i) palette.append(qRgb(i, 255 - i, (i * 7) & 0xff));
    QByteArray indices(width * height, char(77));
    QRandomGenerator random(1234);
    if (noise)
        for (char& c : indices) c = char(random.bounded(256));
    GifWriter writer(width, height, palette, -1);
    writer.addFrame(indices, 10);
    const QImage image = decodeGif(writer.finish());
    QCOMPARE(image.size(), QSize(width, height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const QRgb want = palette[quint8(indices[y * width + x])];
            if (image.pixel(x, y) != want) QFAIL(qPrintable(QString("pixel %1,%2").arg(x).arg(y)));
        }
    }
}

// A button of each class looks different from a plain one under the program's style sheet.
void ResourcesTest::everyStyleClassHasALook() {
    QPushButton plain("Add");
    plain.resize(90, 30);
    const QImage plainImage = plain.grab().toImage();
    for (const QString& style : kStyleClasses) {
        QPushButton button("Add");
        button.setProperty("qstyle", style);
        button.resize(90, 30);
        if (style == "libconfig" || style == "lable_pixmap") continue;  // labels, below
        QVERIFY2(button.grab().toImage() != plainImage, qPrintable(style));
    }
    for (const char* style : {"libconfig", "lable_pixmap"}) {
        QLabel plainLabel("Config FDB"), label("Config FDB");
        label.setProperty("qstyle", style);
        plainLabel.resize(120, 30);
        label.resize(120, 30);
        QVERIFY2(label.grab().toImage() != plainLabel.grab().toImage(), style);
    }
    for (const char* name : {"system__setting", "system__btn_min", "system__btn_max",
                             "system__btn_max_normal", "system__btn_close"}) {
        QPushButton button;
        button.setObjectName(name);
        button.resize(32, 28);
        QVERIFY2(button.grab().toImage() != QPushButton().grab().toImage(), name);
    }
}

void ResourcesTest::translationsKeepStyleClasses_data() {
    QTest::addColumn<QString>("language");
    QTest::newRow("en") << "en";
    QTest::newRow("zh") << "zh";
}

void ResourcesTest::translationsKeepStyleClasses() {
    QFETCH(QString, language);
    QTranslator translator;
    QVERIFY(translator.load(QString(KIT_QM_DIR "/kestrel_%1.qm").arg(language)));
    const auto messages = messagesOf(QString(KIT_TS_DIR "/kestrel_%1.ts").arg(language));
    int styleValues = 0;
    for (const auto& message : messages) {
        if (!kStyleClasses.contains(message.second)) continue;
        ++styleValues;
        const QString translated =
            translator.translate(qPrintable(message.first), qPrintable(message.second));
        QVERIFY2(translated.isEmpty() || translated == message.second,
                 qPrintable(message.first + "/" + message.second + " -> " + translated));
    }
    QVERIFY(styleValues >= 3);
    // The kit's own texts are there.
    const QString record = translator.translate("Pagination", "Record");
    QVERIFY(!record.isEmpty());
    QCOMPARE(record == "Record", language == "en");
}

KIT_TEST_MAIN(ResourcesTest)
#include "resources_test.moc"
