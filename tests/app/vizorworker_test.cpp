// VizorWorker and the preprocessing run over the real face-analysis library, on photographs from
// opencv-doc and variants made here; the crop geometry on its own with controlled boxes.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include <unistd.h>

#include <cstdio>
#include <functional>

#include "applog.h"
#include "tools/facecrop.h"
#include "tools/facepreprocess.h"
#include "tools/vizorworker.h"

namespace {

const QString kSamples = QStringLiteral(OPENCV_SAMPLE_PICTURES);
const QString kShippedConfig = QStringLiteral("models_bit8/model_conf.json");

QString sample(const char* name) {
    return kSamples + QLatin1Char('/') + QLatin1String(name);
}

QString logText() {
    QFile file(QString::fromStdString(AppLog::instance().currentFile()));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// What the call printed on standard output.
QString printedBy(const std::function<void()>& call) {
    QTemporaryDir dir;
    const QByteArray name = dir.filePath("stdout").toLocal8Bit();
    std::fflush(stdout);
    const int saved = ::dup(STDOUT_FILENO);
    if (saved < 0 || !std::freopen(name.constData(), "w", stdout)) return QString();
    call();
    std::fflush(stdout);
    ::dup2(saved, STDOUT_FILENO);
    ::close(saved);
    QFile file(QString::fromLocal8Bit(name));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QImage padded(const QImage& picture, int border) {
    QImage canvas(picture.width() + 2 * border, picture.height() + 2 * border,
                  QImage::Format_RGB32);
    canvas.fill(Qt::gray);
    QPainter(&canvas).drawImage(border, border, picture);
    return canvas;
}

// Answers for the "QObject" context only, so a text looked up elsewhere stays untranslated.
class ContextTranslator : public QTranslator {
public:
    QString translate(const char* context, const char* source, const char*, int) const override {
        return qstrcmp(context, "QObject") == 0 ? QStringLiteral("<%1>").arg(source) : QString();
    }
};

}  // namespace

class VizorWorkerTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cropIsEnlargedAboutTheFaceCentre();
    void largeCropsShrinkWithinTheLimit_data();
    void largeCropsShrinkWithinTheLimit();
    void errorTextsInTheQObjectContext();
    void initializePrintsAndLogsTheVersion();
    void findsTheFaceOfAPhotograph();
    void fileThatIsNoPictureOrMissing();
    void uninitialisedOrMisconfiguredLibrary();
    void cropIsReadAroundTheFace_data();
    void cropIsReadAroundTheFace();
    void cropOfALargeFaceIsShrunk();
    void directoryOfThreePhotographs();
    void outputNamesKeepInnerDotsAndAreCut();
    void outputBaseCountsCharacters();
    void stopEndsTheRunAfterTheCurrentFile();

private:
    QString copyInto(const QString& dir, const char* source, const QString& name);

    QTemporaryDir work_;
    VizorWorker worker_;
};

void VizorWorkerTest::initTestCase() {
    QVERIFY(work_.isValid());
    QVERIFY(QFileInfo::exists(sample("messi5.jpg")));
    // The program works in its own folder, where the configuration is shipped.
    QVERIFY(QDir::setCurrent(QCoreApplication::applicationDirPath()));
    QVERIFY(QFileInfo::exists(kShippedConfig));
    AppLog::instance().init(work_.filePath("log/").toStdString());
    AppLog::instance().setLevel(7);
    worker_.initialize(kShippedConfig);
}

QString VizorWorkerTest::copyInto(const QString& dir, const char* source, const QString& name) {
    QDir().mkpath(dir);
    const QString target = dir + QLatin1Char('/') + name;
    if (!QFile::copy(sample(source), target)) return QString();
    return target;
}

void VizorWorkerTest::cropIsEnlargedAboutTheFaceCentre() {
    const QTransform enlarge = QTransform::fromScale(1.6, 1.6);
    const QRect face(300, 200, 100, 120);
    const QRect crop = faceCropRect(face, enlarge);
    QCOMPARE(crop.size(), QSize(160, 192));
    QCOMPARE(crop.center(), face.center());
    // Near the picture's corner the crop reaches past it rather than shifting off centre.
    const QRect corner = faceCropRect(QRect(0, 0, 50, 50), enlarge);
    QCOMPARE(corner.size(), QSize(80, 80));
    QCOMPARE(corner.center(), QRect(0, 0, 50, 50).center());
    QVERIFY(corner.left() < 0 && corner.top() < 0);
}

void VizorWorkerTest::largeCropsShrinkWithinTheLimit_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QSize>("limited");
    QTest::newRow("wide") << QSize(3840, 1620) << QSize(1920, 810);
    QTest::newRow("tall") << QSize(1000, 2160) << QSize(500, 1080);
    QTest::newRow("exact limit") << QSize(1920, 1080) << QSize(1920, 1080);
    QTest::newRow("small") << QSize(160, 192) << QSize(160, 192);
    QTest::newRow("one pixel wide") << QSize(1921, 1080) << QSize(1920, 1079);
    QTest::newRow("both over, height rules") << QSize(2000, 1500) << QSize(1440, 1080);
    QTest::newRow("thirds") << QSize(5760, 3000) << QSize(1920, 1000);
}

