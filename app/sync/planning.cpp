// The plan of one target: its library read through the backup's reader, each record matched by
// uid, pictures compared by MD5 from the digest cache, or downloaded once when it has none.
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QHash>
#include <QSet>
#include <algorithm>
#include <cstring>

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

void addText(QCryptographicHash* hash, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    const quint32 size = bytes.size();  // each text's length first: no two splits hash alike
    hash->addData(reinterpret_cast<const char*>(&size), sizeof size);
    hash->addData(bytes);
}

// The name and texts of a record as one digest: ext padded, so that a missing text and an empty
// one compare equal.
quint64 textsDigest(const SFeatrueInfo& record) {
    QCryptographicHash hash(QCryptographicHash::Md5);
    addText(&hash, record.name);
    for (int i = 0; i < SFeatrueInfo::kExtCount; ++i)
        addText(&hash, record.ext.value(i));
    const QByteArray md5 = hash.result();
    quint64 folded = 0;  // 64 bits of it: held per record, an allocation each would cost more
    memcpy(&folded, md5.constData(), sizeof folded);
    return folded;
}

// What the comparison keeps of a target record. The listing held whole, by every camera planned
// at once, would make the run's memory grow with the fleet.
struct Held {
    QString uid;  // the source's own string when it holds the uid
    qint64 imgid = -1;
    quint64 texts = 0;  // textsDigest
    QString name;       // only when the source does not hold the uid: the record may go
    QString url;        // only while the picture's digest is not cached
};

Held heldOf(const SFeatrueInfo& record, const Source& source, const DigestCache& cache) {
    Held held;
    held.imgid = record.imgid;
    held.texts = textsDigest(record);
    const SFeatrueInfoPtr mine = source.find(record.uid);
    held.uid = mine ? mine->uid : record.uid;
    if (!mine) held.name = record.name;
    if (cache.get(record.imgid).isEmpty()) held.url = record.url;
    return held;
}

// The digest of a target picture: the cached one, or the picture downloaded and hashed. Empty
// when the camera has no picture to give; *ok turns false when the camera stopped answering.
QByteArray targetDigest(TargetState* state, const Held& record, bool* ok) {
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

PlannedChange deletionOf(const Held& record, const Source& source) {
    const SFeatrueInfoPtr mine = source.find(record.uid);
    return {Change::Delete, record.uid, mine ? mine->name : record.name, record.imgid};
}

bool byUid(const Held& a, const Held& b) {
    return a.uid < b.uid;
}

// The record of uid the target keeps, or null: the first of its run in the sorted records.
const Held* keptOf(const QVector<Held>& sorted, const QString& uid) {
    Held key;
    key.uid = uid;
    const auto it = std::lower_bound(sorted.cbegin(), sorted.cend(), key, byUid);
    return it != sorted.cend() && it->uid == uid ? &*it : nullptr;
}

// Sorts the target's records by uid (a hash beside them would cost as much again, for every
// camera planned at once), listing order kept within a uid. The one to keep, moved first of its
// uid, is the first whose picture matches the source, else the first; the others of a uid are
// left-overs of an interrupted replacement and go to *extra.
bool matchRecords(TargetState* state, const Source& source, QVector<Held>* records,
                  QVector<Held>* extra, const StopCheck& stop) {
    std::stable_sort(records->begin(), records->end(), byUid);
    for (int first = 0, next = 0; first < records->size(); first = next) {
        if (stop && stop()) return false;
        Held* kept = &(*records)[first];
        for (next = first + 1; next < records->size() && (*records)[next].uid == kept->uid;
             ++next) {
            Held& record = (*records)[next];
            bool ok = true;
            const QByteArray wanted = source.pictureMd5.value(record.uid);
            const bool better = !wanted.isEmpty() && targetDigest(state, record, &ok) == wanted &&
                                targetDigest(state, *kept, &ok) != wanted;
            if (!ok) return false;
            if (better) std::swap(*kept, record);
            *extra << record;
        }
    }
    return true;
}

bool compare(TargetState* state, const Source& source, const Options& options,
             QVector<Held>* records, const StopCheck& stop) {
    TargetPlan& plan = state->plan;
    QVector<Held> extra;
    if (!matchRecords(state, source, records, &extra, stop)) return false;
    for (const SFeatrueInfoPtr& record : qAsConst(source.records)) {
        const Held* held = keptOf(*records, record->uid);
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
        else if (textsDigest(*record) != held->texts)
            plan.changes << changeOf(Change::UpdateTexts, *record, held->imgid);
        else
            ++plan.unchanged;
    }
    for (const Held& record : qAsConst(extra))
        plan.changes << deletionOf(record, source);
    for (int i = 0; i < records->size(); ++i) {
        const Held& record = records->at(i);
        if ((i > 0 && records->at(i - 1).uid == record.uid) || source.find(record.uid)) continue;
        if (options.removeMissing)
            plan.changes << deletionOf(record, source);
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
    state->cache = std::make_unique<DigestCache>(options.digestDir, plan.camera, plan.libid);
    state->cache->load();
    // Read page by page, each record cut down at once to what the comparison needs.
    QVector<Held> records;
    QVector<qint64> imgids;
    const backup::FetchResult fetched = backup::fetchRecordPages(
        state->device, &state->library, backup::RecordForm::Listing, [&](const SFeatrueList& page) {
            if (imgids.isEmpty()) {  // the library's size is known from the first page on
                imgids.reserve(state->library.imgnum);
                records.reserve(state->library.imgnum);
            }
            for (const SFeatrueInfoPtr& record : page) {
                imgids << record->imgid;
                if (record->uid.isEmpty())
                    ++plan.withoutUid;
                else
                    records << heldOf(*record, source, *state->cache);
            }
            return !(stop && stop());
        });
    if (!fetched.ok) {
        state->cache.reset();
        if (stop && stop())
            return notSynced(&plan, resultcode::NeverStarted, ErrorText(resultcode::NeverStarted));
        return notSynced(&plan, resultcode::LibraryError,
                         text(QT_TRANSLATE_NOOP("SyncPlan", "The library could not be read: %1"))
                             .arg(fetched.reason));
    }
    std::sort(imgids.begin(), imgids.end());
    state->cache->keepOnly(imgids);
    const bool compared = compare(state, source, options, &records, stop);
    state->cache->save();  // what was downloaded is not downloaded again
    // The apply only adds and drops digests in the file: held by every camera from plan to
    // apply, the digests of big libraries would make the run's memory grow with the fleet.
    state->cache.reset();
    if (!compared && stop && stop())
        return notSynced(&plan, resultcode::NeverStarted, ErrorText(resultcode::NeverStarted));
    if (!compared)
        return notSynced(&plan, resultcode::NetworkError, ErrorText(resultcode::NetworkError));
    keepOnlyAsked(&plan, state->target.onlyUids);
}

}  // namespace facesync
