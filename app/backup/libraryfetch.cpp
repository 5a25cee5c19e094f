#include "libraryfetch.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <algorithm>

#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/packagefile.h"
#include "digest.h"

namespace backup {
namespace {

constexpr int kPageSize = 20;      // the largest page of whole records the program asks for
constexpr int kListingPage = 100;  // the largest page the library page lists
// Pictures in a row the camera failed to give before it counts as gone: one bad picture is
// skipped, a camera that stopped answering must not cost a time-out per record.
constexpr int kFailuresInARow = 3;

Interaction& camera() {
    return Interaction::instance();
}

FetchResult failure(const QString& reason) {
    return {false, reason};
}

QString cameraReason(const char* step, int code) {
    return QString("%1: %2 (%3)").arg(QLatin1String(step), ErrorText(code)).arg(code);
}

// One page of records in the form asked for; 0 or the camera's code.
int readPage(Interaction::PageReader* reader, SPageInfo* request, SFeatrueList* got,
             RecordForm form) {
    return form == RecordForm::Whole ? reader->exportRecords(request, got)
                                     : reader->list(request, got);
}

}  // namespace

FetchResult fetchRecordPages(const SDeviceInfo& device, SDBInfo* library, RecordForm form,
                             const PageSink& sink) {
    if (!camera().getFaceDB(device, library)) return failure("the library could not be read");
    const int expected = library->imgnum;
    if (expected < 0 || expected > package::kMaxRecords)
        return failure(QString("the camera announces %1 records").arg(expected));
    SPageInfo request;
    request.libid = library->libid;
    const int pageSize = form == RecordForm::Whole ? kPageSize : kListingPage;
    request.page_size = pageSize;
    const int pages = (expected + pageSize - 1) / pageSize;
    QVector<qint64> seen;  // a sorted vector, not a set: read beside many other libraries
    seen.reserve(expected);
    Interaction::PageReader reader(device);
    for (int page = 1; page <= pages; ++page) {
        request.page_num = page;
        SFeatrueList got;
        const int code = readPage(&reader, &request, &got, form);
        if (code != 0) return failure(cameraReason("reading records", code));
        if (seen.size() + got.size() > expected) return failure("more records than announced");
        for (const SFeatrueInfoPtr& record : qAsConst(got))
            seen << record->imgid;
        if (!sink(got)) return failure("stopped");
    }
    SDBInfo after = *library;
    if (!camera().getFaceDB(device, &after) || after.imgnum != expected || seen.size() != expected)
        return failure("the library changed while it was read; it is read again next run");
    // A camera that repeats a record on two pages would make the package unreadable.
    std::sort(seen.begin(), seen.end());
    const auto twice = std::adjacent_find(seen.cbegin(), seen.cend());
    if (twice != seen.cend())
        return failure(QString("the camera gave record %1 twice").arg(*twice));
    return {true, {}};
}

FetchResult fetchRecords(const SDeviceInfo& device, SDBInfo* library, SFeatrueList* records,
                         RecordForm form) {
    records->clear();
    return fetchRecordPages(device, library, form, [records](const SFeatrueList& page) {
        *records += page;
        return true;
    });
}

FetchResult fetchPictures(const SDeviceInfo& device, SFeatrueList& records, const QString& workDir,
                          FetchedPictures* out, const std::function<void(int, int)>& progress,
                          const std::function<bool()>& stop) {
    const QDir dir(workDir);
    int done = 0;
    int inARow = 0;
    for (const SFeatrueInfoPtr& record : qAsConst(records)) {
        record->path.clear();
        if (stop && stop()) return failure("stopped");
        if (!record->url.isEmpty()) {
            Protocol::MsgImageData data;
            data.url = record->url;
            const int code = camera().getImage(device, &data);
            const QByteArray bytes = data.bytes();
            const bool usable =
                code == 0 && !bytes.isEmpty() && bytes.size() <= package::kMaxPictureBytes;
            inARow = usable ? 0 : inARow + 1;
            if (inARow == kFailuresInARow)
                return failure("the camera stopped giving pictures part way");
            if (!usable) {
                ++out->missing;
            } else {
                const QString path = package::picturePath(record->imgid);
                QFile file(dir.filePath(path));
                if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
                    file.write(bytes) != bytes.size() || !file.flush())
                    return failure(QString("cannot write pictures: %1").arg(file.errorString()));
                record->path = path;
                out->md5.insert(record->imgid, Md5::of(bytes));
                out->bytes += bytes.size();
            }
        }
        if (progress) progress(++done, records.size());
    }
    return {true, {}};
}

}  // namespace backup
