// Makes a package from a fetched library and proves it before anyone relies on it: the zip is
// read back with the package reader and must give the same records and picture MD5s.
#pragma once

#include <QMap>
#include <QString>

#include "dbutil/records.h"
#include "digest.h"

namespace backup {

// Writes workDir/package.dat and the zip at zipPath from the pictures below workDir, then
// reads the zip back. zipPath is removed when anything fails.
bool buildPackage(const QString& workDir, const SDBInfo& library, const SFeatrueList& records,
                  const PictureDigests& pictureMd5, const QString& zipPath, QString* error);

}  // namespace backup
