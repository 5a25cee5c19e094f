#include "dbexportmodule.h"

#include <QBuffer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QUuid>
#include <algorithm>
#include <cstdio>

#include "errortext.h"
#include "exitgrace.h"
#include "inputcheck.h"
#include "interaction.h"
#include "jobcontrol.h"
#include "packagefile.h"
#include "packagejob.h"
#include "zipwriter.h"

namespace {

Interaction& camera() {
    return Interaction::instance();
}

// A camera's text as part of a file name: letters, digits, ".", "-" and "_" only, so that it
// can neither leave the directory nor name a device.
QString fileNamePart(const QString& text) {
    QString part = text;
    for (QChar& c : part) {
        const bool safe =
            (c.unicode() < 0x80 && c.isLetterOrNumber()) || c == '.' || c == '-' || c == '_';
        if (!safe) c = QLatin1Char('_');
    }
    return part;
}

// Reads the declared size before decoding: a few bytes can announce a picture of gigabytes.
// Pictures beyond what the camera takes for upload are refused.
bool isUsablePicture(const QByteArray& bytes) {
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kImageMaxWidth || size.height() > kImageMaxHeight)
        return false;
    QImage picture;
    return reader.read(&picture);
}

}  // namespace

DbExportModule::DbExportModule(const SDeviceInfo& device, const QString& libid, QObject* parent)
    : QThread(parent), device_(device) {
    library_.libid = libid;
    // Emitted on the job's thread; the owner receives it queued.
    connect(
        &progress_, &ProgressReporter::signalProgress, this,
        [this](int val) { emit signalProgress(val, 100); }, Qt::DirectConnection);
}

DbExportModule::~DbExportModule() {
    exitgrace::join(this);
    if (workDir_) exitgrace::forgetPath(workDir_->path());
}

int DbExportModule::pageSizeFor(int imgnum) {
    return std::min(std::max(imgnum / 10, 10), 20);
}

bool DbExportModule::prepareWorkDir() {
    workDir_ = std::make_unique<QTemporaryDir>();
    bool ok = workDir_->isValid();
    if (!ok) {
        qCritical() << "temporary dir create failed";
    } else {
        workPath_ = workDir_->path();
        exitgrace::keepPath(workPath_);  // an export left behind at exit leaves nothing
        qDebug() << workPath_;
        if (!QDir(workPath_).exists()) {
            qCritical() << "temporary dir not exist.";
            ok = false;
        } else if (!QDir(workPath_).mkdir(package::kImagesDir)) {
            qCritical() << "imgSubDir make failed.";
            ok = false;
        }
    }
    if (!ok) {
        qCritical() << "destination dir create failed";
        errorCode_ = resultcode::FileError;
    }
    return ok;
}

bool DbExportModule::getFdbInfo() {
    progress_.beginStage(0, 5, 1);
    if (camera().getFaceDB(device_, &library_)) {
        expectedCount_ = library_.imgnum;
        return true;
    }
    qDebug() << "DbExportModule::getFdbInfo"
             << "get face db failed.";
    errorCode_ = resultcode::LibraryError;
    return false;
}

void DbExportModule::fetchRecords() {
    records_.clear();
    const int pageSize = pageSizeFor(library_.imgnum);
    const int pages = (library_.imgnum + pageSize - 1) / pageSize;
    progress_.beginStage(5, 20, pages);
    SPageInfo request;
    request.libid = library_.libid;
    request.page_size = pageSize;
    for (int page = 1; page <= pages && !cameraLost_; ++page) {
        request.page_num = page;
        SFeatrueList got;
        const int code = camera().exportFaceDB(device_, &request, &got);
        if (code != 0)
            qWarning() << "some error happend during exporting facedb: " << page;
        else
            records_ += got;
        cameraLost_ = cameraLost_ || isTransferError(code);
        progress_.step();
    }
    exportedCount_ = records_.size();
    library_.imgnum = exportedCount_;
    errorCode_ = 0;
}

// Downloads one record's picture into the work directory. A picture the camera cannot give, or
// one an import would refuse, leaves the record without one; a picture that cannot be stored
// locally (disk full) spoils the whole package, so it is remembered as a local failure.
QString DbExportModule::fetchPicture(SFeatrueInfo& record) {
    Protocol::MsgImageData data;
    data.url = record.url;
    const int code = camera().getImage(device_, &data);
    if (code != 0) return QString("download failed, code %1").arg(code);
    const QByteArray& bytes = data.imageData;
    if (bytes.size() > package::kMaxPictureBytes)
        return QString("picture of %1 bytes, over %2").arg(bytes.size()).arg(kImageMaxBytes);
    if (!isUsablePicture(bytes))
        return QString("picture not readable or over %1 x %2 pixels")
            .arg(kImageMaxWidth)
            .arg(kImageMaxHeight);
    const QString path = package::picturePath(record.imgid);
    QFile file(QDir(workPath_).filePath(path));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        localFailure_ = true;
        return QString("picture not written to the work directory");
    }
    record.path = path;
    ++pictureCount_;
    return {};
}

