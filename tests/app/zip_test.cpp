// Package archives against real peers: what we write is checked by zipinfo, unzip and Python's
// zipfile; what we read includes hostile archives crafted with Python's zipfile.
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include "dbutil/zipreader.h"
#include "dbutil/zipwriter.h"

namespace {

// Writes argv[1] from the entries on stdin: [{"name", "hex", "zeros", "fake_size"}]. A
// fake_size replaces the uncompressed size in both headers of that entry.
const char kMakeZip[] = R"(
import json, struct, sys, zipfile
out, entries = sys.argv[1], json.load(sys.stdin)
with zipfile.ZipFile(out, 'w') as z:
    for e in entries:
        info = zipfile.ZipInfo(e['name'], date_time=(2020, 1, 2, 3, 4, 6))
        info.compress_type = zipfile.ZIP_DEFLATED
        z.writestr(info, bytes.fromhex(e.get('hex', '')) + bytes(e.get('zeros', 0)))
buf = bytearray(open(out, 'rb').read())
local = central = 0
for e in entries:
    n, x, c = struct.unpack_from('<HHI', buf, local + 26)[:2] + struct.unpack_from('<I', buf, local + 18)
    central = buf.index(b'PK\x01\x02', central)
    if 'fake_size' in e:
        struct.pack_into('<I', buf, local + 22, e['fake_size'])
        struct.pack_into('<I', buf, central + 24, e['fake_size'])
    local += 30 + n + x + c
    central += 4
open(out, 'wb').write(buf)
)";

// Prints what zipfile reads from argv[1]: one JSON object per entry and the archive comment.
const char kDescribeZip[] = R"(
import json, sys, time, zipfile
z = zipfile.ZipFile(sys.argv[1])
now = time.mktime(time.localtime())
print(json.dumps({'comment': z.comment.hex(), 'entries': [
    {'name': i.filename, 'method': i.compress_type, 'extra': i.extra.hex(),
     'comment': i.comment.hex(), 'flags': i.flag_bits, 'version': i.extract_version,
     'age': now - time.mktime(i.date_time + (0, 0, -1)), 'data': z.read(i).hex()}
    for i in z.infolist()]}))
)";

struct Run {
    int code = -1;
    QByteArray out;  // standard output, then standard error
    QByteArray stdOut;
};

Run run(const QString& program, const QStringList& args, const QByteArray& input = {}) {
    Run result;
    const QString path =
        QFileInfo(program).isAbsolute() ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty()) {
        result.out = program.toUtf8() + " not found; scripts/setup installs it";
        return result;
    }
    QProcess process;
    process.start(path, args);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(60000)) return result;
    result.code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.stdOut = process.readAllStandardOutput();
    result.out = result.stdOut + process.readAllStandardError();
    return result;
}

struct Entry {
    QString name;
    QByteArray data;
    int zeros = 0;
    qint64 fakeSize = -1;
};

}  // namespace

Q_DECLARE_METATYPE(QList<Entry>)

namespace {

// The interpreter itself, asked once: a version manager's launcher costs most of a second a run.
QString python() {
    static const QString path = [] {
        const Run asked = run("python3", {"-c", "import sys; print(sys.executable)"});
        return asked.code == 0 ? QString(asked.stdOut).trimmed() : QString("python3");
    }();
    return path;
}

bool makeZip(const QString& path, const QList<Entry>& entries) {
    QJsonArray list;
    for (const Entry& e : entries) {
        QJsonObject object{{"name", e.name}, {"hex", QString(e.data.toHex())}, {"zeros", e.zeros}};
        if (e.fakeSize >= 0) object["fake_size"] = e.fakeSize;
        list.append(object);
    }
    const Run made = run(python(), {"-c", kMakeZip, path}, QJsonDocument(list).toJson());
    if (made.code != 0) qWarning("python3: %s", made.out.constData());
    return made.code == 0;
}

QByteArray randomBytes(int size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes)
        c = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Every file and directory below root, relative to it.
QStringList tree(const QString& root) {
    QStringList found;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(QDir(root).relativeFilePath(it.next()));
    found.sort();
    return found;
}

}  // namespace

