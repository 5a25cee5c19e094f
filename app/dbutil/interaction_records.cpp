// Interaction members that read pages of records and write whole records back.
#include <camlink.h>

#include <algorithm>
#include <mutex>

#include "applog.h"
#include "errortext.h"
#include "fleet/fleetlanes.h"
#include "interaction.h"
#include "interaction_args.h"
#include "interaction_call.h"
#include "resultcode.h"

namespace {

const char* const kSource = "dbutil\\interaction";
constexpr int kSilentLimit = 3;  // transfer failures in a row that end a loop over images

int presentCount(const SFeatrueList& images) {
    return int(std::count_if(images.begin(), images.end(),
                             [](const SFeatrueInfoPtr& image) { return bool(image); }));
}

vcam_image_query pageQuery(const SPageInfo& page) {
    auto query = args::cleared<vcam_image_query>();
    args::putText(query.libid, page.libid);
    query.page_num = page.page_num;
    query.page_size = page.page_size;
    const int count = std::min<int>(page.conditions.size(), VCAM_IMAGE_FILTERS);
    for (int i = 0; i < count; ++i) {
        args::putText(query.filters[i].name, page.conditions[i].first);
        args::putText(query.filters[i].value, page.conditions[i].second);
    }
    return query;
}

vcam_record_v2 importRecord(const SFeatrueInfo& image) {
    auto record = args::cleared<vcam_record_v2>();
    record.imgid = image.imgid;
    args::putLocal(record.url, image.url);
    args::putLocal(record.path, image.path);
    args::putText(record.uid, image.uid);
    args::putText(record.libid, image.libid);
    args::putText(record.name, image.name);
    args::putExt(record, image.ext);
    args::putText(record.feature, image.feature);
    record.feature_attr = image.feature_attr;
    args::putLocal(record.model_version, image.model_version);
    // A record that claims a feature without one would be refused: send it as featureless.
    record.status = (image.status == 1 && image.feature.isEmpty()) ? 0 : image.status;
    return record;
}

}  // namespace

int Interaction::readPage(int (*call)(int, vcam_image_query*), int handle, const char* step,
                          SPageInfo* page, SFeatrueList* out) {
    auto query = pageQuery(*page);
    CallOutcome outcome = callCamera(call, handle, query);
    outcome.read([&](const QJsonValue& data) { return reply::readImagePage(data, page, out); });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, page_num: %d, page_size: %d.\n", step,
               outcome.result, outcome.message(), page->page_num, page->page_size);
        debugFailure(step, outcome.result);
    }
    return outcome.result;
}

bool Interaction::listImage(const SDeviceInfo& device, SPageInfo* page, SFeatrueList* out,
                            int* code) {
    int ignored = 0;
    if (!code) code = &ignored;
    *code = 0;
    if (!page || !out) return true;
    LoginResult login;
    const int handle = loginFor(device, "Interaction::listImage", "login failed.", &login);
    if (handle <= 0) {
        *code = login.code != 0 ? login.code : resultcode::LoginFailed;
        return false;
    }
    *code = readPage(vcam_control_list_image, handle, "Interaction::list_img", page, out);
    return *code == 0;
}

Interaction::PageReader::PageReader(const SDeviceInfo& device) : device_(device) {}

Interaction::PageReader::~PageReader() {
    if (handle_ > 0) closeLane(handle_);
}

int Interaction::PageReader::session() {
    // At the first page, not before; one session per camera unless sessions go side by side.
    if (handle_ < 0) handle_ = fleet::sessionsSideBySide() ? instance().openLane(device_) : 0;
    return handle_;
}

int Interaction::PageReader::list(SPageInfo* page, SFeatrueList* out) {
    int code = 0;
    if (session() == 0) return instance().listImage(device_, page, out, &code), code;
    return instance().readPage(vcam_control_list_image, handle_, "Interaction::list_img", page,
                               out);
}

int Interaction::PageReader::exportRecords(SPageInfo* page, SFeatrueList* out) {
    if (session() == 0) return instance().exportFaceDB(device_, page, out);
    return instance().readPage(vcam_control_export_record_v2, handle_,
                               "Interaction::export_record", page, out);
}

int Interaction::exportFaceDB(const SDeviceInfo& device, SPageInfo* page, SFeatrueList* out) {
    if (!page || !out) return resultcode::BadParameter;
    const int handle = loginFor(device, "Interaction::exportFaceDB", "login failed.");
    if (handle <= 0) return resultcode::LoginFailed;
    return readPage(vcam_control_export_record_v2, handle, "Interaction::export_record", page, out);
}

int Interaction::importRecordStep(int handle, const SFeatrueInfo& image) {
    auto record = importRecord(image);
    CallOutcome outcome = callCamera(vcam_control_import_record_v2, handle, record);
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, imgid: %lld, name: %s, path: %s.\n",
               "Interaction::import_record", outcome.result, outcome.message(),
               static_cast<long long>(image.imgid), image.name.toUtf8().constData(),
               image.path.toLocal8Bit().constData());
        debugFailure("Interaction::import_record", outcome.result);
        FK_LOG(kSource, 6, "import_record failed, image info: path=%s, name=%s, uid=%s\n",
               image.path.toLocal8Bit().constData(), image.name.toUtf8().constData(),
               image.uid.toUtf8().constData());
    }
    return outcome.result;
}

