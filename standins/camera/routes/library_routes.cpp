// Face libraries and their pictures.
#include <limits>

#include "routes/reply.h"
#include "routes/router.h"
#include "state/camera_codes.h"
#include "util/crypto.h"
#include "util/json_util.h"

namespace camsim {

namespace {

constexpr int64_t kMaxId = std::numeric_limits<int64_t>::max();
constexpr int kMaxPageSize = 1000;

HttpResponse createLibrary(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string name = body.text("name");
    int threshold = static_cast<int>(body.integer("threshold", 0, 100));
    if (body.ok() && name.empty()) return badRequest("\"name\" is empty");
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.createLibrary(name, threshold));
}

HttpResponse updateLibrary(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    std::string name = body.text("name");
    int threshold = static_cast<int>(body.integer("threshold", 0, 100));
    if (body.ok() && name.empty()) return badRequest("\"name\" is empty");
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.updateLibrary(libid, name, threshold));
}

HttpResponse deleteLibrary(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    if (!body.ok()) return body.failure();
    if (int delay = ctx.deleteDelayMs.load(); delay > 0)
        ctx.sleeper.sleepFor(std::chrono::milliseconds(delay));
    return jsonReply(ctx.faces.deleteLibrary(libid));
}

// The calls that name one library and nothing else.
template <StoreResult (FaceStore::*Op)(const std::string&)>
HttpResponse onLibrary(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    if (!body.ok()) return body.failure();
    return jsonReply((ctx.faces.*Op)(libid));
}

HttpResponse findLibrary(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.findLibrary(libid));
}

HttpResponse listLibraries(CameraContext& ctx, const HttpRequest&) {
    return jsonReply(ctx.faces.listLibraries());
}

HttpResponse lockStore(CameraContext& ctx, const HttpRequest&) {
    return jsonReply(ctx.faces.lock());
}
HttpResponse unlockStore(CameraContext& ctx, const HttpRequest&) {
    return jsonReply(ctx.faces.unlock());
}

HttpResponse addImage(CameraContext& ctx, const HttpRequest& req) {
    if (!req.hasHeader("name") || !req.hasHeader("md5") || !req.hasHeader("libid"))
        return badRequest("the name, md5 and libid header lines are required");
    std::optional<std::string> name = base64Decode(req.header("name"));
    if (!name) return badRequest("\"name\" is not Base64");
    if (req.body.empty()) return jsonReply(code::kUnusableImage, "empty picture");
    // Exactly as the client must compute it: 32 upper-case hexadecimal digits.
    if (md5HexUpper(req.body) != req.header("md5"))
        return jsonReply(code::kUnusableImage, "MD5 does not match the picture");
    NewImage image;
    image.libid = req.header("libid");
    image.name = name->substr(0, 63);
    image.bytes = req.body;
    return jsonReply(ctx.faces.addImage(image));
}

HttpResponse updateImageFields(CameraContext& ctx, const HttpRequest& req, bool withStatus) {
    BodyReader body(req.body);
    int64_t imgid = body.integer("imgid", 0, kMaxId);
    std::string libid = body.text("libid");
    Json::Value fields(Json::objectValue);
    for (const char* key : {"uid", "name", "ext1", "ext2", "ext3", "ext4", "ext5"})
        fields[key] = body.text(key);
    if (withStatus) fields["status"] = static_cast<int>(body.integer("status", 0, 2));
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.updateImage(imgid, libid, fields));
}

HttpResponse updateImage(CameraContext& ctx, const HttpRequest& req) {
    return updateImageFields(ctx, req, false);
}

HttpResponse updateImageWithStatus(CameraContext& ctx, const HttpRequest& req) {
    return updateImageFields(ctx, req, true);
}

HttpResponse deleteImage(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    int64_t imgid = body.integer("imgid", 0, kMaxId);
    std::string libid = body.text("libid");
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.deleteImage(imgid, libid));
}

