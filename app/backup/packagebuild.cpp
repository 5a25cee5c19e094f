#include "packagebuild.h"

#include <QDir>
#include <QFile>
#include <unistd.h>

#include "dbutil/packagefile.h"
#include "dbutil/zipwriter.h"
#include "packageread.h"

namespace backup {
namespace {

bool writeZip(const QString& workDir, const SFeatrueList& records, const QString& zipPath) {
    const QDir dir(workDir);
    ZipWriter zip;
    bool ok = zip.open(zipPath) && zip.addFile(package::kDataName, dir.filePath(package::kDataName));
    for (const SFeatrueInfoPtr& record : records)
        if (ok && !record->path.isEmpty()) ok = zip.addFile(record->path, dir.filePath(record->path));
    ok = zip.close() && ok;
    QFile written(zipPath);
    return ok && written.open(QIODevice::ReadWrite) && ::fsync(written.handle()) == 0;
}

bool readsBack(const QString& zipPath, const SFeatrueList& records,
               const PictureDigests& pictureMd5, QString* error) {
    OpenedPackage opened;
    if (!openPackage(zipPath, nullptr, &opened, error)) return false;
    if (opened.records.size() != records.size()) {
        *error = "the written package holds another number of records";
        return false;
    }
    if (opened.pictureMd5 != pictureMd5) {
        *error = "a picture of the written package differs from the camera's";
        return false;
    }
    return true;
}

}  // namespace

bool buildPackage(const QString& workDir, const SDBInfo& library, const SFeatrueList& records,
                  const PictureDigests& pictureMd5, const QString& zipPath, QString* error) {
    const QString data = QDir(workDir).filePath(package::kDataName);
    bool ok = package::writeFile(data, package::Header::fromLibrary(library), records);
    if (!ok) *error = "cannot write the package data (is the disk full?)";
    if (ok && !writeZip(workDir, records, zipPath)) {
        *error = "cannot write the package (is the disk full?)";
        ok = false;
    }
    ok = ok && readsBack(zipPath, records, pictureMd5, error);
    if (!ok) QFile::remove(zipPath);
    return ok;
}

}  // namespace backup
