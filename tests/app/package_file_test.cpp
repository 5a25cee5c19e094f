// "package.dat" against bytes laid out by hand, round trips, the outcomes of bad files, and the
// progress bands of the package jobs.
#include <QBuffer>
#include <QDataStream>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <limits>

#include "applog.h"
#include "dbutil/packagefile.h"
#include "dbutil/packagejob.h"
#include "dbutil/progressreporter.h"
#include "dbutil/zipreader.h"
#include "dbutil/zipwriter.h"

namespace {

QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

SFeatrueInfoPtr makeRecord(qint64 imgid, int status, const QString& name) {
    auto record = SFeatrueInfoPtr::create();
    record->imgid = imgid;
    record->status = status;
    record->name = name;
    record->uid = QStringLiteral("uid-%1").arg(imgid);
    record->url = QStringLiteral("http://127.0.0.2:8089/img/%1").arg(imgid);
    record->feature = QStringLiteral("feature-%1").arg(imgid);
    record->ext = QStringList{"e1", "e2", "e3", "e4", "e5"};
    record->feature_attr = imgid * 3;
    record->model_version = "v2.1";
    return record;
}

QByteArray writeToBytes(const package::Header& header, const SFeatrueList& records) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!package::write(buffer, header, records)) return {};
    return buffer.data();
}

package::ReadStatus readBytes(const QByteArray& bytes, package::Contents* out = nullptr) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    package::Contents contents;
    const package::ReadStatus status = package::read(buffer, contents);
    if (out) *out = contents;
    return status;
}

// The magic, the version and a header with one-letter texts, ready for records to follow.
QByteArray headerBytes(quint32 version, qint32 imgnum) {
    QByteArray bytes;
    QDataStream s(&bytes, QIODevice::WriteOnly);
    s << package::kMagic << version << QString("L") << QString("N") << qint32(80) << imgnum
      << qint32(0) << qint32(0);
    return bytes;
}

}  // namespace

class PackageFileTest : public QObject {
    Q_OBJECT
private slots:
    void writesTheLayoutByteForByte();
    void roundTripsRecordsThroughAFile();
    void readOutcomes_data();
    void readOutcomes();
    void progressBands();
    void boundsFollowTheFormat();
};

void PackageFileTest::writesTheLayoutByteForByte() {
    package::Header header;
    header.libid = "AB";  // name stays null
    header.threshold = 80;
    header.imgnum = 7;  // the count written is the number of records, not this
    header.errornum = 2;
    header.extractnum = 3;

    auto plain = SFeatrueInfoPtr::create();
    plain->imgid = 1234;
    plain->uid = "u";
    plain->name = "AB";
    const QString empty(QLatin1String(""));
    QVERIFY(!empty.isNull());
    plain->ext = QStringList{"x", empty, QString(), QString(), QString()};
    plain->status = 0;
    plain->feature = "dropped without a feature";
    plain->url = "AB";
    plain->feature_attr = -2;
    plain->model_version = "1";

    auto featured = SFeatrueInfoPtr::create();
    featured->imgid = 9;
    featured->ext = QStringList{};
    featured->status = 1;
    featured->feature = "f";
    featured->path = "images/9.jpg";

    QByteArray expected = hex("AA000001 01010001")    // magic, version
                          + hex("00000004 00410042")  // libid "AB"
                          + hex("FFFFFFFF")           // name: null
                          + hex("00000050 00000002 00000002 00000003");
    expected += hex("00000000000004D2")                   // imgid 1234
                + hex("00000002 0075")                    // uid "u"
                + hex("00000004 00410042")                // name "AB"
                + hex("00000005 00000002 0078 00000000")  // ext: "x", ""
                + hex("FFFFFFFF FFFFFFFF FFFFFFFF")       // ... three null texts
                + hex("00000000")                         // status 0
                + hex("00000000")                         // feature: empty, not null
                + hex("FFFFFFFF")                         // path: null
                + hex("00000004 00410042")                // url "AB"
                + hex("FFFFFFFFFFFFFFFE")                 // feature_attr -2
                + hex("00000002 0031");                   // model_version "1"
    expected += hex("0000000000000009 FFFFFFFF FFFFFFFF 00000000 00000001 00000002 0066") +
                hex("00000018 0069006D0061006700650073002F0039002E006A00700067") +
                hex("FFFFFFFF 0000000000000000 FFFFFFFF");

    QCOMPARE(writeToBytes(header, {plain, featured}).toHex(), expected.toHex());
}