void VizorWorkerTest::largeCropsShrinkWithinTheLimit() {
    QFETCH(QSize, size);
    QFETCH(QSize, limited);
    QCOMPARE(limitedSize(size), limited);
}

void VizorWorkerTest::errorTextsInTheQObjectContext() {
    QCOMPARE(VizorErrorText(1), QStringLiteral("uninit"));
    QCOMPARE(VizorErrorText(6), QStringLiteral("no face rect"));
    QCOMPARE(VizorErrorText(11), QStringLiteral("no model"));
    QCOMPARE(VizorErrorText(15), QStringLiteral("string length too short"));
    for (int unknown : {0, 14, 16, -1})
        QCOMPARE(VizorErrorText(unknown), QStringLiteral("Unknown error"));
    ContextTranslator translator;
    QCoreApplication::installTranslator(&translator);
    const QString translated = VizorErrorText(3);
    const QString unknown = VizorErrorText(99);
    QCoreApplication::removeTranslator(&translator);
    QCOMPARE(translated, QStringLiteral("<no image>"));
    QCOMPARE(unknown, QStringLiteral("<Unknown error>"));
}

void VizorWorkerTest::initializePrintsAndLogsTheVersion() {
    VizorWorker worker;
    const QString printed = printedBy([&] { worker.initialize(kShippedConfig); });
    QVERIFY2(printed.startsWith("VIZOR Version : ") && printed.endsWith("\n"), qPrintable(printed));
    QVERIFY(!printed.contains("Failed"));
    const QString version = printed.mid(16).trimmed();
    QVERIFY(!version.isEmpty());
    QVERIFY(logText().contains("VizorWorker::initialize, VIZOR Version : " + version + "."));
    QVERIFY(logText().contains("[tools\\vizorworker]("));
}

void VizorWorkerTest::findsTheFaceOfAPhotograph() {
    const FaceResult messi = worker_.extractFace(sample("messi5.jpg"));
    QCOMPARE(messi.status, 0);
    // Messi's face, located by eye: about 44 pixels square around (246, 112).
    QVERIFY2(
        qAbs(messi.rect.center().x() - 246) <= 10 && qAbs(messi.rect.center().y() - 112) <= 10,
        qPrintable(
            QString("centre %1,%2").arg(messi.rect.center().x()).arg(messi.rect.center().y())));
    QVERIFY(messi.rect.width() >= 34 && messi.rect.width() <= 56);

    const FaceResult fruits = worker_.extractFace(sample("fruits.jpg"));
    QCOMPARE(fruits.status, 6);
    QVERIFY(
        logText().contains("VizorWorker::extractFace, Failed to extract features, error code: 6, "
                           "message: no face rect."));
}

