#include "batchuploadthread.h"

#include "batchprogress.h"
#include "dbutil/interaction.h"
#include "dbutil/resultcode.h"

#include <algorithm>

BatchUploadThread::BatchUploadThread(const SDeviceInfo& device, const SDBInfo& library,
                                     const QVector<SFeatrueInfo>& images, bool perCameraStop,
                                     QObject* parent)
    : BatchThread(device, batch::libraryKey(device.ip, library.name), "batchuploadthread", parent),
      library_(library),
      images_(images) {
    pollGlobalStop(!perCameraStop);
    connect(this, &BatchUploadThread::signalProgress, this, &BatchUploadThread::forwardCounted,
            Qt::DirectConnection);
}

void BatchUploadThread::run() {
    BATCH_LOG("upload start...\n");
    const int count = images_.size();
    emit signalProgress(key(), 0, count);
    // The upload writes identifiers into the records: every thread gets copies of its own.
    SFeatrueList images;
    images.reserve(count);
    for (const SFeatrueInfo& image : images_)
        images.append(SFeatrueInfoPtr::create(image));
    outcomes_.fill(kNotReached, count);
    uploadedCount_ = Interaction::instance().addImages(
        device_, library_.libid, images,
        [this, count](int uploaded) {
            emit signalProgress(key(), uploaded, count);
            return stopRequested();
        },
        [this](int index, int code) { outcomes_[index] = code; });
    BATCH_LOG("upload finished.\n");
    record();
}

QVector<reports::ReportRow> BatchUploadThread::reportRows() const {
    // A picture never reached was cancelled, or left behind by a camera that stopped answering
    // (some reached) or refused the login (none reached).
    const bool stopped = errorCode_ == resultcode::NeverStarted || stopRequested();
    const bool anyReached =
        std::any_of(outcomes_.begin(), outcomes_.end(), [](int code) { return code != kNotReached; });
    const int unreachedCode = anyReached ? resultcode::NetworkError : resultcode::LoginFailed;
    QVector<reports::ReportRow> rows;
    rows.reserve(images_.size());
    for (int i = 0; i < images_.size(); ++i) {
        reports::ReportRow item = row(library_);
        item.file = images_.at(i).path;
        const int code = outcomes_.value(i, kNotReached);
        if (code == resultcode::Ok)
            rows << reports::storedRow(item);
        else if (code != kNotReached)
            rows << reports::failedRow(item, code);
        else
            rows << (stopped ? reports::skippedRow(item) : reports::failedRow(item, unreachedCode));
    }
    return rows;
}
