// The batch work directory: one package unpacked once for all cameras of a batch import.
#pragma once

#include <QString>

// Current directory + "/temp"; the pictures lie in its "images" sub-directory.
QString batchWorkDir();

constexpr int kBatchPackageInvalid = -3;
constexpr int kBatchPackageTooLarge = -4;  // beyond a package's bounds
constexpr int kBatchPackageNoSpace = -5;   // larger than the free space of the disk
constexpr int kBatchWorkDirForeign = -6;   // "temp" exists and is not the program's

// Empties the batch work directory (re-creating it and "images" inside) and unpacks the package
// file into it. 0, kBatchPackageInvalid when the zip does not open or an entry is refused
// (unsafe name, damaged, not writable) or the program closes meanwhile, one of the two
// refusals for size, or kBatchWorkDirForeign when "temp" is there but was not made by the
// program (it is left alone). Blocking: run it on a pool thread.
int unpackBatchPackage(const QString& file);

// The warning text for a failed unpack, in the batch import dialog's context.
QString batchPackageFailureText(int result);
