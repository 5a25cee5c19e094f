// Filling the fixed-width text fields of camlink's argument records: every text is cut to the
// field width minus one byte (never inside a UTF-8 sequence) and NUL-terminated.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstring>

namespace args {

void putBytes(char* field, size_t width, const QByteArray& bytes);

// Identifiers, names, uid, ext, libid and filter texts.
template <size_t N>
void putText(char (&field)[N], const QString& text) {
    putBytes(field, N, text.toUtf8());
}

// Local file paths, image URLs and model versions: the system's 8-bit encoding.
template <size_t N>
void putLocal(char (&field)[N], const QString& text) {
    putBytes(field, N, text.toLocal8Bit());
}

// The five extension texts into ext1..ext5 of an image or record argument.
template <class Record>
void putExt(Record& record, const QStringList& ext) {
    char* const fields[] = {record.ext1, record.ext2, record.ext3, record.ext4, record.ext5};
    for (int i = 0; i < 5 && i < ext.size(); ++i)
        putBytes(fields[i], sizeof record.ext1, ext[i].toUtf8());
}

// A record cleared before filling, so unused fields are zero.
template <class Record>
Record cleared() {
    Record record;
    std::memset(&record, 0, sizeof record);
    return record;
}

// Text of a fixed field, which may lack its NUL when a camera filled it to the brim.
template <size_t N>
QString fieldText(const char (&field)[N]) {
    return QString::fromUtf8(field, static_cast<int>(strnlen(field, N)));
}

}  // namespace args
