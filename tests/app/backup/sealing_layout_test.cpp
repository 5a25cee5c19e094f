// The pieces of facekeeper-backup that need no camera: sealed files, the backup layout, the
// manifest and the package reader.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <functional>
#include <random>

#include "dbutil/packagefile.h"
#include "dbutil/zipwriter.h"
#include "layout.h"
#include "manifest.h"
#include "packageread.h"
#include "sealing.h"
#include "support/temp_dir.h"

namespace {

using namespace backup;

QByteArray noise(int size) {
    std::mt19937 random(7);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char& c : bytes) c = char(random());
    return bytes;
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Several chunks round-trip; every alteration of the sealed bytes is refused with its reason.
TEST(Sealing, RoundTripAndRefusals) {
    ASSERT_TRUE(sealing::initialize());
    testsupport::TempDir dir("sealing-test");
    const QString base = QString::fromStdString(dir.path());
    QString error;
    ASSERT_TRUE(sealing::generateKeys(base + "/a", &error)) << qPrintable(error);
    ASSERT_TRUE(sealing::generateKeys(base + "/b", &error)) << qPrintable(error);
    sealing::PublicKey recipient;
    sealing::KeyPair mine, other;
    ASSERT_TRUE(sealing::loadPublicKey(base + "/a.pub", &recipient, &error));
    ASSERT_TRUE(sealing::loadKeyPair(base + "/a.key", &mine, &error));
    ASSERT_TRUE(sealing::loadKeyPair(base + "/b.key", &other, &error));

    const QByteArray plain = noise(int(3 * sealing::kChunkBytes + 123));
    writeAll(base + "/plain", plain);
    ASSERT_TRUE(sealing::seal(base + "/plain", base + "/sealed", recipient, &error));
    const QByteArray sealed = readAll(base + "/sealed");
    EXPECT_TRUE(sealing::isSealed(base + "/sealed"));
    EXPECT_FALSE(sealed.contains(plain.left(64)));
    ASSERT_TRUE(sealing::open(base + "/sealed", base + "/opened", mine, &error)) << qPrintable(error);
    EXPECT_EQ(readAll(base + "/opened"), plain);

    const int lastChunk = int(sealing::kChunkBytes) + 17;  // a whole chunk and its tag
    const struct {
        const char* what;
        QByteArray bytes;
        const sealing::KeyPair* keys;
        const char* reason;
    } refused[] = {
        {"wrong key", sealed, &other, "the key does not open this file"},
        {"last chunk cut off", sealed.left(sealed.size() - 123 - 17), &mine, "cut short"},
        {"cut inside a chunk", sealed.left(sealed.size() - lastChunk - 50), &mine, "altered"},
        {"a byte changed", QByteArray(sealed).replace(sealed.size() / 2, 1, "\x01"), &mine, "altered"},
        {"bytes appended", sealed + "x", &mine, "altered"},
        {"not sealed", plain, &mine, "not a sealed file"},
    };
    for (const auto& c : refused) {
        writeAll(base + "/bad", c.bytes);
        error.clear();
        EXPECT_FALSE(sealing::open(base + "/bad", base + "/out", *c.keys, &error)) << c.what;
        EXPECT_TRUE(error.contains(c.reason)) << c.what << ": " << qPrintable(error);
        EXPECT_FALSE(QFile::exists(base + "/out")) << c.what;
    }

    QFile::setPermissions(base + "/a.key", QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
    EXPECT_FALSE(sealing::loadKeyPair(base + "/a.key", &mine, &error));
    EXPECT_TRUE(error.contains("open to other users")) << qPrintable(error);
}

// Generations sort by time and counter, new stems never meet old files, and leftovers of a
// killed run go while packages and their check sums stay.
TEST(Layout, GenerationsAndLeftovers) {
    testsupport::TempDir dir("layout-test");
    const QString root = QString::fromStdString(dir.path());
    const QString library = root + "/127.0.0.2/staff";
    ASSERT_TRUE(QDir().mkpath(library));
    ASSERT_TRUE(QDir().mkpath(root + "/.work-123/0-1/images"));
    for (const char* name : {"20261208T101010Z-10.zip", "20261208T101010Z-9.zip.sealed",
                             "20261208T101010Z.zip", "20261207T235959Z.zip",
                             "20261207T235959Z.sum.json", "20261208T101010Z-11.sum.json",
                             ".20261208T101010Z-12.zip.part", "notes.txt"})
        writeAll(library + "/" + name, "x");

    QStringList stems;
    for (const layout::Generation& g : layout::generations(library)) stems.append(g.stem);
    EXPECT_EQ(stems, QStringList({"20261207T235959Z", "20261208T101010Z", "20261208T101010Z-9",
                                  "20261208T101010Z-10"}));
    EXPECT_EQ(layout::freeStem(library, "20261208T101010Z"), "20261208T101010Z-1");
    EXPECT_EQ(layout::freeStem(library, "20261209T000000Z"), "20261209T000000Z");

    EXPECT_EQ(layout::removeLeftovers(root), 3);  // the work directory, the .part, the lone sum
    EXPECT_FALSE(QDir(root + "/.work-123").exists());
    EXPECT_TRUE(QFile::exists(library + "/20261207T235959Z.sum.json"));
    EXPECT_FALSE(QFile::exists(library + "/20261208T101010Z-11.sum.json"));
    EXPECT_EQ(layout::libraryDirs(root), QStringList{"127.0.0.2/staff"});

    QString error;
    EXPECT_FALSE(layout::publish(library + "/notes.txt", library + "/20261208T101010Z.zip", &error));
    EXPECT_EQ(readAll(library + "/notes.txt"), "x");  // nothing was replaced or lost

    for (const auto& [text, part] : std::vector<std::pair<QString, QString>>{
             {"127.0.0.2", "127.0.0.2"}, {"../etc", "fallback"}, {"..", "fallback"},
             {"", "fallback"}, {".hidden", "fallback"}, {"a/b c", "a_b_c"}})
        EXPECT_EQ(layout::safePart(text, "fallback"), part) << qPrintable(text);
}

// The manifest is written camera by camera; it must read back whole, MD5s included, and a
// damaged MD5 in it must not pass for a picture's.
TEST(Manifest, WrittenPieceByPieceReadsBack) {
    Manifest manifest;
    manifest.started = "2026-12-08T10:00:00Z";
    manifest.interrupted = true;
    for (int camera = 0; camera < 3; ++camera) {
        CameraEntry entry;
        entry.address = QString("127.0.0.%1").arg(camera + 2);
        entry.outcome = camera == 1 ? "failed" : "ok";
        for (int library = 0; camera != 1 && library < 2; ++library) {
            LibraryEntry stored;
            stored.name = QString("lib\"%1\n").arg(library);  // escaped in JSON
            stored.outcome = outcome::kStored;
            stored.records = 40;
            for (qint64 imgid = 1000; imgid < 1040; ++imgid)
                stored.pictureMd5.insert(imgid, Md5::of(QByteArray::number(imgid * (camera + 1))));
            entry.libraries.append(stored);
        }
        manifest.cameras.append(entry);
    }
    for (const QVector<CameraEntry>& cameras : {manifest.cameras, QVector<CameraEntry>{}}) {
        Manifest written = manifest;
        written.cameras = cameras;
        QBuffer text;
        ASSERT_TRUE(text.open(QIODevice::WriteOnly) && written.write(text));
        Manifest read;
        ASSERT_TRUE(Manifest::fromText(text.data(), &read)) << text.data().constData();
        EXPECT_EQ(read.started, written.started);
        EXPECT_TRUE(read.interrupted);
        ASSERT_EQ(read.cameras.size(), cameras.size());
        for (int c = 0; c < cameras.size(); ++c) {
            EXPECT_EQ(read.cameras[c].outcome, cameras[c].outcome);
            ASSERT_EQ(read.cameras[c].libraries.size(), cameras[c].libraries.size());
            for (int l = 0; l < cameras[c].libraries.size(); ++l) {
                EXPECT_EQ(read.cameras[c].libraries[l].name, cameras[c].libraries[l].name);
                EXPECT_EQ(read.cameras[c].libraries[l].pictureMd5, cameras[c].libraries[l].pictureMd5);
            }
        }
    }

    const Md5 picture = Md5::of("picture");
    EXPECT_EQ(Md5::fromHex(picture.toHex().toUpper()), picture);
    for (const QString& damaged : {picture.toHex().left(31), picture.toHex() + "0",
                                   picture.toHex().replace(0, 1, "g"), QString()})
        EXPECT_FALSE(Md5::fromHex(damaged)) << qPrintable(damaged);
}

// Pictures are hashed entry by entry as they inflate; a picture a record names but the zip
// lacks, and an entry that does not inflate to its check sum, are refused.
TEST(PackageRead, PicturesHashedEntryByEntry) {
    testsupport::TempDir scratch("backup-read");
    const QDir dir(QString::fromStdString(scratch.path()));
    SDBInfo library;
    library.libid = "7";
    library.name = "staff";
    SFeatrueList records;
    PictureDigests expected;
    for (qint64 imgid = 1001; imgid <= 1003; ++imgid) {
        auto record = SFeatrueInfoPtr::create();
        record->imgid = imgid;
        if (imgid != 1003) {  // the last record has no picture
            record->path = package::picturePath(imgid);
            expected.insert(imgid, Md5::of(noise(3000) + QByteArray::number(imgid)));
        }
        records.append(record);
    }
    auto writePackage = [&](const QString& name, int pictures) {
        QBuffer data;
        data.open(QIODevice::WriteOnly);
        ZipWriter zip;
        EXPECT_TRUE(package::write(data, package::Header::fromLibrary(library), records) &&
                    zip.open(dir.filePath(name)) && zip.addBytes(package::kDataName, data.data()));
        for (qint64 imgid = 1001; imgid < 1001 + pictures; ++imgid)
            zip.addBytes(package::picturePath(imgid), noise(3000) + QByteArray::number(imgid));
        EXPECT_TRUE(zip.close());
        return dir.filePath(name);
    };
    OpenedPackage opened;
    QString error;
    ASSERT_TRUE(openPackage(writePackage("whole.zip", 2), nullptr, &opened, &error)) << qPrintable(error);
    EXPECT_EQ(opened.library.name, "staff");
    EXPECT_EQ(opened.records.size(), 3);
    EXPECT_EQ(opened.pictureMd5, expected);

    EXPECT_FALSE(openPackage(writePackage("short.zip", 1), nullptr, &opened, &error));
    EXPECT_EQ(error, "picture of record 1002 missing from the package");

    // Noise does not compress: its bytes lie in the zip as they are.
    QByteArray zip = readAll(writePackage("damaged.zip", 2));
    const int at = zip.indexOf(noise(3000));
    ASSERT_GT(at, 0);
    zip[at + 100] = char(zip[at + 100] ^ 0x5a);
    writeAll(dir.filePath("damaged.zip"), zip);
    EXPECT_FALSE(openPackage(dir.filePath("damaged.zip"), nullptr, &opened, &error));
    EXPECT_EQ(error, "the package entry images/1001.jpg is damaged");
}

}  // namespace
