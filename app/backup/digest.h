// Check sums of the backup: SHA-256 of package files, MD5 of pictures, and the fingerprint of a
// library's records that tells whether a new generation is needed.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <array>
#include <optional>

#include "dbutil/records.h"

namespace backup {

// Lower-case hex digests; an empty text when the file cannot be read.
QString sha256OfFile(const QString& path);

// A picture's MD5 as its 16 bytes: a run keeps one for every picture of the fleet until the
// manifest is written, so not as a 32-character text.
struct Md5 {
    std::array<char, 16> bytes{};

    static Md5 of(const QByteArray& data);
    // From the 16 bytes of a finished MD5 hash.
    static Md5 fromRaw(const QByteArray& raw);
    static std::optional<Md5> ofFile(const QString& path);
    // Exactly 32 hex digits.
    static std::optional<Md5> fromHex(const QString& hex);
    QString toHex() const;

    bool operator==(const Md5& other) const { return bytes == other.bytes; }
    bool operator!=(const Md5& other) const { return bytes != other.bytes; }
};
// imgid -> MD5 of the record's picture.
using PictureDigests = QMap<qint64, Md5>;

// SHA-256 over every field the camera gives for each record, in imgid order. A camera never
// changes the picture of an image identifier (an update carries texts only), so equal
// fingerprints mean equal records and equal pictures.
QString recordsFingerprint(const SFeatrueList& records);

}  // namespace backup
