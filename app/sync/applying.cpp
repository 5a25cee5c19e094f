// The apply of one target: new records and new pictures side by side in the camera's lanes, the
// old record of a replaced picture deleted only once its successor is held, the deletions beside
// them; then text updates one by one, then the extraction of the new records' features.
#include <QCoreApplication>
#include <climits>
#include <future>

#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "dbutil/packagejob.h"
#include "dbutil/resultcode.h"
#include "targetstate.h"

namespace facesync {

namespace {

// Failures in a row, each a camera that did not answer, before the rest is not tried: a camera
// that went away must not cost a time-out per record.
constexpr int kSilentInARow = 3;
constexpr int kNotReached = INT_MIN;

// Not named tr(): lupdate would take the marked texts for a call it cannot read.
QString text(const char* source) {
    return QCoreApplication::translate("SyncApply", source);
}

QString doneText(Change change) {
    switch (change) {
        case Change::Add:
            return text(QT_TRANSLATE_NOOP("SyncApply", "Added"));
        case Change::UpdateTexts:
            return text(QT_TRANSLATE_NOOP("SyncApply", "Texts updated"));
        case Change::ReplacePicture:
            return text(QT_TRANSLATE_NOOP("SyncApply", "Picture replaced"));
        case Change::Delete:
            return text(QT_TRANSLATE_NOOP("SyncApply", "Deleted"));
    }
    return {};
}

Interaction& camera() {
    return Interaction::instance();
}

class Applier {
public:
    Applier(TargetState* state, const Source& source, const StopCheck& stop,
            const RecordDone& recordDone)
        : state_(*state), source_(source), stop_(stop), recordDone_(recordDone) {}

    bool createLibrary();
    void startDeletions();
    void sendPictures();
    void updateAndDelete();
    void extract();
    int received() const { return received_; }
    QVector<reports::ReportRow> rows() const { return rows_; }
    void cameraFailed(int code, const QString& reason);
    bool saveDigests(const QString& path) const { return digests_.save(path); }

private:
    reports::ReportRow row(const QString& uid) const;
    void stored(const PlannedChange& change);
    void failed(const PlannedChange& change, int code, const QString& reason = {});
    void skipped(const PlannedChange& change);
    // Runs one change unless stopped or the camera went silent; the change's code.
    void runOne(const PlannedChange& change, const std::function<int()>& call,
                const QString& failure = {});
    SFeatrueInfoPtr targetCopy(const PlannedChange& change, qint64 imgid) const;
    QVector<int> runDeletions() const;
    void deletionDone(const PlannedChange& change, int code);

