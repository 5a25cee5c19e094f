#include "source.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include "backup/libraryfetch.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/packagejob.h"

namespace facesync {

namespace {

// Not named tr(): lupdate would take the marked texts for a call it cannot read.
QString text(const char* source) {
    return QCoreApplication::translate("SyncSource", source);
}

bool failure(const QString& reason, QString* error) {
    if (error) *error = reason;
    return false;
}

QByteArray md5OfFile(const QString& path) {
    QFile file(path);
    QCryptographicHash hash(QCryptographicHash::Md5);
    if (!file.open(QIODevice::ReadOnly) || !hash.addData(&file)) return {};
    return hash.result();
}

// The temporary directory of a source, with the "images" folder the readers expect.
bool makeWorkDir(Source* out, QString* error) {
    out->dir = std::make_shared<QTemporaryDir>();
    if (!out->dir->isValid() || !QDir(out->dir->path()).mkpath("images"))
        return failure(
            text(QT_TRANSLATE_NOOP("SyncSource", "A temporary folder could not be made.")), error);
    return true;
}

}  // namespace

SFeatrueInfoPtr Source::find(const QString& uid) const {
    const auto it = byUid_.constFind(uid);
    return it == byUid_.constEnd() ? SFeatrueInfoPtr() : records.at(*it);
}

void indexSource(Source* source) {
    SFeatrueList kept;
    source->byUid_.clear();
    for (const SFeatrueInfoPtr& record : qAsConst(source->records)) {
        if (record->uid.isEmpty()) {
            ++source->withoutUid;
            continue;
        }
        if (source->byUid_.contains(record->uid)) continue;
        source->byUid_.insert(record->uid, kept.size());
        kept << record;
    }
    source->records = kept;
}

bool loadPackageSource(const QString& path, Source* out, QString* error) {
    *out = Source();
    if (!makeWorkDir(out, error)) return false;
    const int unpacked = packagejob::unpack(path, out->dir->path());
    if (unpacked != packagejob::kOk) return failure(ErrorText(unpacked), error);
    const int read = packagejob::readPackage(out->dir->path(), &out->library, &out->records,
                                             nullptr, 0, 0, false);
    if (read != packagejob::kOk) return failure(ErrorText(read), error);
    for (const SFeatrueInfoPtr& record : qAsConst(out->records)) {
        // A picture the unpack left out (beyond the upload limit) is a record without one.
        if (!record->path.isEmpty() && !QFileInfo(record->path).isFile()) record->path.clear();
        if (!record->path.isEmpty() && !record->uid.isEmpty())
            out->pictureMd5.insert(record->uid, md5OfFile(record->path));
    }
    out->label = path;
    indexSource(out);
    return true;
}

bool loadCameraSource(const SDeviceInfo& camera, const QString& libraryName, Source* out,
                      QString* error, const std::function<bool()>& stop) {
    *out = Source();
    SDeviceInfo device = camera;
    if (!Interaction::instance().refreshDbList(&device))
        return failure(
            text(QT_TRANSLATE_NOOP("SyncSource", "The camera %1 did not answer.")).arg(camera.ip),
            error);
    const QStringList names = dbNames(device);
    const int at = names.indexOf(libraryName);
    if (at < 0)
        return failure(
            text(QT_TRANSLATE_NOOP("SyncSource", "The camera %1 has no library called %2."))
                .arg(camera.ip, libraryName),
            error);
    out->library = device.dbs.at(at);
    backup::FetchResult fetched = backup::fetchRecords(device, &out->library, &out->records);
    if (fetched.ok && !makeWorkDir(out, error)) return false;
    backup::FetchedPictures pictures;
    if (fetched.ok)
        fetched =
            backup::fetchPictures(device, out->records, out->dir->path(), &pictures, {}, stop);
    if (!fetched.ok)
        return failure(
            text(QT_TRANSLATE_NOOP("SyncSource", "The library %1 of %2 could not be read: %3"))
                .arg(libraryName, camera.ip, fetched.reason),
            error);
    const QDir dir(out->dir->path());
    for (const SFeatrueInfoPtr& record : qAsConst(out->records)) {
        record->feature = QString();  // never sent: a target extracts its own
        if (record->path.isEmpty()) continue;
        record->path = dir.filePath(record->path);
        const auto md5 = pictures.md5.constFind(record->imgid);
        if (md5 != pictures.md5.constEnd() && !record->uid.isEmpty())
            out->pictureMd5.insert(record->uid,
                                   QByteArray(md5->bytes.data(), int(md5->bytes.size())));
    }
    out->label = QString("%1:%2").arg(camera.ip, libraryName);
    indexSource(out);
    return true;
}

}  // namespace facesync