void VizorWorkerTest::fileThatIsNoPictureOrMissing() {
    QFile text(work_.filePath("notes.jpg"));
    QVERIFY(text.open(QIODevice::WriteOnly));
    text.write("a text file with a picture's name\n");
    text.close();
    FaceResult result;
    const QString printed = printedBy([&] { result = worker_.extractFace(text.fileName()); });
    QCOMPARE(result.status, 3);
    QCOMPARE(printed, QStringLiteral("Failed to extract features, error code is 3\n"));
    QVERIFY(worker_.extractFaceImage(text.fileName()).isNull());

    const QString missing = work_.filePath("missing \xc3\xa9t\xc3\xa9.jpg");
    const QString printedMissing = printedBy([&] { result = worker_.extractFace(missing); });
    QCOMPARE(result.status, -1);
    QCOMPARE(printedMissing, QStringLiteral("Failed to get image \n"));
    QVERIFY(
        logText().contains("VizorWorker::extractFace, Failed to get image, filename: " + missing));
}

void VizorWorkerTest::uninitialisedOrMisconfiguredLibrary() {
    VizorWorker neverInitialised;
    QCOMPARE(neverInitialised.extractFace(sample("messi5.jpg")).status, -2);
    QVERIFY(logText().contains("Failed to call NexoVizorExtractFeature, features is null."));

    QFile config(work_.filePath("bad_conf.json"));
    QVERIFY(config.open(QIODevice::WriteOnly));
    config.write(R"({"detector": {"model_file": "no_such_model.xml"}})");
    config.close();
    VizorWorker misconfigured;
    const QString printed = printedBy([&] { misconfigured.initialize(config.fileName()); });
    QVERIFY2(printed.startsWith("Failed to init VIZOR, error_msg is 11\nVIZOR Version : "),
             qPrintable(printed));
    QVERIFY(logText().contains("VizorWorker::initialize, Failed to init VIZOR, error_msg is 11."));
    QCOMPARE(misconfigured.extractFace(sample("messi5.jpg")).status, 1);
    QVERIFY(logText().contains("error code: 1, message: uninit."));
    QVERIFY(misconfigured.extractFaceImage(sample("messi5.jpg")).isNull());
}

void VizorWorkerTest::cropIsReadAroundTheFace_data() {
    QTest::addColumn<QString>("format");
    QTest::newRow("png") << "png";  // decoded whole, then cut
    QTest::newRow("bmp") << "bmp";
    QTest::newRow("jpg") << "jpg";  // only the clip region decoded
}

// The crop is the 1.6 box about the face the library found, cut from the picture itself.
void VizorWorkerTest::cropIsReadAroundTheFace() {
    QFETCH(QString, format);
    // A narrow border keeps the picture within the library's working size, so Messi's small
    // face is searched at full size.
    const QImage source = padded(QImage(sample("messi5.jpg")), 40);
    const QString path = work_.filePath("padded." + format);
    QVERIFY(source.save(path, qPrintable(format)));
    const FaceResult face = worker_.extractFace(path);
    QCOMPARE(face.status, 0);
    const QRect crop = faceCropRect(face.rect, QTransform::fromScale(1.6, 1.6));
    QVERIFY(QRect(QPoint(0, 0), source.size()).contains(crop));
    const QImage picture = worker_.extractFaceImage(path);
    QCOMPARE(picture.size(), crop.size());
    const QImage whole(path);
    QCOMPARE(picture.convertToFormat(QImage::Format_RGB32),
             whole.convertToFormat(QImage::Format_RGB32).copy(crop));
}

