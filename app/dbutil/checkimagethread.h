// Checks every file of a directory against the upload rules on a thread of its own
// and turns the usable ones into image records. Read the results after finished().
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>
#include <QThread>
#include <QVector>
#include <atomic>

#include "records.h"

class CheckImageThread : public QThread {
    Q_OBJECT
public:
    static constexpr int kNameLength = 20;  // image names are cut to this many characters

    explicit CheckImageThread(const QString& directory, QObject* parent = nullptr);
    // The record of a usable file: named after it (cut to kNameLength), its absolute path.
    static SFeatrueInfo imageRecord(const QString& path);
    // Stops the check and waits for it: a running thread is never destroyed.
    ~CheckImageThread() override;
    // The check ends before its next file, as it does once the program is closing. Any thread.
    void stop() { stop_.store(true); }

    QString directory() const { return directory_; }
    // The directory's files of the last run, in listing order.
    const QStringList& fileNames() const { return fileNames_; }
    // One record per usable file (name and absolute path set), in listing order.
    const QVector<SFeatrueInfo>& images() const { return images_; }
    // Number of rejected files per result code, ordered by code.
    const QMap<int, int>& errorCounts() const { return errorCounts_; }
    // ErrorText(code) + ": " + count + "\n" for each code in ascending order.
    QString summary() const;

protected:
    void run() override;

private:
    const QString directory_;
    QStringList fileNames_;
    QVector<SFeatrueInfo> images_;
    QMap<int, int> errorCounts_;
    std::atomic<bool> stop_{false};
};
