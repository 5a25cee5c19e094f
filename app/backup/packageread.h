// Reads a package of the backup (plain or sealed) with the program's package reader, and the MD5
// of each picture in it. Pictures are hashed entry by entry as they inflate; only a restore,
// which uploads them, unpacks them into a private temporary directory.
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
    SFeatrueList records;  // with Pictures::Unpack, picture paths point into the temporary directory
    PictureDigests pictureMd5;  // records that carry a picture
    std::unique_ptr<QTemporaryDir> dir;

    SFeatrueInfoPtr find(qint64 imgid) const;
};

enum class Pictures { Hash, Unpack };

// keys may be null for plain packages; a sealed one then fails with a note that it needs one.
bool openPackage(const QString& path, const sealing::KeyPair* keys, OpenedPackage* out,
                 QString* error, Pictures pictures = Pictures::Hash);

}  // namespace backup
