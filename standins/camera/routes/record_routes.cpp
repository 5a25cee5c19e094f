// Whole records in and out of a library, and the feature vectors stored by identifier.
#include <limits>

#include "routes/reply.h"
#include "routes/router.h"
#include "state/camera_codes.h"
#include "util/crypto.h"

namespace camsim {

namespace {

constexpr size_t kFeatureBytes = 4095;
constexpr size_t kUrlBytes = 255;

HttpResponse importRecord(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    NewImage image;
    body.optionalInteger(
        "imgid", std::numeric_limits<int64_t>::min(),
        std::numeric_limits<int64_t>::max());  // the source camera's; a new one is given
    image.uid = body.text("uid");
    image.libid = body.text("libid");
    image.name = body.text("name");
    const char* const extNames[5] = {"ext1", "ext2", "ext3", "ext4", "ext5"};
    for (int i = 0; i < 5; ++i)
        image.ext[i] = body.text(extNames[i]);
    image.status = static_cast<int>(body.integer("status", 0, 2));
    body.text("url", kUrlBytes);
    image.feature = body.text("feature", kFeatureBytes);
    image.featureAttr = body.integer("feature_attr", std::numeric_limits<int64_t>::min(),
                                     std::numeric_limits<int64_t>::max());
    image.modelVersion = body.text("model_version", kUrlBytes);
    std::optional<std::string> picture = body.optionalText("img_data", ctx.config.maxBodyBytes);
    if (!body.ok()) return body.failure();
    if (picture) {
        auto bytes = base64Decode(*picture);
        if (!bytes) return jsonReply(code::kUnusableImage, "\"img_data\" is not Base64");
        if (bytes->empty()) return jsonReply(code::kUnusableImage, "empty picture");
        image.bytes = std::move(*bytes);
    }
    if (image.status == kImageStatusExtracted && image.feature.empty())
        return badRequest("a record with status 1 needs its feature");
    image.requireUniqueUid = true;
    return jsonReply(ctx.faces.addImage(image));
}

struct FeatureRequest {
    std::string set;
    std::string id;
    std::vector<FeatureEntry> entries;
};

std::optional<FeatureRequest> readFeatureRequest(BodyReader& body, bool withEntries) {
    FeatureRequest r;
    r.set = body.text("set_name", 47);
    r.id = body.text("id", 47);
    body.text("model_version", kUrlBytes);
    if (!body.ok()) return std::nullopt;
    if (!withEntries) return r;
    const Json::Value& list = body.root()["features"];
    if (!list.isArray() || list.empty() || list.size() > FeatureStore::kMaxEntries)
        return std::nullopt;
    for (const auto& item : list) {
        BodyReader entry(item);
        FeatureEntry e{entry.text("url", kUrlBytes), entry.text("feature", kFeatureBytes)};
        if (!entry.ok()) return std::nullopt;
        r.entries.push_back(e);
    }
    return r;
}

template <bool kNewId>
HttpResponse addFeatures(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    auto r = readFeatureRequest(body, true);
    if (!r)
        return body.ok() ? badRequest("\"features\" must hold 1 to 5 {url, feature}")
                         : body.failure();
    return jsonReply(kNewId ? ctx.features.addForNewId(r->set, r->id, r->entries)
                            : ctx.features.addToId(r->set, r->id, r->entries));
}

HttpResponse listFeatures(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    auto r = readFeatureRequest(body, false);
    if (!r) return body.failure();
    return jsonReply(ctx.features.list(r->set, r->id));
}

}  // namespace

void registerRecordRoutes(Router& router) {
    router.add("/api/v1/recognize/import_record", &importRecord);
    router.add("/api/v1/recognize/add/id", &addFeatures<true>);
    router.add("/api/v1/recognize/add/features", &addFeatures<false>);
    router.add("/api/v1/recognize/list/features", &listFeatures);
}

}  // namespace camsim
