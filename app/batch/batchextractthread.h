// Runs the feature extraction of one library of one camera and follows it until it ends or the
// cancel entry of the key "ip/library name" is set.
#pragma once

#include "batchthread.h"

class BatchExtractThread : public BatchThread {
    Q_OBJECT
public:
    BatchExtractThread(const SDeviceInfo& device, const SDBInfo& library,
                       QObject* parent = nullptr);

    // errorCode() is 0, or NotDone when the extraction could not be started. The counters are the
    // library's at the last poll.
    const SDBInfo& library() const { return library_; }
    int total() const { return total_; }
    int extracted() const { return extracted_; }
    int errors() const { return errors_; }

signals:
    // val counts the pictures done, extracted or failed.
    void signalProgress(const QString& key, int val, int total);

protected:
    void run() override;
    // One row for the library.
    QVector<reports::ReportRow> reportRows() const override;

private:
    const SDBInfo library_;
    int total_ = 0;
    int extracted_ = 0;
    int errors_ = 0;
};
