#include "backuprun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <thread>
#include <unistd.h>
#include <vector>

#include "console.h"
#include "dbutil/errortext.h"
#include "dbutil/resultcode.h"
#include "dbutil/interaction.h"
#include "digest.h"
#include "layout.h"
#include "libraryfetch.h"
#include "packagebuild.h"

namespace backup {
namespace {

QString loginReason(int code, const LoginResult& login) {
    if (login.code == resultcode::AccountLocked) return QString("login locked for %1 s").arg(login.left);
    if (login.code == resultcode::LoginRefused) return QString("wrong user name or password (%1 tries left)").arg(login.left);
    if (isTransferError(code)) return QString("no answer (%1)").arg(code);
    return QString("%1 (%2)").arg(ErrorText(code)).arg(code);
}

// Directory names of the camera's libraries, distinct even when two names clean up alike.
QStringList libraryDirNames(const QVector<SDBInfo>& libraries) {
    QStringList names;
    for (const SDBInfo& library : libraries) {
        QString name = layout::safePart(library.name, "library_" + layout::safePart(library.libid, "0"));
        if (names.contains(name)) name += '_' + layout::safePart(library.libid, "0");
        names.append(name);
    }
    return names;
}

void copySum(const PackageSum& sum, LibraryEntry* entry) {
    entry->sha256 = sum.sha256;
    entry->records = sum.records;
    entry->pictures = sum.pictures;
    entry->missingPictures = sum.missingPictures;
    entry->bytes = sum.bytes;
}

void prune(const QString& libraryDir, int keep) {
    if (keep <= 0) return;
    const QVector<layout::Generation> kept = layout::generations(libraryDir);
    for (int i = 0; i + keep < kept.size(); ++i) {
        QFile::remove(kept[i].packagePath);
        QFile::remove(kept[i].sumPath);
    }
}

}  // namespace

BackupRun::BackupRun(RunSettings settings, QVector<SDeviceInfo> devices, Console& console,
                     const std::atomic<bool>& stop)
    : settings_(std::move(settings)), devices_(std::move(devices)), console_(console), stop_(stop) {}

Manifest BackupRun::run() {
    Manifest manifest;
    const QDateTime started = QDateTime::currentDateTimeUtc();
    manifest.started = started.toString(Qt::ISODate);
    manifest.encrypted = settings_.recipient.has_value();
    stamp_ = layout::timeStamp(started);
    workRoot_ = QDir(settings_.root).filePath(QString(".work-%1").arg(::getpid()));
    QDir().mkpath(workRoot_);
    QFile::setPermissions(workRoot_, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);

    QStringList addresses;
    for (const SDeviceInfo& device : devices_) addresses.append(device.ip);
    console_.setCameras(addresses);
    manifest.cameras.resize(devices_.size());
    std::atomic<int> next{0};
    auto worker = [&] {
        for (int i = next++; i < devices_.size(); i = next++) manifest.cameras[i] = backupCamera(i);
    };
    std::vector<std::thread> pool;
    const int threads = std::max(1, std::min(settings_.jobs, int(devices_.size())));
    for (int i = 0; i < threads; ++i) pool.emplace_back(worker);
    for (std::thread& thread : pool) thread.join();
    console_.finish();

    manifest.interrupted = stop_.load();
    manifest.finished = QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
    writeManifest(manifest);
    QDir(workRoot_).removeRecursively();
    return manifest;
}

CameraEntry BackupRun::backupCamera(int index) {
    SDeviceInfo device = devices_[index];
    CameraEntry entry;
    entry.address = device.ip;
    if (stop_) {
        entry.outcome = outcome::kNotDone;
        entry.reason = "stopped before this camera";
        console_.done(index, "not done: stopped");
        return entry;
    }
    console_.progress(index, "logging in");
    LoginResult login;
    const int code = Interaction::instance().updateIPC(&device, &login);
    if (code != 0) {
        entry.outcome = outcome::kFailed;
        entry.reason = loginReason(code, login);
        console_.done(index, "FAILED: " + entry.reason);
        return entry;
    }
    entry.outcome = "ok";
    const QString cameraDir = QDir(settings_.root).filePath(layout::safePart(device.ip, "camera"));
    const QStringList dirNames = libraryDirNames(device.dbs);
    QStringList summary;
    for (int i = 0; i < device.dbs.size(); ++i) {
        LibraryEntry library;
        if (stop_) {
            library.libid = device.dbs[i].libid;
            library.name = device.dbs[i].name;
            library.outcome = outcome::kNotDone;
            library.reason = "stopped before this library";
        } else {
            library = backupLibrary(index, device, device.dbs[i], QDir(cameraDir).filePath(dirNames[i]));
        }
        summary.append(QString("%1: %2%3").arg(library.name, library.outcome,
                                              library.reason.isEmpty() ? "" : " (" + library.reason + ")"));
        entry.libraries.append(library);
    }
    if (summary.isEmpty()) summary.append("no libraries");
    console_.done(index, summary.join("; "));
    return entry;
}

LibraryEntry BackupRun::backupLibrary(int index, const SDeviceInfo& device, const SDBInfo& wanted,
                                      const QString& libraryDir) {
    LibraryEntry entry;
    entry.libid = wanted.libid;
    entry.name = wanted.name;
    auto fail = [&](const QString& reason) {
        entry.outcome = outcome::kFailed;
        entry.reason = reason;
        return entry;
    };
    console_.progress(index, wanted.name + ": reading records");
    SDBInfo library = wanted;
    SFeatrueList records;
    const FetchResult listed = fetchRecords(device, &library, &records);
    if (!listed.ok) return fail(listed.reason);
    if (!QDir().mkpath(libraryDir)) return fail("cannot make " + libraryDir);
    const QString fingerprint = recordsFingerprint(records);
    if (findUnchanged(libraryDir, fingerprint, &entry)) return entry;

    const QString work = QDir(workRoot_).filePath(
        QString("%1-%2").arg(index).arg(layout::safePart(library.libid, "0")));
    QDir(work).removeRecursively();
    if (!QDir().mkpath(work + "/images")) return fail("cannot make a work directory");
    FetchedPictures pictures;
    const FetchResult fetched = fetchPictures(
        device, records, work, &pictures,
        [&](int done, int total) {
            console_.progress(index, QString("%1: pictures %2/%3").arg(library.name).arg(done).arg(total));
        },
        {});
    QString error;
    PackageSum sum;
    sum.fingerprint = fingerprint;
    sum.records = records.size();
    sum.pictures = pictures.md5.size();
    sum.missingPictures = pictures.missing;
    if (fetched.ok) console_.progress(index, library.name + ": writing the package");
    const bool written = fetched.ok && writeGeneration(libraryDir, work, library, records,
                                                       pictures.md5, &sum, &entry.package, &error);
    QDir(work).removeRecursively();
    if (!fetched.ok) return fail(fetched.reason);
    if (!written) return fail(error);

    prune(libraryDir, settings_.keep);
    entry.outcome = outcome::kStored;
    copySum(sum, &entry);
    entry.pictureMd5 = pictures.md5;
    if (pictures.missing > 0)
        entry.reason = QString("%1 pictures the camera did not give").arg(pictures.missing);
    return entry;
}

bool BackupRun::findUnchanged(const QString& libraryDir, const QString& fingerprint,
                              LibraryEntry* entry) const {
    const QVector<layout::Generation> kept = layout::generations(libraryDir);
    PackageSum last;
    const bool same = !kept.isEmpty() && PackageSum::read(kept.last().sumPath, &last) &&
                      last.fingerprint == fingerprint && last.missingPictures == 0 &&
                      kept.last().sealed == settings_.recipient.has_value();
    if (!same) return false;
    entry->outcome = outcome::kUnchanged;
    entry->package = QDir(settings_.root).relativeFilePath(kept.last().packagePath);
    copySum(last, entry);
    return true;
}

// The package under a hidden name, proven by reading it back (and sealed), then its check-sum
// file, then the package under its own name: a generation never appears before it is whole.
bool BackupRun::writeGeneration(const QString& libraryDir, const QString& work,
                                const SDBInfo& library, const SFeatrueList& records,
                                const PictureDigests& pictureMd5, PackageSum* sum,
                                QString* package, QString* error) const {
    const QString stem = layout::freeStem(libraryDir, stamp_);
    const bool sealed = settings_.recipient.has_value();
    const QString finalPath = QDir(libraryDir).filePath(
        stem + (sealed ? layout::kSealedPackage : layout::kPlainPackage));
    const QString part = QDir(libraryDir).filePath('.' + QFileInfo(finalPath).fileName() +
                                                   layout::kPartSuffix);
    const QString zip = sealed ? QDir(work).filePath("package.zip") : part;
    bool ok = buildPackage(work, library, records, pictureMd5, zip, error);
    if (ok && sealed) ok = sealing::seal(zip, part, *settings_.recipient, error);
    sum->sha256 = ok ? sha256OfFile(part) : QString();
    sum->bytes = QFileInfo(part).size();
    const QString sumPath = QDir(libraryDir).filePath(stem + layout::kSumSuffix);
    ok = ok && !sum->sha256.isEmpty() && layout::writeNewFile(sumPath, sum->toText(), error);
    if (ok && !layout::publish(part, finalPath, error)) {
        QFile::remove(sumPath);
        ok = false;
    }
    QFile::remove(part);
    if (ok) *package = QDir(settings_.root).relativeFilePath(finalPath);
    return ok;
}

// Written straight to a file, as large as the fleet; when sealed, the plain text stays in the
// private work directory.
bool BackupRun::writeManifest(const Manifest& manifest) {
    const QDir dir(QDir(settings_.root).filePath(layout::kManifestDir));
    if (!dir.mkpath(".")) {
        manifestError_ = "cannot make " + dir.path();
        return false;
    }
    const bool sealed = settings_.recipient.has_value();
    const QString stem = layout::freeStem(dir.path(), stamp_);
    const QString path = dir.filePath(stem + (sealed ? ".json.sealed" : ".json"));
    const QString part = dir.filePath('.' + QFileInfo(path).fileName() + layout::kPartSuffix);
    const QString plain = sealed ? QDir(workRoot_).filePath("manifest.json") : part;
    QFile file(plain);
    bool ok = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && manifest.write(file) &&
              file.flush() && ::fsync(file.handle()) == 0;
    file.close();
    if (!ok) manifestError_ = QString("cannot write %1: %2").arg(path, file.errorString());
    if (ok && sealed) ok = sealing::seal(plain, part, *settings_.recipient, &manifestError_);
    ok = ok && layout::publish(part, path, &manifestError_);
    QFile::remove(part);
    if (sealed) QFile::remove(plain);
    if (ok) manifestPath_ = path;
    return ok;
}

}  // namespace backup
