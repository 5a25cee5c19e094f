#include "source.h"

namespace facesync {

SFeatrueInfoPtr Source::find(const QString& uid) const {
    const auto it = byUid_.constFind(uid);
    return it == byUid_.constEnd() ? SFeatrueInfoPtr() : records.at(*it);
}

void indexSource(Source* source) {
    SFeatrueList kept;
    source->byUid_.clear();
    for (const SFeatrueInfoPtr& record : qAsConst(source->records)) {
        if (record->uid.isEmpty()) {
            ++source->withoutUid;
            continue;
        }
        if (source->byUid_.contains(record->uid)) continue;
        source->byUid_.insert(record->uid, kept.size());
        kept << record;
    }
    source->records = kept;
}

bool loadPackageSource(const QString& path, Source* out, QString* error) {
    Q_UNUSED(path);
    Q_UNUSED(out);
    *error = QStringLiteral("not yet");
    return false;
}

bool loadCameraSource(const SDeviceInfo& camera, const QString& libraryName, Source* out,
                      QString* error, const std::function<bool()>& stop) {
    Q_UNUSED(camera);
    Q_UNUSED(libraryName);
    Q_UNUSED(out);
    Q_UNUSED(stop);
    *error = QStringLiteral("not yet");
    return false;
}

}  // namespace facesync
