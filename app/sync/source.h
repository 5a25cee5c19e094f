// What a sync sends: one library (name, threshold), its records by uid and, for each, the MD5 of
// its picture and a local copy of the picture, from a package file or from a library of one
// camera. Records without a uid cannot be matched and are only counted.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "dbutil/records.h"

namespace facesync {

struct Source {
    SDBInfo library;
    SFeatrueList records;  // every one with a uid; path: the picture's local copy, or empty
    QHash<QString, QByteArray> pictureMd5;  // uid -> raw 16-byte MD5 of its picture
    QString label;                          // the package path, or "ADDR:LIBRARY"
    int withoutUid = 0;
    std::shared_ptr<QTemporaryDir> dir;  // holds the local copies of the pictures

    SFeatrueInfoPtr find(const QString& uid) const;

private:
    QHash<QString, int> byUid_;
    friend void indexSource(Source* source);
};

// Drops records without a uid (counting them), keeps the first of a uid given twice, and
// makes find() work; the loaders call it, a source built by hand calls it too.
void indexSource(Source* source);

// A plain package file, unpacked into a temporary directory.
bool loadPackageSource(const QString& path, Source* out, QString* error);

// The library called libraryName on camera, its pictures downloaded (stop() is asked between
// pictures).
bool loadCameraSource(const SDeviceInfo& camera, const QString& libraryName, Source* out,
                      QString* error, const std::function<bool()>& stop = {});

}  // namespace facesync
