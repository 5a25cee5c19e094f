// Saves one face library of a camera into a package file, on a thread of its own: lock the
// library, read its record, its image records page by page and their pictures, unlock, then
// write "package.dat" and the zip from a temporary work directory.
#pragma once

#include <QTemporaryDir>
#include <QThread>
#include <memory>

#include "progressreporter.h"
#include "records.h"

class DbExportModule : public QThread {
    Q_OBJECT
public:
    DbExportModule(const SDeviceInfo& device, const QString& libid, QObject* parent = nullptr);
    ~DbExportModule() override;

    // The zip to write; "fdb_export_<ip>_<libid>.zip" when left empty.
    void setSavePath(const QString& path) { savePath_ = path; }
    QString savePath() const { return savePath_; }

    // Read after the thread has finished: 0, or 8, 5, 7, 23, 10, or 19 when the camera stopped
    // answering part way (no archive is written then).
    int errorCode() const { return errorCode_; }
    int exportedCount() const { return exportedCount_; }
    int expectedCount() const { return expectedCount_; }
    // Pictures written into the package, and "name: reason" for each record whose picture was
    // left out (each also a program-log line).
    int pictureCount() const { return pictureCount_; }
    const QStringList& leftOut() const { return leftOut_; }

    // Rows of records per page for a library of imgnum images: imgnum / 10 within [10, 20].
    static int pageSizeFor(int imgnum);

signals:
    void signalProgress(int val, int total);

protected:
    void run() override;

private:
    bool prepareWorkDir();
    bool getFdbInfo();
    void fetchRecords();
    void fetchImages();
    bool writePackage();
    bool packZip();
    // Empty when the picture was stored, else why not.
    QString fetchPicture(SFeatrueInfo& record);

    SDeviceInfo device_;
    int errorCode_ = 0;
    int exportedCount_ = 0;
    int expectedCount_ = 0;
    int pictureCount_ = 0;
    QStringList leftOut_;
    bool localFailure_ = false;  // a file of the work directory could not be written
    bool cameraLost_ = false;    // the camera stopped answering: the package would be partial
    std::unique_ptr<QTemporaryDir> workDir_;
    QString workPath_;
    SDBInfo library_;
    SFeatrueList records_;
    QString savePath_;
    ProgressReporter progress_;
};
