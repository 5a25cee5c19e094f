// The batch work directory: one package unpacked once for all cameras of a batch import.
#pragma once

#include <QString>

#include "dbutil/resultcode.h"

// Current directory + "/temp"; the pictures lie in its "images" sub-directory.
QString batchWorkDir();

// Empties the batch work directory (re-creating it and "images" inside) and unpacks the package
// file into it. A resultcode: Ok, PackageInvalid when the zip does not open or an entry is
// refused (unsafe name, damaged, not writable) or the program closes meanwhile,
// PackageTooLarge or NoDiskSpace when refused for its size, or WorkDirForeign when "temp" is
// there but was not made by the program (it is left alone). Blocking: run it on a pool thread.
int unpackBatchPackage(const QString& file);

// The warning text for a failed unpack.
QString batchPackageFailureText(int result);
