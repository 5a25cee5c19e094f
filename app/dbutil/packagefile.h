// "package.dat": the library header and the image records of a package, as a big-endian
// QDataStream with default settings.
#pragma once

#include <QString>
#include <functional>

#include "inputcheck.h"
#include "records.h"

class QIODevice;

namespace package {

constexpr quint32 kMagic = 0xAA000001;
constexpr quint32 kVersion = 0x01010001;
constexpr char kDataName[] = "package.dat";
constexpr char kImagesDir[] = "images";

struct Header;

// "images/<imgid>.jpg": where a record's picture lies inside the package.
QString picturePath(qint64 imgid);

// What a package may hold, derived from the format. An import sends every record through
// camlink's fixed fields (63 bytes of UTF-8 for identifiers, names and texts, 4095 for the
// feature, 255 for URL and model version), so longer texts never travel; a UTF-8 byte is at
// least one UTF-16 unit, so each text takes at most 4 + 2 * width bytes in "package.dat".
// Pictures passed the camera's upload limit.
constexpr qint32 kMaxRecords = 50000;  // the largest library a package is made of
constexpr qint64 textBytes(qint64 units) {
    return 4 + 2 * units;
}
constexpr qint64 kShortText = 63;
constexpr qint64 kFeatureText = 4095;
constexpr qint64 kLongText = 255;
constexpr qint64 kPathText = 7 + 20 + 4;  // "images/" + a 64-bit number + ".jpg"
constexpr qint64 kMaxHeaderBytes = 4 + 4 + 2 * textBytes(kShortText) + 4 * 4;
constexpr qint64 kMaxRecordBytes = 8 + textBytes(kShortText) * 2 + 4 + textBytes(kShortText) * 5 +
                                   4 + textBytes(kFeatureText) + textBytes(kPathText) +
                                   textBytes(kLongText) + 8 + textBytes(kLongText);
constexpr qint64 kMaxDataBytes = kMaxHeaderBytes + kMaxRecords * kMaxRecordBytes;
constexpr qint64 kMaxPictureBytes = kImageMaxBytes;
constexpr qint64 kMaxPackageBytes = kMaxDataBytes + kMaxRecords * kMaxPictureBytes;

// Size of "package.dat" for these records, counting a picture path for every record that has
// a picture or a URL to fetch one from.
qint64 dataBytes(const Header& header, const SFeatrueList& records);
// Whether an import will take a package of these records: count and "package.dat" in bounds.
bool fitsPackage(const Header& header, const SFeatrueList& records);

struct Header {
    QString libid;
    QString name;
    qint32 threshold = 0;
    qint32 imgnum = 0;  // number of records that follow
    qint32 errornum = 0;
    qint32 extractnum = 0;

    static Header fromLibrary(const SDBInfo& library);
    SDBInfo toLibrary() const;
};

struct Contents {
    Header header;
    SFeatrueList records;
};

enum class ReadStatus {
    Ok,
    NotReadable,   // the file could not be opened
    BadMagic,      // not a package
    WrongVersion,  // a package of another version
    Damaged,       // shorter than announced, or a field that cannot be right
};
const char* readStatusText(ReadStatus status);
// The job result code of a read: 0, 8 (not readable, not a package, damaged) or 15 (version).
int resultCode(ReadStatus status);

using StepFn = std::function<void()>;
using HeaderFn = std::function<void(const Header&)>;

// Writes the header (imgnum = number of records) and the records. The feature is written as
// an empty text unless status is 1; an empty path is written as a null text. onRecord runs
// after each record. False when the device refused the data.
bool write(QIODevice& out, const Header& header, const SFeatrueList& records,
           const StepFn& onRecord = {});
bool writeFile(const QString& path, const Header& header, const SFeatrueList& records,
               const StepFn& onRecord = {});

// Reads a whole package into out (replacing its contents). Picture paths stay as stored,
// relative to the package root; one that could point outside it makes the package damaged.
// ext lists are padded to SFeatrueInfo::kExtCount texts. onHeader runs once the header is read
// and checked (so a job can split its band by imgnum), onRecord after each record.
ReadStatus read(QIODevice& in, Contents& out, const HeaderFn& onHeader = {},
                const StepFn& onRecord = {});
ReadStatus readFile(const QString& path, Contents& out, const HeaderFn& onHeader = {},
                    const StepFn& onRecord = {});

// Turns each non-empty stored path into rootDir + "/" + path; empty paths become empty.
void resolvePicturePaths(SFeatrueList& records, const QString& rootDir);

}  // namespace package
