#include "batchuploadthread.h"

#include "batchprogress.h"
#include "dbutil/interaction.h"

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
    uploadedCount_ = Interaction::instance().addImages(
        device_, library_.libid, images, [this, count](int uploaded) {
            emit signalProgress(key(), uploaded, count);
            return stopRequested();
        });
    BATCH_LOG("upload finished.\n");
}
