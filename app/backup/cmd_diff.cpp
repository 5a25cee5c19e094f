// diff: records added, removed and changed between two generations of a library.
#include <QMap>
#include <cstdio>

#include "commands.h"
#include "packageread.h"
#include "sealing.h"

namespace backup {
namespace {

using RecordMap = QMap<qint64, SFeatrueInfoPtr>;

RecordMap byImgid(const SFeatrueList& records) {
    RecordMap map;
    for (const SFeatrueInfoPtr& record : records) map.insert(record->imgid, record);
    return map;
}

// What differs between two versions of one record, as field names.
QStringList changedFields(const SFeatrueInfo& a, const Md5& aPicture, const SFeatrueInfo& b,
                          const Md5& bPicture) {
    QStringList fields;
    if (a.name != b.name) fields.append("name");
    if (a.uid != b.uid) fields.append("uid");
    for (int i = 0; i < SFeatrueInfo::kExtCount; ++i)
        if (a.ext.value(i) != b.ext.value(i)) fields.append(QString("ext%1").arg(i + 1));
    if (aPicture != bPicture) fields.append("picture");
    return fields;
}

}  // namespace

int runDiff(const QString& older, const QString& newer, const QString& keyFile) {
    sealing::KeyPair keys;
    bool haveKey = false;
    if (!loadKeyOption(keyFile, &keys, &haveKey)) return exitcode::kUsage;
    OpenedPackage a, b;
    QString error;
    for (auto [path, opened] : {std::pair{older, &a}, std::pair{newer, &b}}) {
        if (!openPackage(path, haveKey ? &keys : nullptr, opened, &error)) {
            printError(QString("%1: %2").arg(path, error));
            return exitcode::kFailed;
        }
    }
    const RecordMap before = byImgid(a.records);
    const RecordMap after = byImgid(b.records);
    int added = 0, removed = 0, changed = 0;
    for (auto it = before.begin(); it != before.end(); ++it) {
        const SFeatrueInfoPtr now = after.value(it.key());
        if (!now) {
            std::fprintf(output(), "removed %lld %s\n", it.key(), qPrintable((*it)->name));
            ++removed;
            continue;
        }
        const QStringList fields = changedFields(**it, a.pictureMd5.value(it.key()), *now,
                                                 b.pictureMd5.value(it.key()));
        if (fields.isEmpty()) continue;
        std::fprintf(output(), "changed %lld %s: %s\n", it.key(), qPrintable(now->name),
                    qPrintable(fields.join(", ")));
        ++changed;
    }
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (before.contains(it.key())) continue;
        std::fprintf(output(), "added   %lld %s\n", it.key(), qPrintable((*it)->name));
        ++added;
    }
    std::fprintf(output(), "%d added, %d removed, %d changed\n", added, removed, changed);
    return exitcode::kOk;
}

}  // namespace backup
