#include "packageread.h"

#include <QCryptographicHash>
#include <QDir>
#include <QHash>
#include <QIODevice>

#include "dbutil/packagefile.h"
#include "dbutil/packagejob.h"
#include "digest.h"
#include "sealing.h"

namespace backup {

SFeatrueInfoPtr OpenedPackage::find(qint64 imgid) const {
    for (const SFeatrueInfoPtr& record : records)
        if (record->imgid == imgid) return record;
    return {};
}

namespace {

// Takes what an entry inflates to and keeps only its MD5.
class HashSink : public QIODevice {
public:
    HashSink() { open(QIODevice::WriteOnly); }
    Md5 md5() const { return Md5::fromRaw(hash_.result()); }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override {
        hash_.addData(data, int(size));
        return size;
    }

private:
    QCryptographicHash hash_{QCryptographicHash::Md5};
};

bool failure(const QString& reason, QString* error) {
    *error = reason;
    return false;
}

// package.dat into the temporary directory, then every other entry through a hash: each
// entry's check sum is proven and no picture lands on the disk.
bool readHashing(const QString& zipPath, const QDir& work, OpenedPackage* out, QString* error) {
    ZipReader zip;
    if (!zip.open(zipPath)) return failure("the package cannot be unpacked", error);
    const QString data = work.filePath(package::kDataName);
    if (!zip.extractEntry(package::kDataName, data, packagejob::packageLimits(work.path())).ok())
        return failure("the package cannot be unpacked", error);
    package::Contents contents;
    const package::ReadStatus read = package::readFile(data, contents);
    if (read != package::ReadStatus::Ok)
        return failure(read == package::ReadStatus::WrongVersion ? "a package of another version"
                                                                  : "the package data is damaged",
                       error);
    QHash<QByteArray, qint64> owners;  // stored picture path -> its record
    for (const SFeatrueInfoPtr& record : qAsConst(contents.records))
        if (!record->path.isEmpty()) owners.insert(record->path.toUtf8(), record->imgid);
    out->pictureMd5.clear();
    const QList<QByteArray>& names = zip.fileNames();
    if (names.size() > package::kMaxRecords + 1) return failure("the package holds too many files", error);
    for (int i = 0; i < names.size(); ++i) {
        if (names[i] == package::kDataName) continue;
        HashSink sink;
        if (!zip.openFileEntry(i) || zip.extractTo(sink, package::kMaxPictureBytes) != ZipError::None)
            return failure(QString("the package entry %1 is damaged").arg(QString::fromUtf8(names[i])),
                           error);
        const auto owner = owners.constFind(names[i]);
        if (owner != owners.constEnd()) out->pictureMd5.insert(*owner, sink.md5());
    }
    for (const SFeatrueInfoPtr& record : qAsConst(contents.records))
        if (!record->path.isEmpty() && !out->pictureMd5.contains(record->imgid))
            return failure(QString("picture of record %1 missing from the package").arg(record->imgid),
                           error);
    out->library = contents.header.toLibrary();
    out->records = contents.records;
    return true;
}

bool readUnpacking(const QString& zipPath, const QDir& work, OpenedPackage* out, QString* error) {
    const QString content = work.filePath("content");
    const int unpacked = packagejob::unpack(zipPath, content);
    if (unpacked != packagejob::kOk)
        return failure(unpacked == packagejob::kNoDiskSpace ? "no room to unpack the package"
                                                            : "the package cannot be unpacked",
                       error);
    const int read = packagejob::readPackage(content, &out->library, &out->records, nullptr, 0,
                                             0, false);
    if (read != packagejob::kOk)
        return failure(read == packagejob::kIncompatible ? "a package of another version"
                                                         : "the package data is damaged",
                       error);
    out->pictureMd5.clear();
    for (const SFeatrueInfoPtr& record : qAsConst(out->records)) {
        if (record->path.isEmpty()) continue;
        const std::optional<Md5> md5 = Md5::ofFile(record->path);
        if (!md5)
            return failure(QString("picture of record %1 missing from the package").arg(record->imgid),
                           error);
        out->pictureMd5.insert(record->imgid, *md5);
    }
    return true;
}

}  // namespace

bool openPackage(const QString& path, const sealing::KeyPair* keys, OpenedPackage* out,
                 QString* error, Pictures pictures) {
    out->dir = std::make_unique<QTemporaryDir>();
    const QDir work(out->dir->path());
    if (!out->dir->isValid() || !work.mkpath("content/images"))
        return failure("cannot make a temporary directory", error);
    QString zipPath = path;
    if (sealing::isSealed(path)) {
        if (!keys) return failure("the package is encrypted: give the secret key with --key", error);
        zipPath = work.filePath("package.zip");
        if (!sealing::open(path, zipPath, *keys, error)) return false;
    }
    return pictures == Pictures::Hash ? readHashing(zipPath, work, out, error)
                                      : readUnpacking(zipPath, work, out, error);
}

}  // namespace backup
