#include "packagejob.h"

#include <QDataStream>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QStorageInfo>
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
    const QStorageInfo disk(dir);
    limits.freeBytes = disk.isValid() ? disk.bytesAvailable() : 0;
    return limits;
}

int unpack(const QString& zipPath, const QString& dir,
           const std::function<void(int, int)>& progress, const std::function<bool()>& stop) {
    ZipReader reader;
    if (!reader.open(zipPath)) return kOpenFailed;
    const ZipResult result = reader.extractAll(dir, packageLimits(dir), progress, stop);
    if (result.error == ZipError::NoSpace) {
        PACKAGE_LOG("[import failed]. not enough free disk space to unpack the package.\n");
        return kNoDiskSpace;
    }
    if (ZipLimits::isSizeError(result.error)) {
        PACKAGE_LOG("[import failed]. package too large: %s, %s\n", result.entry.constData(),
                    zipErrorText(result.error));
        return kTooLarge;
    }
    if (!result.ok()) {
        PACKAGE_LOG("zip entry refused: %s, %s\n", result.entry.constData(),
                    zipErrorText(result.error));
        return kOpenFailed;
    }
    return kOk;
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
    if (code != kOk) return code;
    package::resolvePicturePaths(contents.records, dir);
    *library = contents.header.toLibrary();
    *records = contents.records;
    return kOk;
}

int createLibrary(SDeviceInfo* device, SDBInfo* library) {
    Interaction& camera = Interaction::instance();
    if (camera.refreshDbList(device) && camera.addFaceDB(*device, library)) return kOk;
    return kLibraryError;
}

}  // namespace packagejob
