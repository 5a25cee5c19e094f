#include "zipreader.h"

#include <minizip/unzip.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

const char* zipErrorText(ZipError error) {
    switch (error) {
        case ZipError::None:
            return "ok";
        case ZipError::NotOpen:
            return "not open";
        case ZipError::UnsafeName:
            return "unsafe entry name";
        case ZipError::NotFound:
            return "entry not found";
        case ZipError::EntryTooLarge:
            return "entry too large";
        case ZipError::ArchiveTooLarge:
            return "archive too large";
        case ZipError::NoSpace:
            return "not enough free disk space";
        case ZipError::Damaged:
            return "entry damaged";
        case ZipError::WriteFailed:
            return "write failed";
        case ZipError::Stopped:
            return "stopped";
    }
    return "unknown";
}

bool isSafeEntryName(const QByteArray& name) {
    if (name.isEmpty() || name.size() > ZipReader::kMaxNameBytes) return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f || c == '\\' || c == ':') return false;
    }
    if (QString::fromUtf8(name).toUtf8() != name) return false;
    // A leading "/" shows up as an empty first component.
    for (const QByteArray& part : name.split('/')) {
        if (part.isEmpty() || part == "." || part == "..") return false;
    }
    return true;
}

// Second line of defence behind isSafeEntryName: the cleaned path must lie below dir.
static bool staysInside(const QString& dir, const QByteArray& name) {
    const QString base = QDir::cleanPath(QDir(dir).absolutePath());
    const QString prefix = base.endsWith('/') ? base : base + '/';
    const QString target = QDir::cleanPath(prefix + QString::fromUtf8(name));
    return target.startsWith(prefix) && target.size() > prefix.size();
}

static bool isDirName(const QByteArray& name) {
    return name.endsWith('/') || name.endsWith('\\');
}

ZipReader::~ZipReader() {
    close();
}

void ZipReader::close() {
    closeEntry();
    if (handle_) unzClose(handle_);
    handle_ = nullptr;
    fileNames_.clear();
    filePositions_.clear();
    fileSizes_.clear();
    dirNames_.clear();
}

bool ZipReader::open(const QString& path) {
    close();
    const QByteArray local = QFile::encodeName(path);
    handle_ = unzOpen(local.constData());
    if (!handle_) return false;
    unz_global_info global{};
    if (unzGetGlobalInfo(handle_, &global) != UNZ_OK) return true;  // nothing listed
    // The listing walks real entries; the announced count is never used to size anything.
    for (uLong index = 0; index < global.number_entry; ++index) {
        if (index > 0 && unzGoToNextFile(handle_) != UNZ_OK) break;
        unz_file_info info{};
        char name[kMaxNameBytes + 1] = {};
        if (unzGetCurrentFileInfo(handle_, &info, name, sizeof name, nullptr, 0, nullptr, 0) !=
            UNZ_OK) {
            break;
        }
        if (info.size_filename == 0 || info.size_filename > uLong(kMaxNameBytes)) {
            close();
            return false;
        }
        const QByteArray entry(name, static_cast<int>(info.size_filename));
        if (isDirName(entry)) {
            dirNames_.append(entry);
        } else {
            unz_file_pos position{};
            unzGetFilePos(handle_, &position);
            fileNames_.append(entry);
            filePositions_.append({position.pos_in_zip_directory, position.num_of_file});
            fileSizes_.append(info.uncompressed_size);
        }
    }
    return true;
}

void ZipReader::closeEntry() {
    if (entryOpen_) unzCloseCurrentFile(handle_);
    entryOpen_ = false;
    announced_ = 0;
}

ZipError ZipReader::openNamed(const QByteArray& name) {
    closeEntry();
    if (!handle_) return ZipError::NotOpen;
    if (name.isEmpty() || name.contains('\0')) return ZipError::NotFound;
    if (unzLocateFile(handle_, name.constData(), 0) != UNZ_OK) return ZipError::NotFound;
    return openCurrent();
}

// Goes straight to a listed entry: locating by name walks the directory from its start, which
// would make unpacking a large package take time in the square of its entries.
ZipError ZipReader::openListed(int index) {
    closeEntry();
    if (!handle_ || index < 0 || index >= filePositions_.size()) return ZipError::NotOpen;
    unz_file_pos position{};
    position.pos_in_zip_directory = filePositions_[index].first;
    position.num_of_file = filePositions_[index].second;
    if (unzGoToFilePos(handle_, &position) != UNZ_OK) return ZipError::NotFound;
    return openCurrent();
}

