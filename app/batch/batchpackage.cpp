#include "batchpackage.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "dbutil/packagefile.h"
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
    const QString dir = batchWorkDir();
    removeWorkDir(dir);
    QDir().mkpath(dir + "/" + package::kImagesDir);
    switch (packagejob::unpack(file, dir)) {
        case packagejob::kOk:
            return 0;
        case packagejob::kTooLarge:
            return kBatchPackageTooLarge;
        case packagejob::kNoDiskSpace:
            return kBatchPackageNoSpace;
        default:
            return kBatchPackageInvalid;
    }
}

QString batchPackageFailureText(int result) {
    switch (result) {
        case kBatchPackageTooLarge:
            return QCoreApplication::translate("BatchImportDlg", "The package is too large.");
        case kBatchPackageNoSpace:
            return QCoreApplication::translate("BatchImportDlg",
                                               "Not enough free disk space to unpack the package.");
        default:
            return QCoreApplication::translate("BatchImportDlg", "zip file is invalid.");
    }
}
