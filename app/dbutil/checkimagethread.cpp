#include "checkimagethread.h"

#include <QDir>
#include <QFileInfo>

#include "applog.h"
#include "errortext.h"
#include "exitgrace.h"
#include "inputcheck.h"
#include "jobcontrol.h"

CheckImageThread::CheckImageThread(const QString& directory, QObject* parent)
    : QThread(parent), directory_(directory) {}

CheckImageThread::~CheckImageThread() {
    stop();
    exitgrace::join(this);
}

void CheckImageThread::run() {
    TaskScope task(JobControl::CheckImage);
    fileNames_.clear();
    images_.clear();
    errorCounts_.clear();

    const QDir dir(directory_);
    fileNames_ = dir.entryList(QDir::Files, QDir::NoSort);
    for (const QString& fileName : qAsConst(fileNames_)) {
        if (stop_.load() || JobControl::exitRequested()) break;
        const int code = checkImageFile(fileName, directory_);
        if (code != 0) {
            ++errorCounts_[code];
            FK_LOG("dbutil\\devicecontrol", 3, "error code: %d, message: %s, filename: %s.\n", code,
                   ErrorText(code).toUtf8().constData(), fileName.toUtf8().constData());
            continue;
        }
        images_.append(imageRecord(dir.filePath(fileName)));
    }
}

SFeatrueInfo CheckImageThread::imageRecord(const QString& path) {
    const QFileInfo info(path);
    SFeatrueInfo image;
    image.name = firstCharacters(info.completeBaseName(), kNameLength);
    image.path = info.absoluteFilePath();
    return image;
}

QString CheckImageThread::summary() const {
    QString text;
    for (auto it = errorCounts_.constBegin(); it != errorCounts_.constEnd(); ++it)
        text += ErrorText(it.key()) + QStringLiteral(": ") + QString::number(it.value()) + "\n";
    return text;
}