ZipError ZipReader::openCurrent() {
    unz_file_info info{};
    if (unzGetCurrentFileInfo(handle_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
        return ZipError::Damaged;
    }
    // Encrypted entries would inflate to noise: packages never carry a password.
    if ((info.flag & 1) != 0) return ZipError::Damaged;
    if (unzOpenCurrentFile(handle_) != UNZ_OK) return ZipError::Damaged;
    entryOpen_ = true;
    announced_ = info.uncompressed_size;
    return ZipError::None;
}

bool ZipReader::openEntry(const QByteArray& name) {
    return openNamed(name) == ZipError::None;
}

ZipError ZipReader::extractTo(QIODevice& out, qint64 maxBytes) {
    if (!entryOpen_) return ZipError::NotOpen;
    if (maxBytes < 0 || announced_ > quint64(maxBytes)) {
        closeEntry();
        return ZipError::EntryTooLarge;
    }
    QByteArray buffer(kChunkBytes, Qt::Uninitialized);
    qint64 total = 0;
    ZipError result = ZipError::None;
    for (;;) {
        const int got = unzReadCurrentFile(handle_, buffer.data(), kChunkBytes);
        if (got < 0) result = ZipError::Damaged;
        if (got <= 0) break;
        total += got;
        if (total > maxBytes) {
            result = ZipError::EntryTooLarge;
            break;
        }
        if (quint64(total) > announced_) {  // more than the free-space check counted on
            result = ZipError::Damaged;
            break;
        }
        if (out.write(buffer.constData(), got) != got) {
            result = ZipError::WriteFailed;
            break;
        }
    }
    // The check sum is only verified once the announced size was read in full.
    const bool closedClean = unzCloseCurrentFile(handle_) == UNZ_OK;
    entryOpen_ = false;
    if (result == ZipError::None && (!closedClean || quint64(total) != announced_)) {
        result = ZipError::Damaged;
    }
    announced_ = 0;
    return result;
}

ZipError ZipReader::extractBounded(const QString& destPath, qint64 maxBytes, qint64* written) {
    QFile file(destPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        closeEntry();
        return ZipError::WriteFailed;
    }
    ZipError result = extractTo(file, maxBytes);
    if (result == ZipError::None && !file.flush()) result = ZipError::WriteFailed;
    *written = file.size();
    file.close();
    if (result != ZipError::None) file.remove();
    return result;
}

ZipResult ZipReader::extractEntry(const QByteArray& name, const QString& destPath,
                                  const ZipLimits& limits) {
    ZipResult result{openNamed(name), name};
    if (!result.ok()) return result;
    qint64 written = 0;
    result.error = extractBounded(destPath, limits.limitFor(name), &written);
    return result;
}

ZipResult ZipReader::checkNames(const QString& destDir) const {
    for (const QByteArray& name : fileNames_) {
        if (!isSafeEntryName(name) || !staysInside(destDir, name)) {
            return {ZipError::UnsafeName, name};
        }
    }
    for (const QByteArray& name : dirNames_) {
        const QByteArray bare = name.left(name.size() - 1);
        if (!isSafeEntryName(bare) || !staysInside(destDir, bare)) {
            return {ZipError::UnsafeName, name};
        }
    }
    return {};
}

bool ZipReader::leftOut(int index, const ZipLimits& limits) const {
    const QByteArray& name = fileNames_[index];
    return limits.skipOversized && name != limits.largeEntry &&
           fileSizes_[index] > quint64(qMax<qint64>(limits.maxEntryBytes, 0));
}

ZipResult ZipReader::extractAll(const QString& destDir, const ZipLimits& limits,
                                const std::function<void(int, int)>& progress,
                                const std::function<bool()>& stop) {
    if (!handle_) return {ZipError::NotOpen, {}};
    ZipResult result = checkNames(destDir);
    if (!result.ok()) return result;
    quint64 keptTotal = 0;
    for (int index = 0; index < fileNames_.size(); ++index) {
        if (leftOut(index, limits))
            result.skipped.append(fileNames_[index]);
        else
            keptTotal += fileSizes_[index];
    }
    if (keptTotal > quint64(limits.maxTotalBytes) ||
        (limits.maxEntries >= 0 && fileNames_.size() > limits.maxEntries))
        return {ZipError::ArchiveTooLarge, {}, result.skipped};
    if (limits.freeBytes >= 0 && keptTotal > quint64(limits.freeBytes))
        return {ZipError::NoSpace, {}, result.skipped};

    const QDir dest(destDir);
    qint64 total = 0;
    const int count = fileNames_.size();
    for (int index = 0; index < count; ++index) {
        if (stop && stop()) return {ZipError::Stopped, {}, result.skipped};
        const QByteArray& name = fileNames_[index];
        result.entry = name;
        if (leftOut(index, limits)) {
            if (progress) progress(index + 1, count);
            continue;
        }
        result.error = openListed(index);
        if (!result.ok()) return result;
        const QString target = dest.absoluteFilePath(QString::fromUtf8(name));
        if (!dest.mkpath(QFileInfo(target).path())) {
            closeEntry();
            return {ZipError::WriteFailed, name, result.skipped};
        }
        const qint64 budget = limits.maxTotalBytes - total;
        const qint64 entryLimit = limits.limitFor(name);
        const bool totalBinds = budget < entryLimit;
        qint64 written = 0;
        result.error = extractBounded(target, totalBinds ? budget : entryLimit, &written);
        if (result.error == ZipError::EntryTooLarge && totalBinds) {
            result.error = ZipError::ArchiveTooLarge;
        }
        if (!result.ok()) return result;
        total += written;
        if (progress) progress(index + 1, count);
    }
    result.entry.clear();
    return result;
}
