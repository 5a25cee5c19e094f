#include "zipwriter.h"

#include <minizip/zip.h>

#include <QDateTime>
#include <QFile>

ZipWriter::~ZipWriter() {
    close();
}

bool ZipWriter::open(const QString& path, bool append) {
    close();
    const QByteArray local = QFile::encodeName(path);
    handle_ = zipOpen(local.constData(), append ? APPEND_STATUS_ADDINZIP : APPEND_STATUS_CREATE);
    return handle_ != nullptr;
}

QString ZipWriter::storedName(const QString& name) {
    int start = 0;
    while (start < name.size() && (name[start] == '/' || name[start] == '\\'))
        ++start;
    return name.mid(start);
}

static bool isPrintableAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e) return false;
    }
    return true;
}

static zip_fileinfo stampNow() {
    const QDateTime now = QDateTime::currentDateTime();
    zip_fileinfo info{};
    info.tmz_date.tm_sec = static_cast<uInt>(now.time().second());
    info.tmz_date.tm_min = static_cast<uInt>(now.time().minute());
    info.tmz_date.tm_hour = static_cast<uInt>(now.time().hour());
    info.tmz_date.tm_mday = static_cast<uInt>(now.date().day());
    info.tmz_date.tm_mon = static_cast<uInt>(now.date().month() - 1);  // 0-based, as struct tm
    info.tmz_date.tm_year = static_cast<uInt>(now.date().year());
    return info;
}

bool ZipWriter::openEntry(const QString& name) {
    if (!handle_) return entryOpen_;
    closeEntry();
    const QString stored = storedName(name);
    if (stored.isEmpty() || stored.endsWith('/') || !isPrintableAscii(stored)) return false;
    const QByteArray bytes = stored.toLatin1();
    const zip_fileinfo info = stampNow();
    entryOpen_ = zipOpenNewFileInZip(handle_, bytes.constData(), &info, nullptr, 0, nullptr, 0,
                                     nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION) == ZIP_OK;
    return entryOpen_;
}

bool ZipWriter::write(const char* data, qint64 size) {
    if (!entryOpen_ || size < 0) return false;
    // The zip library takes an unsigned length; feed it in bounded pieces.
    constexpr qint64 kPiece = 1 << 20;
    while (size > 0) {
        const qint64 piece = size < kPiece ? size : kPiece;
        if (zipWriteInFileInZip(handle_, data, static_cast<unsigned>(piece)) != ZIP_OK) {
            return false;
        }
        data += piece;
        size -= piece;
    }
    return true;
}

bool ZipWriter::writeFrom(QIODevice& in) {
    if (!entryOpen_) return false;
    char buffer[kChunkBytes];
    for (;;) {
        const qint64 got = in.read(buffer, kChunkBytes);
        if (got < 0) return false;
        if (got == 0) return in.atEnd();
        if (!write(buffer, got)) return false;
    }
}

bool ZipWriter::closeEntry() {
    if (!entryOpen_) return true;
    entryOpen_ = false;
    return zipCloseFileInZip(handle_) == ZIP_OK;
}

bool ZipWriter::close() {
    if (!handle_) return true;
    const bool entryClosed = closeEntry();
    const bool archiveClosed = zipClose(handle_, nullptr) == ZIP_OK;
    handle_ = nullptr;
    return entryClosed && archiveClosed;
}

bool ZipWriter::addBytes(const QString& name, const QByteArray& bytes) {
    if (!openEntry(name)) return false;
    const bool written = write(bytes);
    return closeEntry() && written;
}

bool ZipWriter::addFile(const QString& name, const QString& filePath) {
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (!openEntry(name)) return false;
    const bool written = writeFrom(file);
    return closeEntry() && written;
}
