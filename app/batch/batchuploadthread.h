// Uploads a list of checked pictures into one library of one camera. Started by the batch
// upload (stopped through the cancel entry of "ip/library name") or by the library page
// (stopped through the global stop flag).
#pragma once

#include <QVector>

#include "batchthread.h"

class BatchUploadThread : public BatchThread {
    Q_OBJECT
public:
    BatchUploadThread(const SDeviceInfo& device, const SDBInfo& library,
                      const QVector<SFeatrueInfo>& images, bool perCameraStop,
                      QObject* parent = nullptr);

    // uploadedCount() is the number of pictures the camera accepted.
    const SDBInfo& library() const { return library_; }
    int imageCount() const { return images_.size(); }

signals:
    void signalProgress(const QString& key, int val, int total);

protected:
    void run() override;
    // One row per picture.
    QVector<reports::ReportRow> reportRows() const override;

private:
    const SDBInfo library_;
    const QVector<SFeatrueInfo> images_;
    // The camera's code for each picture; kNotReached for those the upload never got to.
    static constexpr int kNotReached = -1000000;
    QVector<int> outcomes_;
};
