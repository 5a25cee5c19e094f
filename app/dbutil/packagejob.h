// Steps shared by the package import of one camera and the batch import of many: unpacking a
// package into a work directory, and loading it into a new library of a camera.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "records.h"
#include "resultcode.h"
#include "zipreader.h"

class ProgressReporter;

namespace packagejob {

// The steps' results are resultcode::Code values. These older names stay for code written
// before them; new code names resultcode's.
constexpr int kOk = resultcode::Ok;
constexpr int kFileError = resultcode::FileError;
constexpr int kLibraryError = resultcode::LibraryError;
constexpr int kNotAllUploaded = resultcode::NotAllTransferred;
constexpr int kOpenFailed = resultcode::OpenFailed;
constexpr int kIncompatible = resultcode::Incompatible;
constexpr int kNetworkError = resultcode::NetworkError;
constexpr int kWorkDirError = resultcode::NotDone;
constexpr int kTooLarge = resultcode::PackageTooLarge;
constexpr int kNoDiskSpace = resultcode::NoDiskSpace;

// Program-log lines of the package jobs (level 6); texts from files only as arguments.
void log(const char* source, int line, const char* format, ...)
    __attribute__((format(printf, 3, 4)));
#define PACKAGE_LOG(...) packagejob::log("dbutil\\dbexportimport", __LINE__, __VA_ARGS__)

// Unpacks every file entry of the zip below dir (which must exist, with its "images"
// sub-directory). Names that could land outside dir, damaged entries and archives that do not
// open give resultcode::OpenFailed; an archive beyond a package's bounds
// resultcode::PackageTooLarge, and one larger than the free space of dir's disk
// resultcode::NoDiskSpace, both before anything is written and each with its own log line; a write
// that fails on the way resultcode::NoDiskSpace too. A picture beyond the upload limit is left out
// with a log line (its record is then skipped by importPackage). progress(done, total) runs after
// each entry; stop, asked before each, ends it with resultcode::OpenFailed.
int unpack(const QString& zipPath, const QString& dir,
           const std::function<void(int, int)>& progress = {},
           const std::function<bool()>& stop = {});
inline bool isSizeRefusal(int code) {
    return code == resultcode::PackageTooLarge || code == resultcode::NoDiskSpace;
}
// The limits of a package archive unpacked into dir.
ZipLimits packageLimits(const QString& dir);
// Bytes free for this process on dir's file system, or -1 when that cannot be told.
qint64 freeBytes(const QString& dir);

// Reads dir/"package.dat" into library and records, with each stored picture path turned into
// a file below dir. resultcode::FileError (missing, not a package, damaged) or
// resultcode::Incompatible (version). With a reporter, the stage [begin, end] advances one step per
// record.
int readPackage(const QString& dir, SDBInfo* library, SFeatrueList* records,
                ProgressReporter* progress, int begin, int end, bool logWords);

// Refreshes the camera's library list, then creates the library (its libid becomes the
// camera's new one). resultcode::Ok or resultcode::LibraryError.
int createLibrary(SDeviceInfo* device, SDBInfo* library);

// Where an import's progress moves: reading over [readBegin, readEnd], creating the library up
// to createEnd, uploading up to 100.
struct ImportBands {
    int readBegin;
    int readEnd;
    int createEnd;
};

// The outcome of importPackage.
struct PackageImport {
    enum Stage { Read, Create, Upload };
    int code = resultcode::Ok;
    Stage stage = Read;   // the stage reached (the failed one when code is not resultcode::Ok)
    SDBInfo library;      // as created on the camera (its new libid)
    int total = 0;        // records in the package
    int uploaded = 0;     // records the camera accepted
    QStringList leftOut;  // "name: reason" for each record not sent
};

// Loads the package unpacked in dir into a new library of device: reads "package.dat", creates
// the library, leaves out each record whose picture is missing or beyond the upload limit (one
// log line each) and uploads the rest. After each accepted record onRecord(uploaded, total)
// runs, the progress steps, and a true from stop ends the upload. code: resultcode::Ok,
// resultcode::FileError or resultcode::Incompatible (Read), resultcode::LibraryError (Create),
// resultcode::NotAllTransferred when fewer than total records were accepted.
PackageImport importPackage(SDeviceInfo* device, const QString& dir, ProgressReporter* progress,
                            const ImportBands& bands, bool logWords,
                            const std::function<void(int uploaded, int total)>& onRecord,
                            const std::function<bool()>& stop);

}  // namespace packagejob
