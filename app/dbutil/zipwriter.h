// Writes package archives: deflated entries at the default level, no password, extra fields or
// comments, never the 64-bit variant, no directory entries.
#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

class ZipWriter {
public:
    static constexpr int kChunkBytes = 2048;  // copy size of writeFrom

    ZipWriter() = default;
    ~ZipWriter();
    ZipWriter(const ZipWriter&) = delete;
    ZipWriter& operator=(const ZipWriter&) = delete;

    // Closes a previous archive, then creates path (replacing a file of that name) or, with
    // append, adds to the archive there. True when a handle was obtained.
    bool open(const QString& path, bool append = false);
    bool isOpen() const { return handle_ != nullptr; }

    // Closes an open entry and opens a new one stamped with the local time now. Leading "/" and
    // backslashes are dropped; a name that is then empty, not printable ASCII, or names a
    // directory (trailing "/") is refused. Without an archive returns the current flag.
    bool openEntry(const QString& name);
    bool isEntryOpen() const { return entryOpen_; }

    // Appends to the open entry. False without an entry or when the zip library fails.
    bool write(const char* data, qint64 size);
    bool write(const QByteArray& bytes) { return write(bytes.constData(), bytes.size()); }
    // Copies the device into the open entry in kChunkBytes chunks until it ends or fails.
    // False when reading or writing failed.
    bool writeFrom(QIODevice& in);

    bool closeEntry();
    // Closes an open entry, then the archive (no comment). True when both closed cleanly.
    bool close();

    // Whole entries: the entry is made only when the source can be read.
    bool addBytes(const QString& name, const QByteArray& bytes);
    bool addFile(const QString& name, const QString& filePath);

    // The name as it is stored: leading "/" and backslashes removed.
    static QString storedName(const QString& name);

private:
    void* handle_ = nullptr;  // zipFile of the zip library
    bool entryOpen_ = false;
};
