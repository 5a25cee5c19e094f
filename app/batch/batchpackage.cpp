#include "batchpackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dbutil/errortext.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/packagefile.h"
#include "dbutil/packagejob.h"

namespace {

// Left in every work directory the program made. The start-up goes on when it cannot make the
// program's directory the current one, so "temp" may be the user's own: only a marked one is
// ever emptied.
const char kMarkName[] = ".facekeeper-batch";

bool isMarked(const QString& dir) {
    const QFileInfo mark(dir + "/" + kMarkName);
    return mark.isFile() && !mark.isSymLink();
}

// A fresh, marked work directory in place of a marked one or of nothing; false when "temp"
// is something the program did not make (a link, a file, a foreign directory).
bool prepareWorkDir(const QString& dir) {
    const QFileInfo info(dir);
    if (info.isSymLink() || info.isFile()) return false;
    if (info.isDir()) {
        if (!isMarked(dir)) return false;
        if (!QDir(dir).removeRecursively()) return false;
    }
    if (!QDir().mkpath(dir + "/" + package::kImagesDir)) return false;
    QFile mark(dir + "/" + kMarkName);
    return mark.open(QIODevice::WriteOnly);
}

}  // namespace

QString batchWorkDir() {
    return QDir::currentPath() + "/temp";
}

int unpackBatchPackage(const QString& file) {
    TaskScope task(JobControl::UnpackPackage);
    const QString dir = batchWorkDir();
    if (!prepareWorkDir(dir)) {
        PACKAGE_LOG("[import failed]. work directory not usable: %s\n",
                    QFile::encodeName(dir).constData());
        return resultcode::WorkDirForeign;
    }
    const int code = packagejob::unpack(file, dir, {}, [] { return JobControl::exitRequested(); });
    return code == resultcode::Ok || packagejob::isSizeRefusal(code) ? code
                                                                     : resultcode::PackageInvalid;
}

QString batchPackageFailureText(int result) {
    if (result == resultcode::PackageInvalid)
        return QCoreApplication::translate("BatchImportDlg", "zip file is invalid.");
    return ErrorText(result);
}