class ZipTest : public QObject {
    Q_OBJECT
private slots:
    void writtenArchivePassesRealPeers();
    void writerRefusesNamesItMustNotStore();
    void readerListsDirectoriesApartAndExtracts();
    void readerRefusesBadListings();
    void hostileNamesWriteNothing_data();
    void hostileNamesWriteNothing();
    void sizeLimitsAndLyingHeaders_data();
    void sizeLimitsAndLyingHeaders();
};

void ZipTest::writtenArchivePassesRealPeers() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QByteArray dat = randomBytes(300);
    const QByteArray jpg12 = randomBytes(5 * ZipWriter::kChunkBytes + 17);  // several chunks
    const QByteArray jpg56 = QByteArray(40000, 'j');
    QFile datFile(dir.filePath("src.dat"));
    QVERIFY(datFile.open(QIODevice::WriteOnly) && datFile.write(dat) == dat.size());
    datFile.close();
    QFile jpgFile(dir.filePath("src.jpg"));
    QVERIFY(jpgFile.open(QIODevice::WriteOnly) && jpgFile.write(jpg12) == jpg12.size());
    jpgFile.close();

    const QString zipPath = dir.filePath("out.zip");
    QFile old(zipPath);  // an existing file is replaced, not appended to
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write("not a zip at all") > 0);
    old.close();

    ZipWriter writer;
    QVERIFY(writer.open(zipPath));
    QVERIFY(writer.addFile("package.dat", datFile.fileName()));
    QVERIFY(writer.addFile("/images/12.jpg", jpgFile.fileName()));
    QVERIFY(writer.addBytes("\\/images/56.jpg", jpg56));
    QVERIFY(!writer.addFile("images/78.jpg", dir.filePath("absent.jpg")));  // no empty entry
    QVERIFY(writer.close());

    const Run test = run("unzip", {"-t", zipPath});
    QVERIFY2(test.code == 0 && test.out.contains("No errors detected"), test.out.constData());
    const Run names = run("zipinfo", {"-1", zipPath});
    QCOMPARE(names.code, 0);
    QCOMPARE(QString(names.stdOut).split('\n', Qt::SkipEmptyParts),
             (QStringList{"package.dat", "images/12.jpg", "images/56.jpg"}));
    const Run verbose = run("zipinfo", {"-v", zipPath});
    QCOMPARE(verbose.code, 0);
    const QRegularExpression deflated("compression method:\\s+deflated");
    QCOMPARE(QString(verbose.out).count(deflated), 3);
    const Run piped = run("unzip", {"-p", zipPath, "images/12.jpg"});
    QVERIFY(piped.stdOut == jpg12);

    const Run described = run(python(), {"-c", kDescribeZip, zipPath});
    QVERIFY2(described.code == 0, described.out.constData());
    const QJsonObject archive = QJsonDocument::fromJson(described.stdOut).object();
    QCOMPARE(archive["comment"].toString(), QString());
    const QList<QByteArray> contents{dat, jpg12, jpg56};
    const QJsonArray entries = archive["entries"].toArray();
    QCOMPARE(entries.size(), 3);
    for (int i = 0; i < entries.size(); ++i) {
        const QJsonObject e = entries[i].toObject();
        QCOMPARE(e["method"].toInt(), 8);
        QCOMPARE(e["extra"].toString(), QString());  // no extra fields, so no zip64 either
        QCOMPARE(e["comment"].toString(), QString());
        QCOMPARE(e["flags"].toInt() & 1, 0);  // no password
        QVERIFY(e["version"].toInt() < 45);   // 4.5 would announce zip64
        // Stamped with the local time of writing (DOS time has two-second steps).
        QVERIFY2(qAbs(e["age"].toDouble()) < 600, qPrintable(e["name"].toString()));
        QVERIFY(QByteArray::fromHex(e["data"].toString().toLatin1()) == contents[i]);
    }

    // Our reader gets the same bytes back.
    ZipReader reader;
    QVERIFY(reader.open(zipPath));
    QVERIFY(reader.dirNames().isEmpty());
    QVERIFY(reader.extractAll(dir.filePath("unpacked")).ok());
    QVERIFY(readAll(dir.filePath("unpacked/images/12.jpg")) == jpg12);
    QVERIFY(readAll(dir.filePath("unpacked/images/56.jpg")) == jpg56);
}

