#include "packagejob.h"

#include <sys/statvfs.h>
#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <cstdarg>

#include "applog.h"
#include "interaction.h"
#include "packagefile.h"
#include "progressreporter.h"
#include "zipreader.h"

namespace packagejob {

void log(const char* source, int line, const char* format, ...) {
    va_list args;
    va_start(args, format);
    AppLog::instance().writeV(source, line, 6, format, args);
    va_end(args);
}

ZipLimits packageLimits(const QString& dir) {
    ZipLimits limits;
    limits.maxEntryBytes = package::kMaxPictureBytes;
    limits.largeEntry = package::kDataName;
    limits.maxLargeEntryBytes = package::kMaxDataBytes;
    limits.maxTotalBytes = package::kMaxPackageBytes;
    limits.maxEntries = package::kMaxRecords + 1;
    limits.skipOversized = true;
    limits.freeBytes = freeBytes(dir);
    return limits;
}

// Asked of the file system itself: the mount table may be out of sight (a chroot, a container),
// and free space that cannot be told must refuse nothing.
qint64 freeBytes(const QString& dir) {
    struct statvfs info {};
    if (statvfs(QFile::encodeName(dir).constData(), &info) != 0) return -1;
    return qint64(info.f_bavail) * qint64(info.f_frsize);
}

int unpack(const QString& zipPath, const QString& dir,
           const std::function<void(int, int)>& progress, const std::function<bool()>& stop) {
    ZipReader reader;
    if (!reader.open(zipPath)) return resultcode::OpenFailed;
    const ZipResult result = reader.extractAll(dir, packageLimits(dir), progress, stop);
    for (const QByteArray& entry : result.skipped)
        PACKAGE_LOG("picture left out, over %lld bytes: %s\n", package::kMaxPictureBytes,
                    entry.constData());
    if (result.error == ZipError::WriteFailed) {
        PACKAGE_LOG("[import failed]. unpacking stopped, a file could not be written: %s\n",
                    result.entry.constData());
        return resultcode::NoDiskSpace;
    }
    if (result.error == ZipError::NoSpace) {
        PACKAGE_LOG("[import failed]. not enough free disk space to unpack the package.\n");
        return resultcode::NoDiskSpace;
    }
    if (ZipLimits::isSizeError(result.error)) {
        PACKAGE_LOG("[import failed]. package too large: %s, %s\n", result.entry.constData(),
                    zipErrorText(result.error));
        return resultcode::PackageTooLarge;
    }
    if (!result.ok()) {
        PACKAGE_LOG("zip entry refused: %s, %s\n", result.entry.constData(),
                    zipErrorText(result.error));
        return resultcode::OpenFailed;
    }
    return resultcode::Ok;
}

namespace {

// The two leading words, for the debug log of a single import.
void logWords(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    QDataStream in(&file);
    quint32 magic = 0, version = 0;
    in >> magic >> version;
    qDebug().noquote() << "magic:" << QString::number(magic, 16)
                       << "version:" << QString::number(version, 16);
}

int reportRead(package::ReadStatus status) {
    switch (status) {
        case package::ReadStatus::Ok:
            break;
        case package::ReadStatus::NotReadable:
            qDebug() << "Open file failed.";
            break;
        case package::ReadStatus::BadMagic:
            qCritical() << "Package file is invalid. Exit";
            break;
        case package::ReadStatus::WrongVersion:
            qCritical() << "Package file isn't compatible. Exit";
            break;
        case package::ReadStatus::Damaged:
            qCritical() << "Package file is damaged. Exit";
            break;
    }
    return package::resultCode(status);
}

}  // namespace

int readPackage(const QString& dir, SDBInfo* library, SFeatrueList* records,
                ProgressReporter* progress, int begin, int end, bool logWordsToo) {
    const QString path = QDir(dir).filePath(package::kDataName);
    if (logWordsToo) logWords(path);
    package::Contents contents;
    auto onHeader = [&](const package::Header& header) {
        if (progress) progress->beginStage(begin, end, header.imgnum);
    };
    auto onRecord = [&] {
        if (progress) progress->step();
    };
    const int code = reportRead(package::readFile(path, contents, onHeader, onRecord));
    if (code != resultcode::Ok) return code;
    package::resolvePicturePaths(contents.records, dir);
    *library = contents.header.toLibrary();
    *records = contents.records;
    return resultcode::Ok;
}

int createLibrary(SDeviceInfo* device, SDBInfo* library) {
    Interaction& camera = Interaction::instance();
    if (camera.refreshDbList(device) && camera.addFaceDB(*device, library)) return resultcode::Ok;
    return resultcode::LibraryError;
}

namespace {

// Why a record's picture cannot go to the camera, or nothing when it can. The declared size
// is read, never the pixels.
QString pictureProblem(const QString& path) {
    if (path.isEmpty()) return {};  // a record without a picture travels as it is
    const QFileInfo file(path);
    if (!file.isFile())
        return QString("picture not in the package or over %1 bytes").arg(kImageMaxBytes);
    if (file.size() > kImageMaxBytes)
        return QString("picture of %1 bytes, over %2").arg(file.size()).arg(kImageMaxBytes);
    const QSize size = QImageReader(path).size();
    if (!size.isValid()) return QString("picture not readable");
    if (size.width() > kImageMaxWidth || size.height() > kImageMaxHeight)
        return QString("picture of %1 x %2 pixels, over %3 x %4")
            .arg(size.width())
            .arg(size.height())
            .arg(kImageMaxWidth)
            .arg(kImageMaxHeight);
    return {};
}

SFeatrueList sendableRecords(const SFeatrueList& records, QStringList* leftOut) {
    SFeatrueList sendable;
    for (const SFeatrueInfoPtr& record : records) {
        if (!record) continue;
        const QString problem = pictureProblem(record->path);
        if (problem.isEmpty()) {
            sendable.append(record);
            continue;
        }
        leftOut->append(record->name + ": " + problem);
        PACKAGE_LOG("record left out: %s, %s\n", record->name.toUtf8().constData(),
                    problem.toUtf8().constData());
    }
    return sendable;
}

}  // namespace

PackageImport importPackage(SDeviceInfo* device, const QString& dir, ProgressReporter* progress,
                            const ImportBands& bands, bool logWordsToo,
                            const std::function<void(int, int)>& onRecord,
                            const std::function<bool()>& stop) {
    PackageImport out;
    SFeatrueList records;
    out.code = readPackage(dir, &out.library, &records, progress, bands.readBegin, bands.readEnd,
                           logWordsToo);
    if (out.code != resultcode::Ok) return out;

    out.stage = PackageImport::Create;
    if (progress) progress->beginStage(bands.readEnd, bands.createEnd, 1);
    out.code = createLibrary(device, &out.library);
    if (out.code != resultcode::Ok) return out;
    if (progress) progress->step();

    out.stage = PackageImport::Upload;
    out.total = records.size();
    const SFeatrueList sendable = sendableRecords(records, &out.leftOut);
    if (progress) progress->beginStage(bands.createEnd, 100, sendable.size());
    const auto afterRecord = [&](int uploaded) {
        if (onRecord) onRecord(uploaded, out.total);
        if (progress) progress->step();
        return stop && stop();
    };
    out.uploaded =
        Interaction::instance().importFaceDB(*device, out.library.libid, sendable, afterRecord);
    out.code = out.uploaded < out.total ? resultcode::NotAllTransferred : resultcode::Ok;
    return out;
}

}  // namespace packagejob
