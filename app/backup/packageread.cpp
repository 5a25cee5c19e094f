#include "packageread.h"

#include <QDir>

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

bool openPackage(const QString& path, const sealing::KeyPair* keys, OpenedPackage* out,
                 QString* error) {
    out->dir = std::make_unique<QTemporaryDir>();
    const QDir work(out->dir->path());
    if (!out->dir->isValid() || !work.mkpath("content/images")) {
        *error = "cannot make a temporary directory";
        return false;
    }
    QString zipPath = path;
    if (sealing::isSealed(path)) {
        if (!keys) {
            *error = "the package is encrypted: give the secret key with --key";
            return false;
        }
        zipPath = work.filePath("package.zip");
        if (!sealing::open(path, zipPath, *keys, error)) return false;
    }
    const QString content = work.filePath("content");
    const int unpacked = packagejob::unpack(zipPath, content);
    if (unpacked != packagejob::kOk) {
        *error = unpacked == packagejob::kNoDiskSpace ? "no room to unpack the package"
                                                      : "the package cannot be unpacked";
        return false;
    }
    const int read = packagejob::readPackage(content, &out->library, &out->records, nullptr, 0,
                                             0, false);
    if (read != packagejob::kOk) {
        *error = read == packagejob::kIncompatible ? "a package of another version"
                                                   : "the package data is damaged";
        return false;
    }
    out->pictureMd5.clear();
    for (const SFeatrueInfoPtr& record : qAsConst(out->records)) {
        if (record->path.isEmpty()) continue;
        const std::optional<Md5> md5 = Md5::ofFile(record->path);
        if (!md5) {
            *error = QString("picture of record %1 missing from the package").arg(record->imgid);
            return false;
        }
        out->pictureMd5.insert(record->imgid, *md5);
    }
    return true;
}

}  // namespace backup