void PackageFileTest::roundTripsRecordsThroughAFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    package::Header header;
    header.libid = "lib-7";
    header.name = QString::fromUtf8("前台 \xF0\x9F\x98\x80");  // outside the BMP too
    header.threshold = 75;
    header.errornum = 4;
    header.extractnum = 9;

    SFeatrueList records{makeRecord(1, 1, "Ann"), makeRecord(2, 0, "Bo"),
                         makeRecord(-5, 1, QString())};
    records[0]->path = package::picturePath(1);
    records[2]->ext = QStringList{"only", "three", "ext"};  // padded to five when read
    QCOMPARE(records[0]->path, QString("images/1.jpg"));

    const QString file = dir.filePath("package.dat");
    int written = 0;
    QVERIFY(package::writeFile(file, header, records, [&] { ++written; }));
    QCOMPARE(written, records.size());

    package::Contents read;
    int announced = -1;
    int readCount = 0;
    const auto onHeader = [&](const package::Header& h) {
        QCOMPARE(readCount, 0);
        announced = h.imgnum;
    };
    QCOMPARE(package::readFile(file, read, onHeader, [&] { ++readCount; }),
             package::ReadStatus::Ok);
    QCOMPARE(announced, 3);
    QCOMPARE(readCount, records.size());
    QCOMPARE(read.header.libid, header.libid);
    QCOMPARE(read.header.name, header.name);
    QCOMPARE(read.header.threshold, 75);
    QCOMPARE(read.header.imgnum, 3);
    QCOMPARE(read.header.errornum, 4);
    QCOMPARE(read.header.extractnum, 9);
    QCOMPARE(read.header.toLibrary().name, header.name);
    QCOMPARE(read.records.size(), 3);
    for (int i = 0; i < records.size(); ++i) {
        const SFeatrueInfo& in = *records[i];
        const SFeatrueInfo& out = *read.records[i];
        QCOMPARE(out.imgid, in.imgid);
        QCOMPARE(out.uid, in.uid);
        QCOMPARE(out.name, in.name);
        QCOMPARE(out.status, in.status);
        QCOMPARE(out.feature, in.status == 1 ? in.feature : QString());
        QCOMPARE(out.path, in.path);
        QCOMPARE(out.url, in.url);
        QCOMPARE(out.feature_attr, in.feature_attr);
        QCOMPARE(out.model_version, in.model_version);
        QVERIFY(out.libid.isEmpty());
    }
    QCOMPARE(read.records[2]->ext, (QStringList{"only", "three", "ext", QString(), QString()}));

    package::resolvePicturePaths(read.records, "/work/dir");
    QCOMPARE(read.records[0]->path, QString("/work/dir/images/1.jpg"));
    QVERIFY(read.records[1]->path.isEmpty());

    QCOMPARE(package::readFile(dir.filePath("missing.dat"), read),
             package::ReadStatus::NotReadable);
    QCOMPARE(package::resultCode(package::ReadStatus::NotReadable), 8);
}

