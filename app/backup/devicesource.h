// The cameras a run works on: the program's device store (default), another store file
// (--devices) or a CSV list (--csv) of "address,user,password" lines.
#pragma once

#include <QString>
#include <QVector>

#include "dbutil/records.h"

namespace backup {

// The device store the program itself uses: its data directory once installed, else the
// working directory.
QString defaultStorePath();

// storeFile or csvFile (at most one non-empty; both empty: the default store). Cameras listed
// twice are kept once. False with a reason when the file cannot be read or a line is bad.
bool loadDevices(const QString& storeFile, const QString& csvFile, QVector<SDeviceInfo>* out,
                 QString* error);

}  // namespace backup