// A face filling most of a 2000 x 2000 picture gives a crop above 1080 rows, shrunk to fit.
void VizorWorkerTest::cropOfALargeFaceIsShrunk() {
    const QImage face = QImage(sample("messi5.jpg")).copy(195, 62, 100, 100);
    const QImage large = face.scaled(2000, 2000, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    const QString path = work_.filePath("large.jpg");
    QVERIFY(large.save(path, "jpg", 95));
    const FaceResult found = worker_.extractFace(path);
    QCOMPARE(found.status, 0);
    const QSize crop = faceCropRect(found.rect, QTransform::fromScale(1.6, 1.6)).size();
    QVERIFY2(crop.height() > 1080, qPrintable(QString::number(crop.height())));
    const QImage picture = worker_.extractFaceImage(path);
    QCOMPARE(picture.height(), 1080);
    QVERIFY(picture.width() <= 1920);
}

void VizorWorkerTest::directoryOfThreePhotographs() {
    const QString in = work_.filePath("three/in");
    const QString out = work_.filePath("three/out");
    QVERIFY(QDir().mkpath(out));
    QVERIFY(!copyInto(in, "messi5.jpg", "messi5.jpg").isEmpty());
    QVERIFY(!copyInto(in, "basketball1.png", "basketball1.png").isEmpty());
    QVERIFY(!copyInto(in, "fruits.jpg", "fruits.jpg").isEmpty());
    QList<int> seen;
    const PreprocessCounts counts = preprocessDirectory(
        worker_, in, out, [&](int processed, int total) { seen << processed * 10 + total; },
        [] { return false; });
    QCOMPARE(counts.total, 3);
    QCOMPARE(counts.success, 2);
    QCOMPARE(counts.failed(), 1);
    QCOMPARE(seen, (QList<int>{13, 23, 33}));
    const QStringList written = QDir(out).entryList(QDir::Files, QDir::Name);
    QCOMPARE(written, (QStringList{"basketball1.jpg", "messi5.jpg"}));
    for (const QString& name : written) {
        QImageReader reader(out + QLatin1Char('/') + name);
        reader.setDecideFormatFromContent(true);
        QCOMPARE(reader.format(), QByteArray("jpeg"));
        const QSize size = reader.size();
        QVERIFY(size.width() >= 50 && size.width() <= 120);
    }
}

void VizorWorkerTest::outputNamesKeepInnerDotsAndAreCut() {
    const QString in = work_.filePath("names/in");
    const QString out = work_.filePath("names/out%1");  // a '%' in the folder stays literal
    QVERIFY(QDir().mkpath(out));
    QVERIFY(
        !copyInto(in, "basketball1.png", "a_very_long_file_name_of_the_portrait.png").isEmpty());
    QVERIFY(!copyInto(in, "basketball1.png", "x.y.png").isEmpty());
    const PreprocessCounts counts = preprocessDirectory(worker_, in, out, nullptr, nullptr);
    QCOMPARE(counts.success, 2);
    QCOMPARE(QDir(out).entryList(QDir::Files, QDir::Name),
             (QStringList{"a_very_long_file_nam.jpg", "x.y.jpg"}));
}

void VizorWorkerTest::outputBaseCountsCharacters() {
    QCOMPARE(preprocessOutputBase(QFileInfo("/d/exactly_twenty_chars.jpeg")),
             QStringLiteral("exactly_twenty_chars"));
    QCOMPARE(preprocessOutputBase(QFileInfo("/d/archive.tar.gz")), QStringLiteral("archive.tar"));
    QCOMPARE(preprocessOutputBase(QFileInfo("/d/noext")), QStringLiteral("noext"));
    // Characters outside the basic plane are two UTF-16 units; neither is cut in half.
    const QString smile = QString::fromUtf8("\xf0\x9f\x98\x80");
    const QString base = preprocessOutputBase(QFileInfo("/d/" + smile.repeated(25) + ".png"));
    QCOMPARE(base, smile.repeated(20));
    const QString mixed = "a" + smile.repeated(30);
    QCOMPARE(preprocessOutputBase(QFileInfo("/d/" + mixed + ".jpg")), "a" + smile.repeated(19));
}

void VizorWorkerTest::stopEndsTheRunAfterTheCurrentFile() {
    const QString in = work_.filePath("stop/in");
    const QString out = work_.filePath("stop/out");
    QVERIFY(QDir().mkpath(out));
    for (const char* name : {"one.png", "two.png", "three.png"})
        QVERIFY(!copyInto(in, "basketball1.png", name).isEmpty());
    bool running = true;
    int calls = 0;
    const PreprocessCounts counts = preprocessDirectory(
        worker_, in, out,
        [&](int, int) {
            ++calls;
            running = false;  // as Cancel pressed while the first file was analysed
        },
        [&] { return !running; });
    QCOMPARE(calls, 1);
    QCOMPARE(counts.total, 3);
    QCOMPARE(counts.success, 1);
    QCOMPARE(counts.failed(), 2);
    QCOMPARE(QDir(out).entryList(QDir::Files).size(), 1);
}

// No GUI application: pictures are drawn on QImage only, and no platform plugin is loaded.
QTEST_GUILESS_MAIN(VizorWorkerTest)
#include "vizorworker_test.moc"
