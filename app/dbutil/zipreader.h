// Reads package archives. Every archive is treated as hostile: names are checked before anything
// is written, entries are inflated in bounded chunks and the inflated bytes are counted.
#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QVector>
#include <functional>

class QIODevice;

enum class ZipError {
    None,
    NotOpen,          // no archive, or the entry could not be opened
    UnsafeName,       // a name that could land outside the destination
    NotFound,         // no entry of that name
    EntryTooLarge,    // an entry inflates (or claims to) past the entry limit
    ArchiveTooLarge,  // all entries together inflate past the archive limit, or too many
    NoSpace,          // the entries announce more than the destination's disk has free
    Damaged,          // inflating failed, the check sum or the announced size did not match
    WriteFailed,      // the destination file could not be made or written
    Stopped,          // the caller asked to stop between entries
};
const char* zipErrorText(ZipError error);

struct ZipLimits {
    qint64 maxEntryBytes = qint64(64) << 20;
    qint64 maxTotalBytes = qint64(1) << 30;
    // One entry of this name may grow to maxLargeEntryBytes instead.
    QByteArray largeEntry;
    qint64 maxLargeEntryBytes = 0;
    int maxEntries = -1;    // file entries; -1: any number
    qint64 freeBytes = -1;  // room on the destination's disk; -1: not checked
    // Entries (other than largeEntry) announced past maxEntryBytes are left out and listed,
    // instead of refusing the whole archive.
    bool skipOversized = false;

    qint64 limitFor(const QByteArray& name) const {
        return !largeEntry.isEmpty() && name == largeEntry ? maxLargeEntryBytes : maxEntryBytes;
    }
    // A refusal for size, as opposed to a damaged or unsafe archive.
    static bool isSizeError(ZipError error) {
        return error == ZipError::EntryTooLarge || error == ZipError::ArchiveTooLarge ||
               error == ZipError::NoSpace;
    }
};

// The outcome of an extraction and the entry it stopped at.
struct ZipResult {
    ZipResult() = default;
    ZipResult(ZipError e, QByteArray at, QList<QByteArray> left = {})
        : error(e), entry(std::move(at)), skipped(std::move(left)) {}

    ZipError error = ZipError::None;
    QByteArray entry;
    QList<QByteArray> skipped;  // entries left out for their size (skipOversized)
    bool ok() const { return error == ZipError::None; }
};

// A relative name that stays below the directory it is resolved in: not empty, no leading "/",
// no backslash, no ":" (drive letters, streams), no control characters, valid UTF-8, and no
// empty, "." or ".." component.
bool isSafeEntryName(const QByteArray& name);

class ZipReader {
public:
    static constexpr int kMaxNameBytes = 260;
    static constexpr int kChunkBytes = 64 * 1024;

    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // Closes a previous archive, opens path and lists its entries in archive order. An entry
    // whose information cannot be read ends the listing. False, with nothing kept open, when the
    // archive does not open or an entry's name is empty or longer than kMaxNameBytes.
    bool open(const QString& path);
    bool isOpen() const { return handle_ != nullptr; }
    void close();

    // Names not ending in "/" or backslash, and those that do (directory entries).
    const QList<QByteArray>& fileNames() const { return fileNames_; }
    const QList<QByteArray>& dirNames() const { return dirNames_; }

    // Closes an open entry, then locates name (exact comparison) and opens it.
    bool openEntry(const QByteArray& name);
    // Opens fileNames()[index] straight away, for reading every entry in archive order.
    bool openFileEntry(int index) { return openListed(index) == ZipError::None; }
    bool isEntryOpen() const { return entryOpen_; }
    void closeEntry();
    // Inflates the open entry into out in kChunkBytes pieces, refusing more than maxBytes; the
    // whole entry must inflate to its announced size and check sum. Closes the entry.
    ZipError extractTo(QIODevice& out, qint64 maxBytes);

    // Writes the named entry to destPath (replacing it); nothing is left there on failure.
    ZipResult extractEntry(const QByteArray& name, const QString& destPath,
                           const ZipLimits& limits = ZipLimits());
    // Writes every file entry below destDir, making sub-directories as needed; directory entries
    // are only checked. All names, the entry count, the announced sizes and the free space are
    // checked before the first byte is written; no entry may inflate past what it announced.
    // progress gets (entries done, entries in all) after each entry. Stops at the first failure;
    // entries written before it stay.
    ZipResult extractAll(const QString& destDir, const ZipLimits& limits = ZipLimits(),
                         const std::function<void(int, int)>& progress = {},
                         const std::function<bool()>& stop = {});

private:
    ZipError openNamed(const QByteArray& name);
    ZipError openListed(int index);
    ZipError openCurrent();
    ZipResult checkNames(const QString& destDir) const;
    bool leftOut(int index, const ZipLimits& limits) const;
    ZipError extractBounded(const QString& destPath, qint64 maxBytes, qint64* written);

    void* handle_ = nullptr;  // unzFile of the zip library
    bool entryOpen_ = false;
    quint64 announced_ = 0;  // uncompressed size the open entry claims
    QList<QByteArray> fileNames_;
    QVector<QPair<quint64, quint64>> filePositions_;  // directory position of each file entry
    QVector<quint64> fileSizes_;                      // announced size of each file entry
    QList<QByteArray> dirNames_;
};
