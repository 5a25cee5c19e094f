#include "devicesource.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "dbutil/deviceinfofactory.h"
#include "dbutil/inputcheck.h"
#include "programfiles.h"

namespace backup {
namespace {

constexpr qint64 kMaxListBytes = 16 << 20;

bool loadStore(const QString& path, QVector<SDeviceInfo>* out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QString("cannot read the device list %1: %2").arg(path, file.errorString());
        return false;
    }
    QDataStream in(&file);
    if (!DeviceInfoFactory::readDevices(in, *out)) {
        *error = QString("%1 is not a device list or is damaged").arg(path);
        return false;
    }
    return true;
}

bool isAddress(const QString& text) {
    return isValidIp(text);
}

bool loadCsv(const QString& path, QVector<SDeviceInfo>* out, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text) || file.size() > kMaxListBytes) {
        *error = QString("cannot read the camera list %1").arg(path);
        return false;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine(4096)).trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#')) continue;
        const QStringList fields = line.split(',');
        if (lineNumber == 1 && !isAddress(fields.value(0).trimmed())) continue;  // a header
        if (fields.size() != 3 || !isAddress(fields[0].trimmed())) {
            *error = QString("%1:%2: expected address,user,password").arg(path).arg(lineNumber);
            return false;
        }
        out->append(SDeviceInfo(fields[0].trimmed(), fields[1].trimmed(), fields[2].trimmed()));
    }
    return true;
}

}  // namespace

QString defaultStorePath() {
    const QString programDir = QCoreApplication::applicationDirPath();
    if (QFileInfo(programfiles::installedDataDir(programDir)).isDir()) {
        const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        return data + "/facekeeper/" + DeviceInfoFactory::kDefaultFileName;
    }
    return QDir::current().filePath(DeviceInfoFactory::kDefaultFileName);
}

bool loadDevices(const QString& storeFile, const QString& csvFile, QVector<SDeviceInfo>* out,
                 QString* error) {
    QVector<SDeviceInfo> found;
    const bool ok = csvFile.isEmpty()
                        ? loadStore(storeFile.isEmpty() ? defaultStorePath() : storeFile, &found, error)
                        : loadCsv(csvFile, &found, error);
    if (!ok) return false;
    out->clear();
    for (const SDeviceInfo& device : qAsConst(found))
        if (!out->contains(device)) out->append(device);
    return true;
}

}  // namespace backup
