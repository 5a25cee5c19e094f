#include "batchpackage.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dbutil/packagefile.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/packagejob.h"

namespace {

// A link or a file named "temp" is removed itself: emptying it would reach whatever it names.
void removeWorkDir(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        QFile::remove(path);
    else if (info.isDir())
        QDir(path).removeRecursively();
}

}  // namespace

QString batchWorkDir() {
    return QDir::currentPath() + "/temp";
}

int unpackBatchPackage(const QString& file) {
    TaskScope task(JobControl::UnpackPackage);
    const QString dir = batchWorkDir();
    removeWorkDir(dir);
    QDir().mkpath(dir + "/" + package::kImagesDir);
    const int code = packagejob::unpack(file, dir, {}, [] { return JobControl::exitRequested(); });
    return code == packagejob::kOk ? 0 : kBatchPackageInvalid;
}