void PackageFileTest::readOutcomes_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("code");
    const int ok = int(package::ReadStatus::Ok);
    const int damaged = int(package::ReadStatus::Damaged);

    SFeatrueList twentyFive;
    for (int i = 0; i < 25; ++i)
        twentyFive.append(makeRecord(i, i % 2, "n"));
    QByteArray thirtyAnnounced = writeToBytes(package::Header(), twentyFive);
    const int imgnumAt = 8 + 4 + 4 + 4;  // magic, version, two null texts, threshold
    QCOMPARE(thirtyAnnounced.mid(imgnumAt, 4), hex("00000019"));
    thirtyAnnounced.replace(imgnumAt, 4, hex("0000001E"));

    QByteArray wrongVersion = writeToBytes(package::Header(), twentyFive);
    wrongVersion.replace(4, 4, hex("01010002"));

    const QByteArray oneRecord = writeToBytes(package::Header(), {makeRecord(7, 1, "n")});
    QByteArray escapingPath;
    {
        auto record = makeRecord(7, 0, "n");
        record->path = "images/../../../etc/passwd";
        escapingPath = writeToBytes(package::Header(), {record});
    }
    // A record up to its ext list, whose count then claims 2^31-1 texts; the zeros behind
    // it make the data long enough for one record.
    const QByteArray hugeExtCount = headerBytes(package::kVersion, 1) +
                                    hex("0000000000000001 FFFFFFFF FFFFFFFF 7FFFFFFF") +
                                    QByteArray(64, '\0');

    QTest::newRow("empty library") << writeToBytes(package::Header(), {}) << ok << 0;
    QTest::newRow("01 01 00 02") << wrongVersion << int(package::ReadStatus::WrongVersion) << 15;
    QTest::newRow("wrong magic") << hex("AA000002 01010001") + headerBytes(1, 0).mid(8)
                                 << int(package::ReadStatus::BadMagic) << 8;
    QTest::newRow("30 announced, 25 delivered") << thirtyAnnounced << damaged << 8;
    QTest::newRow("last record cut short") << oneRecord.left(oneRecord.size() - 3) << damaged << 8;
    QTest::newRow("shorter than the magic") << hex("AA0000") << damaged << 8;
    QTest::newRow("negative count") << headerBytes(package::kVersion, -1) << damaged << 8;
    QTest::newRow("count of 2^31-1") << headerBytes(package::kVersion, 0x7FFFFFFF) << damaged << 8;
    QTest::newRow("text longer than the data")
        << hex("AA000001 01010001 7FFFFFF0 0041") << damaged << 8;
    QTest::newRow("odd text length") << hex("AA000001 01010001 00000003 004100") << damaged << 8;
    QTest::newRow("ext count beyond the data") << hugeExtCount << damaged << 8;
    QTest::newRow("picture path leaving the package") << escapingPath << damaged << 8;
}

void PackageFileTest::readOutcomes() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, status);
    QFETCH(int, code);
    package::Contents contents;
    const package::ReadStatus got = readBytes(bytes, &contents);
    QCOMPARE(int(got), status);
    QCOMPARE(package::resultCode(got), code);
    if (got != package::ReadStatus::Ok) QVERIFY(contents.records.isEmpty());
}

void PackageFileTest::progressBands() {
    ProgressReporter progress;
    QSignalSpy spy(&progress, &ProgressReporter::signalProgress);
    auto emitted = [&spy] {
        QList<int> values;
        for (const QList<QVariant>& args : spy)
            values.append(args.at(0).toInt());
        spy.clear();
        return values;
    };

    progress.beginStage(80, 90, 3);  // steps of 3.33: 83.33, 86.67, 90
    QCOMPARE(spy.count(), 0);
    QCOMPARE(progress.value(), 80.0f);
    for (int i = 0; i < 3; ++i)
        progress.step();
    QCOMPARE(emitted(), (QList<int>{83, 87, 90}));

    progress.beginStage(0, 5, 2);  // 2.5 rounds away from zero
    progress.step();
    progress.step();
    QCOMPARE(emitted(), (QList<int>{3, 5}));

    progress.beginStage(30, 100, 7);
    for (int i = 0; i < 7; ++i)
        progress.step();
    QCOMPARE(emitted(), (QList<int>{40, 50, 60, 70, 80, 90, 100}));

    // No items: the step is infinite; a stray step still reports a value inside the band.
    progress.beginStage(20, 30, 0);
    QVERIFY(std::isinf(progress.stepSize()));
    progress.step();
    QCOMPARE(emitted(), (QList<int>{30}));
}

