// Steps shared by the package import of one camera and the batch import of many: unpacking a
// package into a work directory, reading its "package.dat" and creating the library.
#pragma once

#include <QString>
#include <functional>

#include "records.h"
#include "zipreader.h"

class ProgressReporter;

namespace packagejob {

// Result codes of the steps.
constexpr int kOk = 0;
constexpr int kFileError = 8;
constexpr int kLibraryError = 7;
constexpr int kNotAllUploaded = 10;
constexpr int kOpenFailed = 14;
constexpr int kIncompatible = 15;
constexpr int kWorkDirError = 23;  // also: the library could not be unlocked after an export
constexpr int kTooLarge = 24;      // beyond what a package can hold
constexpr int kNoDiskSpace = 25;   // the unpacked package would not fit on the disk

// Program-log lines of the package jobs (level 6); texts from files only as arguments.
void log(const char* source, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
#define PACKAGE_LOG(...) packagejob::log("dbutil\\dbexportimport", __LINE__, __VA_ARGS__)

// Unpacks every file entry of the zip below dir (which must exist, with its "images"
// sub-directory). Names that could land outside dir, damaged entries and archives that do not
// open give kOpenFailed; an archive beyond a package's bounds kTooLarge, and one larger than
// the free space of dir's disk kNoDiskSpace, both before anything is written and each with its
// own log line. progress(done, total) runs after each entry; stop, asked before each, ends it
// with kOpenFailed.
int unpack(const QString& zipPath, const QString& dir,
           const std::function<void(int, int)>& progress = {},
           const std::function<bool()>& stop = {});
inline bool isSizeRefusal(int code) {
    return code == kTooLarge || code == kNoDiskSpace;
}
// The limits of a package archive unpacked into dir.
ZipLimits packageLimits(const QString& dir);

// Reads dir/"package.dat" into library and records, with each stored picture path turned into
// a file below dir. kFileError (missing, not a package, damaged) or kIncompatible (version).
// With a reporter, the stage [begin, end] advances one step per record.
int readPackage(const QString& dir, SDBInfo* library, SFeatrueList* records,
                ProgressReporter* progress, int begin, int end, bool logWords);

// Refreshes the camera's library list, then creates the library (its libid becomes the
// camera's new one). kOk or kLibraryError.
int createLibrary(SDeviceInfo* device, SDBInfo* library);

}  // namespace packagejob
