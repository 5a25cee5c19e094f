#include "batchextractthread.h"

#include "batchprogress.h"
#include "dbutil/interaction.h"

BatchExtractThread::BatchExtractThread(const SDeviceInfo& device, const SDBInfo& library,
                                       QObject* parent)
    : BatchThread(device, batch::libraryKey(device.ip, library.name), "batchextractthread", parent),
      library_(library) {
    connect(this, &BatchExtractThread::signalProgress, this, &BatchExtractThread::forwardCounted,
            Qt::DirectConnection);
}

void BatchExtractThread::run() {
    BATCH_LOG("extract start...\n");
    emit signalProgress(key(), 0, library_.imgnum);
    const bool started = Interaction::instance().extractFeature(
        device_, library_.libid, &total_, &extracted_, &errors_,
        [this](int extracted, int errors, int total) {
            emit signalProgress(key(), extracted + errors, total);
            return stopRequested();
        });
    if (!started) errorCode_ = resultcode::NotDone;
    BATCH_LOG("extract finished.\n");
    record();
}

QVector<reports::ReportRow> BatchExtractThread::reportRows() const {
    return {outcomeRow(library_)};
}