int Interaction::importFaceDB(const SDeviceInfo& device, const QString& libid,
                              const SFeatrueList& records, const CountCallback& progress) {
    const int handle = loginFor(device, "Interaction::importFaceDB", "login failed.");
    if (handle <= 0) return 0;
    return countedLoop(
        handle, libid, records, progress,
        [this](int h, SFeatrueInfo* record) { return importRecordStep(h, *record); },
        "Interaction::importFaceDB");
}

// Sends each image in turn (side by side: in lanes, several at once). A request that timed out
// may still have been stored, so the count is at least what the library grew by between the
// look-ups before and after. A camera that stops answering ends the loop: every further try
// would wait the full time-out while camlink holds its process-wide lock, and with it every
// other camera's job.
int Interaction::countedLoop(int handle, const QString& libid, const SFeatrueList& images,
                             const CountCallback& progress, const ImageStep& step,
                             const char* member, const SDeviceInfo* lanesOf,
                             const ItemCallback& itemDone) {
    SDBInfo before;
    before.libid = libid;
    bool haveBefore = false;
    const auto lookBefore = [&] { haveBefore = findLibrary(handle, &before) == 0; };
    for (const SFeatrueInfoPtr& image : images)
        if (image) image->libid = libid;
    LoopOutcome loop;
    if (lanesOf) {
        // The look-up before goes while the lanes log in.
        loop = laneLoop(*lanesOf, handle, images, progress, step, itemDone, lookBefore);
    } else {
        lookBefore();
        loop = serialLoop(handle, images, progress, step, itemDone);
    }
    if (loop.silent)
        FK_LOG(kSource, 3, "%s, camera silent after %d transfer failures, %d not sent.\n", member,
               kSilentLimit, loop.unsent);
    // A silent camera: the look-up after would wait the same time-out.
    if (loop.silent || loop.stopped) return loop.count;
    // Side by side every image has its outcome: with none failed the camera cannot hold more.
    if (lanesOf && loop.count == presentCount(images)) return loop.count;
    SDBInfo after;
    after.libid = libid;
    int count = loop.count;
    if (haveBefore && findLibrary(handle, &after) == 0)
        count = std::max(count, after.imgnum - before.imgnum);
    return count;
}

// A null image counts as neither sent nor failed.
Interaction::LoopOutcome Interaction::serialLoop(int handle, const SFeatrueList& images,
                                                 const CountCallback& progress,
                                                 const ImageStep& step,
                                                 const ItemCallback& itemDone) {
    LoopOutcome loop;
    int lost = 0;
    for (int i = 0; i < images.size(); ++i) {
        const SFeatrueInfoPtr& image = images[i];
        if (!image) continue;
        const int code = step(handle, image.data());
        if (itemDone) itemDone(i, code);
        lost = isTransferError(code) ? lost + 1 : 0;
        if (lost == kSilentLimit) {
            loop.silent = true;
            loop.unsent = int(images.size()) - i - 1;
            return loop;
        }
        if (code != 0) continue;
        ++loop.count;
        loop.stopped = progress && progress(loop.count);
        if (loop.stopped) return loop;
    }
    return loop;
}

// The lanes' extra sessions are this loop's own: logged in at its start, out at its end.
Interaction::LoopOutcome Interaction::laneLoop(const SDeviceInfo& device, int handle,
                                               const SFeatrueList& images,
                                               const CountCallback& progress,
                                               const ImageStep& step,
                                               const ItemCallback& itemDone,
                                               const std::function<void()>& beforeItems) {
    SFeatrueList present;
    QVector<int> indexOf;  // a present image's index among all the images
    for (int i = 0; i < images.size(); ++i) {
        if (!images[i]) continue;
        present.append(images[i]);
        indexOf.append(i);
    }
    std::mutex itemDoneLock;  // the lanes report their items from threads of their own
    fleet::LaneWork work;
    work.items = present.size();
    work.firstHandle = handle;
    work.openSession = [this, &device] { return openLane(device); };
    work.closeSession = [](int lane) { closeLane(lane); };
    work.step = [&](int h, int item) {
        const int code = step(h, present[item].data());
        if (itemDone) {
            std::lock_guard<std::mutex> hold(itemDoneLock);
            itemDone(indexOf[item], code);
        }
        return code;
    };
    work.lost = &isTransferError;
    work.lostLimit = kSilentLimit;
    work.progress = progress;
    work.beforeItems = beforeItems;
    const fleet::LaneResult lanes = fleet::runInLanes(work);
    LoopOutcome loop;
    loop.count = lanes.succeeded;
    loop.silent = lanes.endedLost;
    loop.stopped = lanes.stopped;
    loop.unsent = lanes.untaken;
    return loop;
}