void DbExportModule::fetchImages() {
    progress_.beginStage(20, 80, records_.size());
    for (const SFeatrueInfoPtr& record : qAsConst(records_)) {
        if (!record->url.isEmpty() && !localFailure_ && !cameraLost_) {
            const QString problem = fetchPicture(*record);
            if (!problem.isEmpty()) {
                leftOut_.append(record->name + ": " + problem);
                PACKAGE_LOG("picture left out: %s (%s), %s\n", record->name.toUtf8().constData(),
                            record->url.toUtf8().constData(), problem.toUtf8().constData());
            }
        }
        progress_.step();
    }
    errorCode_ = 0;
}

bool DbExportModule::writePackage() {
    progress_.beginStage(80, 90, records_.size() + 1);
    const QString path = QDir(workPath_).filePath(package::kDataName);
    const bool ok = package::writeFile(path, package::Header::fromLibrary(library_), records_,
                                       [this] { progress_.step(); });
    progress_.step();
    return ok;
}

// The archive is written under a temporary name beside the destination and renamed only when
// complete, so a failure never leaves a partial package where the user looks for one.
bool DbExportModule::packZip() {
    progress_.beginStage(90, 100, records_.size() + 1);
    if (savePath_.isEmpty())
        savePath_ = QString("fdb_export_%1_%2.zip")
                        .arg(fileNamePart(device_.ip), fileNamePart(library_.libid));
    const QString partial =
        savePath_ + ".part-" + QUuid::createUuid().toString(QUuid::WithoutBraces).left(8);
    exitgrace::keepPath(partial);
    ZipWriter zip;
    bool ok = zip.open(partial) &&
              zip.addFile(package::kDataName, QDir(workPath_).filePath(package::kDataName));
    for (const SFeatrueInfoPtr& record : qAsConst(records_)) {
        if (ok && !record->path.isEmpty())
            ok = zip.addFile("/" + record->path, QDir(workPath_).filePath(record->path));
        progress_.step();
    }
    ok = zip.close() && ok;
    ok = ok && std::rename(QFile::encodeName(partial).constData(),
                           QFile::encodeName(savePath_).constData()) == 0;
    if (!ok) QFile::remove(partial);
    exitgrace::forgetPath(partial);
    progress_.step();
    return ok;
}

void DbExportModule::run() {
    if (!prepareWorkDir()) return;
    TaskScope task(JobControl::FaceDbExport);
    PACKAGE_LOG("export start...\n");
    if (camera().lockFaceDB(device_, library_.libid) != 0) {
        errorCode_ = resultcode::LibraryLocked;
        PACKAGE_LOG("[export failed]. lock facedb failed.\n");
        return;
    }
    if (!getFdbInfo()) {
        PACKAGE_LOG("[export failed]. get facedb failed.\n");
        camera().unlockFaceDB(device_, library_.libid);
        return;
    }
    fetchRecords();
    // Refused before anything is downloaded or written: an import could not take it back.
    if (!package::fitsPackage(package::Header::fromLibrary(library_), records_)) {
        camera().unlockFaceDB(device_, library_.libid);
        PACKAGE_LOG("[export failed]. library too large for a package: %d records.\n",
                    int(records_.size()));
        errorCode_ = resultcode::PackageTooLarge;
        return;
    }
    fetchImages();
    const int unlocked = camera().unlockFaceDB(device_, library_.libid);
    if (cameraLost_ || isTransferError(unlocked)) {
        PACKAGE_LOG("[export failed]. camera lost, error code %d.\n", unlocked);
        errorCode_ = resultcode::NetworkError;
        return;
    }
    if (unlocked != 0) {
        qCritical() << "unlock_fdb failed";
        PACKAGE_LOG("[export failed]. unlock facedb failed.\n");
        errorCode_ = resultcode::NotDone;
    }
    if (localFailure_ || !writePackage() || !packZip()) {
        PACKAGE_LOG("[export failed]. package not written: %s\n",
                    QFile::encodeName(savePath_).constData());
        errorCode_ = resultcode::FileError;
        return;
    }
    if (exportedCount_ < expectedCount_) errorCode_ = resultcode::NotAllTransferred;
    PACKAGE_LOG("export finished.\n");
}