void ZipTest::writerRefusesNamesItMustNotStore() {
    QTemporaryDir dir;
    ZipWriter writer;
    QVERIFY(!writer.openEntry("images/1.jpg"));  // no archive
    QVERIFY(!writer.write("x", 1));
    QVERIFY(writer.open(dir.filePath("names.zip")));
    for (const QString& name : {QString("//\\"), QString("images/"), QString::fromUtf8("图.jpg"),
                                QString("line\nbreak")}) {
        QVERIFY2(!writer.openEntry(name), qPrintable(name));
        QVERIFY(!writer.isEntryOpen());
    }
    QCOMPARE(ZipWriter::storedName("\\//\\images/1.jpg"), QString("images/1.jpg"));
    QVERIFY(writer.close());
    const Run names = run("zipinfo", {"-1", dir.filePath("names.zip")});
    QVERIFY(!names.out.contains("images"));
}

void ZipTest::readerListsDirectoriesApartAndExtracts() {
    QTemporaryDir dir;
    const QString zipPath = dir.filePath("dirs.zip");
    const QByteArray picture = randomBytes(ZipReader::kChunkBytes * 2 + 5);  // several chunks
    QVERIFY(makeZip(zipPath, {{"images/", {}},
                              {"package.dat", "dat"},
                              {"images\\", {}},
                              {"images/1.jpg", picture},
                              {"empty.txt", {}}}));
    ZipReader reader;
    QVERIFY(reader.open(zipPath));
    QCOMPARE(reader.fileNames(), (QList<QByteArray>{"package.dat", "images/1.jpg", "empty.txt"}));
    QCOMPARE(reader.dirNames(), (QList<QByteArray>{"images/", "images\\"}));

    QList<int> steps;
    const QString dest = dir.filePath("dest");
    QVERIFY(QDir().mkpath(dest));
    QVERIFY(reader
                .extractAll(dest, ZipLimits(),
                            [&](int done, int all) { steps.append(done * 10 + all); })
                .ok());
    QCOMPARE(steps, (QList<int>{13, 23, 33}));
    QCOMPARE(tree(dest), (QStringList{"empty.txt", "images", "images/1.jpg", "package.dat"}));
    QVERIFY(readAll(dest + "/images/1.jpg") == picture);

    const QString single = dir.filePath("single.dat");
    QVERIFY(reader.extractEntry("package.dat", single).ok());
    QCOMPARE(readAll(single), QByteArray("dat"));
    QCOMPARE(reader.extractEntry("missing.dat", single).error, ZipError::NotFound);
    QCOMPARE(reader.extractEntry("IMAGES/1.jpg", single).error, ZipError::NotFound);
}

void ZipTest::readerRefusesBadListings() {
    QTemporaryDir dir;
    ZipReader reader;
    QVERIFY(!reader.open(dir.filePath("absent.zip")));
    QCOMPARE(reader.extractAll(dir.path()).error, ZipError::NotOpen);

    QFile junk(dir.filePath("junk.zip"));
    QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write(randomBytes(4096)) == 4096);
    junk.close();
    QVERIFY(!reader.open(junk.fileName()));

    QVERIFY(makeZip(dir.filePath("empty-name.zip"), {{"package.dat", "x"}, {"", "y"}}));
    QVERIFY(!reader.open(dir.filePath("empty-name.zip")));
    QVERIFY(!reader.isOpen() && reader.fileNames().isEmpty());
    const QString longName = QString(ZipReader::kMaxNameBytes - 4, 'n') + ".jpg";
    QVERIFY(makeZip(dir.filePath("long.zip"), {{longName, "x"}}));
    QVERIFY(reader.open(dir.filePath("long.zip")));
    QVERIFY(makeZip(dir.filePath("longer.zip"), {{"n" + longName, "x"}}));
    QVERIFY(!reader.open(dir.filePath("longer.zip")));
}

void ZipTest::hostileNamesWriteNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("parent") << "../escape.txt";
    QTest::newRow("absolute") << "/abs.txt";
    QTest::newRow("drive") << "C:\\x.txt";
    QTest::newRow("drive relative") << "C:x.txt";
    QTest::newRow("backslash escape") << "images\\..\\..\\x";
    QTest::newRow("inner parent") << "images/../../x";
    QTest::newRow("directory entry") << "../evil/";
}