HttpResponse findImage(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    int64_t imgid = body.integer("imgid", 0, kMaxId);
    std::string libid = body.text("libid");
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.findImage(imgid, libid));
}

HttpResponse extract(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    std::optional<int64_t> imgid = body.optionalInteger("imgid", 1, kMaxId);
    if (!body.ok()) return body.failure();
    return jsonReply(ctx.faces.startExtraction(libid, imgid));
}

std::optional<std::vector<ImageFilter>> readFilters(const Json::Value& root) {
    std::vector<ImageFilter> filters;
    if (!root.isMember("filter")) return filters;
    const Json::Value& list = root["filter"];
    if (!list.isArray() || list.size() > 10) return std::nullopt;
    for (const auto& item : list) {
        BodyReader entry(item);
        ImageFilter f{entry.text("name"), entry.text("value")};
        if (!entry.ok()) return std::nullopt;
        filters.push_back(f);
    }
    return filters;
}

HttpResponse pageOfImages(CameraContext& ctx, const HttpRequest& req, bool withFeatures) {
    BodyReader body(req.body);
    std::string libid = body.text("libid");
    int pageNum = static_cast<int>(body.integer("page_num", 1, std::numeric_limits<int>::max()));
    int pageSize = static_cast<int>(body.integer("page_size", 1, kMaxPageSize));
    if (!body.ok()) return body.failure();
    auto filters = readFilters(body.root());
    if (!filters) return badRequest("\"filter\" must be at most 10 {name, value} objects");
    return jsonReply(ctx.faces.listImages(libid, pageNum, pageSize, *filters, withFeatures));
}

HttpResponse listImages(CameraContext& ctx, const HttpRequest& req) {
    return pageOfImages(ctx, req, false);
}

HttpResponse exportRecords(CameraContext& ctx, const HttpRequest& req) {
    return pageOfImages(ctx, req, true);
}

// "/images/<imgid>.jpg"
HttpResponse servePicture(CameraContext& ctx, const HttpRequest& req) {
    const std::string prefix = "/images/", suffix = ".jpg";
    const std::string& p = req.path;
    if (p.size() <= prefix.size() + suffix.size() || p.compare(p.size() - 4, 4, suffix) != 0)
        return notFound();
    std::string digits = p.substr(prefix.size(), p.size() - prefix.size() - suffix.size());
    if (digits.size() > 18 || digits.find_first_not_of("0123456789") != std::string::npos)
        return notFound();
    auto bytes = ctx.faces.pictureBytes(std::stoll(digits));
    if (!bytes) return notFound();
    HttpResponse r;
    r.body = std::move(*bytes);
    r.contentType = "image/jpeg";
    return r;
}

}  // namespace

void registerLibraryRoutes(Router& router) {
    const std::string base = "/api/v1/recognize/";
    router.add(base + "add_fdlib", &createLibrary);
    router.add(base + "update_fdlib", &updateLibrary);
    router.add(base + "del_fdlib", &deleteLibrary);
    router.add(base + "get_fdlib", &findLibrary);
    router.add(base + "list_fdlib", &listLibraries, kFetch);
    router.add(base + "del_all_img", &onLibrary<&FaceStore::deleteAllImages>);
    router.add(base + "fdlib/lock", &lockStore);
    router.add(base + "fdlib/unlock", &unlockStore);
    router.add(base + "fdlib/add_img", &addImage, kPictureUpload);
    router.add(base + "fdlib/update_img", &updateImage);
    router.add(base + "fdlib/del_img", &deleteImage);
    router.add(base + "fdlib/get_img", &findImage);
    router.add(base + "fdlib/extract", &extract);
    router.add(base + "fdlib/list_img", &listImages);
    router.add(base + "export_record", &exportRecords);
    router.add("/digest" + base + "fdlib/list_img", &listImages);
    router.add("/digest" + base + "fdlib/update_img", &updateImageWithStatus);
    router.add("/images/", &servePicture, kFetch);
}

}  // namespace camsim
