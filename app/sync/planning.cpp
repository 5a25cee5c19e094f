// The plan of one target: its library read through the backup's reader, each record matched by
// uid, pictures compared by MD5 from the digest cache, or downloaded once when it has none.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QSet>

#include "backup/libraryfetch.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/resultcode.h"
#include "targetstate.h"

namespace facesync {

namespace {

// Not named tr(): lupdate would take the marked texts for a call it cannot read.
QString text(const char* source) {
    return QCoreApplication::translate("SyncPlan", source);
}

void notSynced(TargetPlan* plan, int code, const QString& reason) {
    plan->code = code;
    plan->reason = reason;
    plan->changes.clear();
}

QStringList paddedExt(const SFeatrueInfo& record) {
    QStringList ext = record.ext.mid(0, SFeatrueInfo::kExtCount);
    while (ext.size() < SFeatrueInfo::kExtCount)
        ext << QString();
    return ext;
}

bool sameTexts(const SFeatrueInfo& a, const SFeatrueInfo& b) {
    return a.name == b.name && paddedExt(a) == paddedExt(b);
}

// The digest of a target picture: the cached one, or the picture downloaded and hashed. Empty
// when the camera has no picture to give; *ok turns false when the camera stopped answering.
QByteArray targetDigest(TargetState* state, const SFeatrueInfo& record, bool* ok) {
    QByteArray md5 = state->cache->get(record.imgid);
    if (!md5.isEmpty() || record.url.isEmpty()) return md5;
    Protocol::MsgImageData data;
    data.url = record.url;
    const int code = Interaction::instance().getImage(state->device, &data);
    if (isTransferError(code)) *ok = false;
    if (code != 0 || data.bytes().isEmpty()) return {};
    md5 = QCryptographicHash::hash(data.bytes(), QCryptographicHash::Md5);
    state->cache->put(record.imgid, md5);
    return md5;
}

PlannedChange changeOf(Change kind, const SFeatrueInfo& record, qint64 targetImgid = -1) {
    return {kind, record.uid, record.name, targetImgid};
}

// The target's records by uid: the one to keep is the first whose picture matches the source,
// else the first; the others of a uid the source holds are left-overs of an interrupted
// replacement and go.
struct Matched {
    QHash<QString, SFeatrueInfoPtr> kept;
    SFeatrueList extra;
};

bool matchRecords(TargetState* state, const Source& source, const SFeatrueList& records,
                  Matched* out, const StopCheck& stop) {
    for (const SFeatrueInfoPtr& record : records) {
        if (stop && stop()) return false;
        if (record->uid.isEmpty()) {
            ++state->plan.withoutUid;
            continue;
        }
        const auto held = out->kept.constFind(record->uid);
        if (held == out->kept.constEnd()) {
            out->kept.insert(record->uid, record);
            continue;
        }
        bool ok = true;
        const QByteArray wanted = source.pictureMd5.value(record->uid);
        const bool better = !wanted.isEmpty() && targetDigest(state, *record, &ok) == wanted &&
                            targetDigest(state, **held, &ok) != wanted;
        if (!ok) return false;
        out->extra << (better ? *held : record);
        if (better) out->kept.insert(record->uid, record);
    }
    return true;
}

bool compare(TargetState* state, const Source& source, const Options& options,
             const SFeatrueList& records, const StopCheck& stop) {
    TargetPlan& plan = state->plan;
    Matched matched;
    if (!matchRecords(state, source, records, &matched, stop)) return false;
    for (const SFeatrueInfoPtr& record : qAsConst(source.records)) {
        const SFeatrueInfoPtr held = matched.kept.value(record->uid);
        if (!held) {
            plan.changes << changeOf(Change::Add, *record);
            continue;
        }
        if (stop && stop()) return false;
        // A source record without a picture cannot replace one: only its texts count.
        const QByteArray wanted = source.pictureMd5.value(record->uid);
        bool ok = true;
        const QByteArray md5 = wanted.isEmpty() ? wanted : targetDigest(state, *held, &ok);
        if (!ok) return false;
        if (!wanted.isEmpty() && md5 != wanted)
            plan.changes << changeOf(Change::ReplacePicture, *record, held->imgid);
        else if (!sameTexts(*record, *held))
            plan.changes << changeOf(Change::UpdateTexts, *record, held->imgid);
        else
            ++plan.unchanged;
    }
    for (const SFeatrueInfoPtr& record : qAsConst(matched.extra))
        plan.changes << changeOf(Change::Delete, *record, record->imgid);
    for (auto it = matched.kept.constBegin(); it != matched.kept.constEnd(); ++it) {
        if (source.find(it.key())) continue;
        if (options.removeMissing)
            plan.changes << changeOf(Change::Delete, **it, (*it)->imgid);
        else
            ++plan.kept;
    }
    return true;
}

void keepOnlyAsked(TargetPlan* plan, const QSet<QString>& onlyUids) {
    if (onlyUids.isEmpty()) return;
    QVector<PlannedChange> asked;
    for (const PlannedChange& change : qAsConst(plan->changes))
        if (onlyUids.contains(change.uid)) asked << change;
    plan->unchanged += plan->changes.size() - asked.size();  // not asked for: left as it is
    plan->changes = asked;
}

}  // namespace

void planTarget(TargetState* state, const Source& source, const Options& options,
                const StopCheck& stop) {
    TargetPlan& plan = state->plan;
    plan = TargetPlan();
    plan.camera = state->target.device.ip;
    state->device = state->target.device;
    state->library = SDBInfo();
    state->library.name = options.libraryName;
    if (!Interaction::instance().refreshDbList(&state->device))
        return notSynced(&plan, resultcode::NetworkError, ErrorText(resultcode::NetworkError));
    const int at = dbNames(state->device).indexOf(options.libraryName);
    if (at < 0) {
        if (state->device.dbs.size() >= SDeviceInfo::kMaxLibraries)
            return notSynced(
                &plan, resultcode::LibraryError,
                text(QT_TRANSLATE_NOOP("SyncPlan",
                                       "The camera already holds %1 libraries, none called %2."))
                    .arg(state->device.dbs.size())
                    .arg(options.libraryName));
        plan.createLibrary = true;
        state->library = source.library;
        state->library.libid.clear();
        state->library.name = options.libraryName;
        for (const SFeatrueInfoPtr& record : qAsConst(source.records))
            plan.changes << changeOf(Change::Add, *record);
        keepOnlyAsked(&plan, state->target.onlyUids);
        return;
    }
    state->library = state->device.dbs.at(at);
    plan.libid = state->library.libid;
    SFeatrueList records;
    const backup::FetchResult fetched =
        backup::fetchRecords(state->device, &state->library, &records);
    if (!fetched.ok)
        return notSynced(&plan, resultcode::LibraryError,
                         text(QT_TRANSLATE_NOOP("SyncPlan", "The library could not be read: %1"))
                             .arg(fetched.reason));
    state->cache = std::make_unique<DigestCache>(options.digestDir, plan.camera, plan.libid);
    state->cache->load();
    QSet<qint64> imgids;
    for (const SFeatrueInfoPtr& record : qAsConst(records))
        imgids.insert(record->imgid);
    state->cache->keepOnly(imgids);
    const bool compared = compare(state, source, options, records, stop);
    state->cache->save();  // what was downloaded is not downloaded again
    if (!compared && stop && stop())
        return notSynced(&plan, resultcode::NeverStarted, ErrorText(resultcode::NeverStarted));
    if (!compared)
        return notSynced(&plan, resultcode::NetworkError, ErrorText(resultcode::NetworkError));
    keepOnlyAsked(&plan, state->target.onlyUids);
}

}  // namespace facesync