void ZipTest::hostileNamesWriteNothing() {
    QFETCH(QString, name);
    QTemporaryDir root;
    const QString dest = root.filePath("dest");
    QVERIFY(QDir().mkpath(dest));
    QString entryName = name;
    // Absolute names point into the test's own directory, which must stay untouched.
    if (entryName.startsWith('/')) entryName = root.filePath(entryName.mid(1));
    const QString zipPath = root.filePath("hostile.zip");
    // A harmless entry first: nothing may be written before the hostile one is refused.
    QVERIFY(makeZip(zipPath, {{"package.dat", "dat"}, {entryName, "evil"}}));
    const QStringList before = tree(root.path());

    ZipReader reader;
    QVERIFY(reader.open(zipPath));
    const ZipResult result = reader.extractAll(dest);
    QCOMPARE(result.error, ZipError::UnsafeName);
    QCOMPARE(result.entry, entryName.toUtf8());
    QCOMPARE(tree(root.path()), before);
    QVERIFY(tree(dest).isEmpty());
}

void ZipTest::sizeLimitsAndLyingHeaders_data() {
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<qint64>("entryLimit");
    QTest::addColumn<qint64>("totalLimit");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("refused");
    const qint64 k64 = 64 * 1024;
    const qint64 g1 = qint64(1) << 30;
    const QList<Entry> forty{{"a.bin", {}, 40000}, {"b.bin", {}, 40000}, {"c.bin", {}, 40000}};

    QTest::newRow("exactly at the entry limit")
        << QList<Entry>{{"a.bin", {}, int(k64)}} << k64 << g1 << int(ZipError::None) << "";
    QTest::newRow("1 MiB of zeros over a 64 KiB limit")
        << QList<Entry>{{"ok.bin", "ok"}, {"bomb.bin", {}, 1 << 20}} << k64 << g1
        << int(ZipError::EntryTooLarge) << "bomb.bin";
    QTest::newRow("three entries over the archive limit")
        << forty << k64 << qint64(100000) << int(ZipError::ArchiveTooLarge) << "";
    QTest::newRow("claims 2 GiB, holds 100 bytes")
        << QList<Entry>{{"big.bin", {}, 100, 0x7FFFFFFF}} << k64 << (qint64(4) << 30)
        << int(ZipError::EntryTooLarge) << "big.bin";
    QTest::newRow("claims 2 GiB under a generous limit")
        << QList<Entry>{{"big.bin", {}, 100, 0x7FFFFFFF}} << (qint64(4) << 30) << (qint64(8) << 30)
        << int(ZipError::Damaged) << "big.bin";
    QTest::newRow("claims 10 bytes, inflates to 100000")
        << QList<Entry>{{"small.bin", {}, 100000, 10}} << k64 << g1 << int(ZipError::Damaged)
        << "small.bin";
}

void ZipTest::sizeLimitsAndLyingHeaders() {
    QFETCH(QList<Entry>, entries);
    QFETCH(qint64, entryLimit);
    QFETCH(qint64, totalLimit);
    QFETCH(int, error);
    QFETCH(QString, refused);
    QTemporaryDir dir;
    const QString zipPath = dir.filePath("sized.zip");
    QVERIFY(makeZip(zipPath, entries));
    const QString dest = dir.filePath("dest");
    QVERIFY(QDir().mkpath(dest));

    ZipReader reader;
    QVERIFY(reader.open(zipPath));
    ZipLimits limits;
    limits.maxEntryBytes = entryLimit;
    limits.maxTotalBytes = totalLimit;
    const ZipResult result = reader.extractAll(dest, limits);
    QCOMPARE(int(result.error), error);
    if (error == int(ZipError::None)) {
        QCOMPARE(QFileInfo(dest + "/a.bin").size(), entryLimit);
        return;
    }
    QCOMPARE(result.entry, refused.toUtf8());
    // The refused entry leaves no partial file behind.
    if (!refused.isEmpty()) QVERIFY(!QFile::exists(dest + "/" + refused));
    qint64 kept = 0;
    for (const QString& name : tree(dest))
        kept += QFileInfo(dest + "/" + name).size();
    QVERIFY(kept <= totalLimit);
}

QTEST_GUILESS_MAIN(ZipTest)
#include "zip_test.moc"