// Every package an export can write of a full library unpacks; what is beyond the bounds is
// refused for its size, not as a damaged package.
void PackageFileTest::boundsFollowTheFormat() {
    package::Header header;
    header.libid = QString(package::kShortText, QLatin1Char('l'));
    header.name = QString(package::kShortText, QLatin1Char('n'));
    auto widest = makeRecord(1, 1, QString(63, QLatin1Char('a')));
    widest->imgid = std::numeric_limits<qint64>::min();  // the longest picture path
    widest->uid = QString(package::kShortText, QLatin1Char('u'));
    const QString ext(package::kShortText, QLatin1Char('e'));
    widest->ext = QStringList{ext, ext, ext, ext, ext};
    widest->feature = QString(package::kFeatureText, QLatin1Char('f'));
    widest->path = package::picturePath(widest->imgid);
    widest->url = QString(package::kLongText, QLatin1Char('h'));
    widest->model_version = QString(package::kLongText, QLatin1Char('m'));
    const QByteArray one = writeToBytes(header, {widest});
    QCOMPARE(one.size(), package::kMaxHeaderBytes + package::kMaxRecordBytes);
    QCOMPARE(package::dataBytes(header, {widest}), qint64(one.size()));

    // Past the old 64 MiB entry bound: a full-width package of 7000 records and a picture at
    // the upload limit.
    constexpr int kRecords = 7000;
    const SFeatrueList many(kRecords, widest);
    QVERIFY(package::fitsPackage(header, many));
    QTemporaryDir dir;
    const QString zip = dir.filePath("large.zip");
    ZipWriter writer;
    QVERIFY(writer.open(zip));
    QVERIFY(writer.addBytes(package::kDataName, writeToBytes(header, many)));
    QVERIFY(writer.addBytes(widest->path, QByteArray(package::kMaxPictureBytes, 'p')));
    QVERIFY(writer.close());
    const QString out = dir.filePath("out");
    QVERIFY(QDir().mkpath(out + "/images"));
    QCOMPARE(packagejob::unpack(zip, out), resultcode::Ok);
    SDBInfo library;
    SFeatrueList records;
    QCOMPARE(packagejob::readPackage(out, &library, &records, nullptr, 0, 0, false), 0);
    QCOMPARE(records.size(), kRecords);

    // One byte over a picture's bound: that picture is left out with its own line in the
    // program log; the package itself unpacks (its record is skipped at import).
    const QString over = dir.filePath("over.zip");
    QVERIFY(writer.open(over));
    QVERIFY(writer.addBytes(package::kDataName, writeToBytes(header, {widest})));
    QVERIFY(writer.addBytes(widest->path, QByteArray(package::kMaxPictureBytes + 1, 'p')));
    QVERIFY(writer.close());
    AppLog::instance().init(QDir(dir.filePath("log")).path().toStdString() + "/");
    AppLog::instance().setLevel(7);
    const QString overOut = dir.filePath("over-out");
    QVERIFY(QDir().mkpath(overOut + "/images"));
    QCOMPARE(packagejob::unpack(over, overOut), resultcode::Ok);
    QVERIFY(QFile::exists(overOut + "/" + package::kDataName));
    QVERIFY(!QFile::exists(overOut + "/" + widest->path));
    QFile log(QString::fromStdString(AppLog::instance().currentFile()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QVERIFY(
        log.readAll().contains("picture left out, over 102400 bytes: " + widest->path.toUtf8()));
    AppLog::instance().setLevel(-1);

    // The free space of the destination's disk bounds the whole archive.
    ZipReader reader;
    QVERIFY(reader.open(zip));
    ZipLimits limits = packagejob::packageLimits(out);
    QVERIFY(limits.freeBytes > 0);
    limits.freeBytes = one.size();
    QCOMPARE(int(reader.extractAll(dir.filePath("none"), limits).error), int(ZipError::NoSpace));
    QVERIFY(!QFile::exists(dir.filePath("none/package.dat")));

    // The export refuses a library an import could not take back.
    auto small = makeRecord(1, 0, "s");
    QVERIFY(package::fitsPackage(header, SFeatrueList(package::kMaxRecords, small)));
    QVERIFY(!package::fitsPackage(header, SFeatrueList(package::kMaxRecords + 1, small)));
}

QTEST_GUILESS_MAIN(PackageFileTest)
#include "package_file_test.moc"
