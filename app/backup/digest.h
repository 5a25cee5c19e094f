// Check sums of the backup: SHA-256 of package files, MD5 of pictures, and the fingerprint of a
// library's records that tells whether a new generation is needed.
#pragma once

#include <QByteArray>
#include <QString>

#include "dbutil/records.h"

namespace backup {

// Lower-case hex digests; an empty text when the file cannot be read.
QString sha256OfFile(const QString& path);
QString md5OfFile(const QString& path);
QString md5Of(const QByteArray& bytes);

// SHA-256 over every field the camera gives for each record, in imgid order. A camera never
// changes the picture of an image identifier (an update carries texts only), so equal
// fingerprints mean equal records and equal pictures.
QString recordsFingerprint(const SFeatrueList& records);

}  // namespace backup
