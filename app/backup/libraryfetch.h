// Reads one face library of a camera through Interaction: its record, its records page by page
// and, into a work directory, their pictures.
#pragma once

#include <QMap>
#include <QString>
#include <functional>

#include "dbutil/records.h"
#include "digest.h"

namespace backup {

struct FetchResult {
    bool ok = false;
    QString reason;  // why not, for the manifest
};

// How the records are read: whole, features included, as a package holds them; or their
// listing (identifiers, texts, picture URL), in the larger pages the library page asks for,
// which is all a comparison needs: a library of 2,000 costs 20 requests instead of 100.
enum class RecordForm { Whole, Listing };

// Fills library (by its libid) and records. Fails when the camera stops answering or the
// library changed size while it was read (read again on the next run).
FetchResult fetchRecords(const SDeviceInfo& device, SDBInfo* library, SFeatrueList* records,
                         RecordForm form = RecordForm::Whole);

// Each page as it is read, for a reader that keeps only part of each record; false stops the
// reading, which then fails.
using PageSink = std::function<bool(const SFeatrueList& page)>;
FetchResult fetchRecordPages(const SDeviceInfo& device, SDBInfo* library, RecordForm form,
                             const PageSink& sink);

struct FetchedPictures {
    PictureDigests md5;  // of the pictures written
    int missing = 0;     // records with a URL whose picture the camera did not give
    qint64 bytes = 0;
};

// Downloads each record's picture to workDir/images/<imgid>.jpg and sets its path (relative to
// workDir, as a package stores it). progress(done, total) after each record; stop() is asked
// between pictures.
FetchResult fetchPictures(const SDeviceInfo& device, SFeatrueList& records, const QString& workDir,
                          FetchedPictures* out, const std::function<void(int, int)>& progress,
                          const std::function<bool()>& stop);

}  // namespace backup