    TargetState& state_;
    const Source& source_;
    const StopCheck& stop_;
    const RecordDone& recordDone_;
    QVector<reports::ReportRow> rows_;
    int silent_ = 0;
    int received_ = 0;
    DigestEdits digests_;
    std::future<QVector<int>> deletions_;  // a code per change, kNotReached where none ran
};

reports::ReportRow Applier::row(const QString& uid) const {
    reports::ReportRow row;
    row.camera = state_.plan.camera;
    row.library = state_.library.name;
    row.libid = state_.library.libid;
    row.file = uid;
    return row;
}

void Applier::stored(const PlannedChange& change) {
    reports::ReportRow done = reports::storedRow(row(change.uid));
    done.reason = doneText(change.change);
    rows_ << done;
    silent_ = 0;
    if (change.change == Change::Add || change.change == Change::ReplacePicture) ++received_;
    if (recordDone_) recordDone_();
}

void Applier::failed(const PlannedChange& change, int code, const QString& reason) {
    reports::ReportRow failure = reports::failedRow(row(change.uid), code);
    if (!reason.isEmpty()) failure.reason = reason;
    rows_ << failure;
    silent_ = isTransferError(code) || code == resultcode::LoginFailed ? silent_ + 1 : 0;
    if (recordDone_) recordDone_();
}

void Applier::skipped(const PlannedChange& change) {
    rows_ << reports::skippedRow(row(change.uid));
    if (recordDone_) recordDone_();
}

void Applier::cameraFailed(int code, const QString& reason) {
    reports::ReportRow failure = reports::failedRow(row({}), code);
    if (!reason.isEmpty()) failure.reason = reason;
    rows_ << failure;
}

void Applier::runOne(const PlannedChange& change, const std::function<int()>& call,
                     const QString& failure) {
    if (stop_ && stop_()) return skipped(change);
    if (silent_ >= kSilentInARow) return failed(change, resultcode::NetworkError);
    const int code = call();
    if (code == 0)
        stored(change);
    else
        failed(change, code, failure);
}

SFeatrueInfoPtr Applier::targetCopy(const PlannedChange& change, qint64 imgid) const {
    const SFeatrueInfoPtr from = source_.find(change.uid);
    SFeatrueInfoPtr copy = SFeatrueInfoPtr::create(from ? *from : SFeatrueInfo());
    copy->imgid = imgid;
    copy->libid = state_.library.libid;
    copy->feature.clear();
    copy->status = 0;
    if (!from) copy->uid = change.uid;
    return copy;
}

bool Applier::createLibrary() {
    if (!state_.plan.createLibrary) return true;
    const int code = packagejob::createLibrary(&state_.device, &state_.library);
    if (code != resultcode::Ok) return cameraFailed(code, {}), false;
    state_.plan.libid = state_.library.libid;
    digests_.startFresh();
    return true;
}

void Applier::sendPictures() {
    QVector<PlannedChange> changes;
    SFeatrueList copies;
    for (const PlannedChange& change : qAsConst(state_.plan.changes)) {
        if (change.change != Change::Add && change.change != Change::ReplacePicture) continue;
        changes << change;
        copies << targetCopy(change, -1);
    }
    if (copies.isEmpty()) return;
    QVector<int> codes(copies.size(), kNotReached);  // each lane writes its own items only
    camera().addImages(
        state_.device, state_.library.libid, copies, [this](int) { return stop_ && stop_(); },
        [&codes](int index, int code) { codes[index] = code; });
    for (int i = 0; i < changes.size(); ++i) {
        const PlannedChange& change = changes[i];
        if (codes[i] == kNotReached) {
            if (stop_ && stop_())
                skipped(change);
            else
                failed(change, resultcode::NetworkError);
            continue;
        }
        if (codes[i] != 0) {
            failed(change, codes[i]);
            continue;
        }
        digests_.put(copies[i]->imgid, source_.pictureMd5.value(change.uid));
        if (change.change == Change::Add) {
            stored(change);
            continue;
        }
        // The new record is held: only now does the old one go.
        const int deleted =
            camera().deleteImage(state_.device, *targetCopy(change, change.targetImgid));
        if (deleted == 0) {
            digests_.remove(change.targetImgid);
            stored(change);
        } else {
            ++received_;  // the new picture is there all the same
            failed(change, deleted,
                   text(QT_TRANSLATE_NOOP(
                            "SyncApply",
                            "The new picture is held; the old record could not be deleted: %1"))
                       .arg(ErrorText(deleted)));
        }
    }
}

// On a thread of its own, beside the pictures' lanes: it only calls the camera and leaves the
// report and the digests to updateAndDelete, so that the rows keep the plan's order.
QVector<int> Applier::runDeletions() const {
    const QVector<PlannedChange>& changes = state_.plan.changes;
    QVector<int> codes(changes.size(), kNotReached);
    int silent = 0;
    for (int i = 0; i < changes.size(); ++i) {
        if (changes[i].change != Change::Delete) continue;
        if ((stop_ && stop_()) || silent >= kSilentInARow) break;
        codes[i] =
            camera().deleteImage(state_.device, *targetCopy(changes[i], changes[i].targetImgid));
        silent = isTransferError(codes[i]) || codes[i] == resultcode::LoginFailed ? silent + 1 : 0;
    }
    return codes;
}

void Applier::startDeletions() {
    if (state_.plan.deletes() == 0) return;
    deletions_ = std::async(std::launch::async, [this] { return runDeletions(); });
}

void Applier::deletionDone(const PlannedChange& change, int code) {
    if (code == kNotReached) {
        if (stop_ && stop_()) return skipped(change);
        return failed(change, resultcode::NetworkError);
    }
    if (code != 0) return failed(change, code);
    digests_.remove(change.targetImgid);
    stored(change);
}

void Applier::updateAndDelete() {
    const QVector<int> deleted = deletions_.valid() ? deletions_.get() : QVector<int>();
    const QVector<PlannedChange>& changes = state_.plan.changes;
    for (int i = 0; i < changes.size(); ++i) {
        const PlannedChange& change = changes[i];
        if (change.change == Change::Delete) {
            deletionDone(change, deleted.value(i, kNotReached));
        } else if (change.change == Change::UpdateTexts) {
            runOne(
                change,
                [&] {
                    return camera().updateImage(state_.device,
                                                *targetCopy(change, change.targetImgid))
                               ? 0
                               : int(resultcode::NotDone);
                },
                text(QT_TRANSLATE_NOOP("SyncApply", "The camera did not take the new texts.")));
        }
    }
}

void Applier::extract() {
    if (received_ == 0 || (stop_ && stop_())) return;
    int total = 0, extracted = 0, errors = 0;
    const bool ok =
        camera().extractFeature(state_.device, state_.library.libid, &total, &extracted, &errors,
                                [this](int, int, int) { return stop_ && stop_(); });
    if (!ok)
        cameraFailed(resultcode::NotDone,
                     text(QT_TRANSLATE_NOOP("SyncApply", "The feature extraction did not start.")));
}

}  // namespace

QVector<reports::ReportRow> applyTarget(TargetState* state, const Source& source,
                                        const Options& options, const StopCheck& stop,
                                        const RecordDone& recordDone) {
    Applier applier(state, source, stop, recordDone);
    if (!state->plan.ok()) {
        applier.cameraFailed(state->plan.code, state->plan.reason);
        return applier.rows();
    }
    if (!applier.createLibrary()) return applier.rows();
    applier.startDeletions();
    applier.sendPictures();
    applier.updateAndDelete();
    applier.saveDigests(
        DigestCache::pathFor(options.digestDir, state->plan.camera, state->library.libid));
    if (options.extractAfter) applier.extract();
    return applier.rows();
}

}  // namespace facesync
