// "package.dat": the library header and the image records of a package, as a big-endian
// QDataStream with default settings.
#pragma once

#include <QString>
#include <functional>

#include "records.h"

class QIODevice;

namespace package {

constexpr quint32 kMagic = 0xAA000001;
constexpr quint32 kVersion = 0x01010001;
constexpr char kDataName[] = "package.dat";
constexpr char kImagesDir[] = "images";

// "images/<imgid>.jpg": where a record's picture lies inside the package.
QString picturePath(qint64 imgid);

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
