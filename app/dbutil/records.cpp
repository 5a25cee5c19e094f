#include "records.h"

SDeviceInfo::SDeviceInfo() {
    dbs.reserve(kMaxLibraries);
}

SDeviceInfo::SDeviceInfo(const QString& ip_, const QString& username_, const QString& password_)
    : SDeviceInfo() {
    ip = ip_;
    username = username_;
    password = password_;
}

SDBInfo findDb(const SDeviceInfo& device, const QString& libid) {
    for (const SDBInfo& db : device.dbs) {
        if (db.libid == libid) return db;
    }
    return SDBInfo();
}

QStringList dbNames(const SDeviceInfo& device) {
    QStringList names;
    for (const SDBInfo& db : device.dbs)
        names.append(db.name);
    return names;
}

void selectDbs(SDeviceInfo& device, const QList<int>& indices) {
    for (int index : indices) {
        if (index >= 0 && index < device.dbs.size()) device.dbs[index].selected = true;
    }
}

SFeatrueInfo::SFeatrueInfo() {
    clear();
}

void SFeatrueInfo::clear() {
    imgid = -1;
    status = 0;
    name.clear();
    libid.clear();
    uid.clear();
    url.clear();
    path.clear();
    feature.clear();
    feature.reserve(kFeatureReserve);
    ext = QStringList();
    for (int i = 0; i < kExtCount; ++i)
        ext.append(QString());
    feature_attr = 0;
    model_version.clear();
}
