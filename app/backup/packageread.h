// Reads a package of the backup (plain or sealed) with the program's package reader into a
// private temporary directory, and the MD5 of each picture in it.
#pragma once

#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "dbutil/records.h"
#include "digest.h"

namespace backup {

namespace sealing {
struct KeyPair;
}

struct OpenedPackage {
    SDBInfo library;
    SFeatrueList records;              // picture paths point into the temporary directory
    PictureDigests pictureMd5;  // records that carry a picture
    std::unique_ptr<QTemporaryDir> dir;

    SFeatrueInfoPtr find(qint64 imgid) const;
};

// keys may be null for plain packages; a sealed one then fails with a note that it needs one.
bool openPackage(const QString& path, const sealing::KeyPair* keys, OpenedPackage* out,
                 QString* error);

}  // namespace backup
