// The batch work directory: one package unpacked once for all cameras of a batch import.
#pragma once

#include <QString>

// Current directory + "/temp"; the pictures lie in its "images" sub-directory.
QString batchWorkDir();

constexpr int kBatchPackageInvalid = -3;

// Empties the batch work directory (re-creating it and "images" inside) and unpacks the package
// file into it. 0, or kBatchPackageInvalid when the zip does not open or an entry is refused
// (unsafe name, too large, damaged, not writable), or when the program closes meanwhile.
// Blocking: run it on a pool thread.
int unpackBatchPackage(const QString& file);
