#include "programfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

// The build sets the path from the executable's install directory to the data directory.
#ifndef FACEKEEPER_DATA_FROM_BIN
#define FACEKEEPER_DATA_FROM_BIN "../share/facekeeper"
#endif

namespace programfiles {

QString installedDataDir(const QString& programDir) {
    return QDir::cleanPath(programDir + QLatin1Char('/') +
                           QStringLiteral(FACEKEEPER_DATA_FROM_BIN));
}

QString locate(const QString& programDir, const QString& relativePath) {
    const QString beside = programDir + QLatin1Char('/') + relativePath;
    if (QFileInfo::exists(beside)) return beside;
    const QString installed = installedDataDir(programDir) + QLatin1Char('/') + relativePath;
    return QFileInfo::exists(installed) ? installed : beside;
}

QString programFile(const QString& relativePath) {
    return locate(QCoreApplication::applicationDirPath(), relativePath);
}

}  // namespace programfiles
