#include "state/persistence.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "util/crypto.h"
#include "util/jpeg.h"
#include "util/json_util.h"

namespace camsim {

namespace fs = std::filesystem;

namespace {

const char* const kExt[5] = {"ext1", "ext2", "ext3", "ext4", "ext5"};
constexpr uintmax_t kMaxStateBytes = 64u * 1024 * 1024;

Json::Value imageToJson(const ImageRecord& image) {
    Json::Value v(Json::objectValue);
    v["imgid"] = static_cast<Json::Int64>(image.imgid);
    v["uid"] = image.uid;
    v["name"] = image.name;
    for (int i = 0; i < 5; ++i)
        v[kExt[i]] = image.ext[i];
    v["status"] = image.status;
    v["feature"] = image.feature;
    v["feature_attr"] = static_cast<Json::Int64>(image.featureAttr);
    v["model_version"] = image.modelVersion;
    v["has_picture"] = !image.bytes.empty();
    return v;
}

bool writeFileAtomically(const fs::path& path, const std::string& bytes) {
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    }
    std::error_code ec;
    fs::rename(temp, path, ec);
    return !ec;
}

// Only names saveState itself writes: digits then ".jpg".
bool isPictureName(const std::string& name) {
    const std::string ext = ".jpg";
    if (name.size() <= ext.size() || name.compare(name.size() - ext.size(), ext.size(), ext) != 0)
        return false;
    return name.find_first_not_of("0123456789") == name.size() - ext.size();
}

// Pictures of images deleted since the last save; without this the folder only grows.
void removePicturesNotIn(const fs::path& images, const std::set<std::string>& kept) {
    std::error_code ec;
    std::vector<fs::path> unused;
    for (fs::directory_iterator it(images, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        std::error_code typeError;
        if (isPictureName(name) && !kept.count(name) &&
            fs::is_regular_file(it->symlink_status(typeError)))
            unused.push_back(it->path());
    }
    for (const auto& path : unused)
        fs::remove(path, ec);
}

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ImageRecord imageFromJson(const Json::Value& v, const std::string& libid, const fs::path& images) {
    ImageRecord image;
    image.imgid = v["imgid"].asInt64();
    image.libid = libid;
    image.uid = v["uid"].asString();
    image.name = v["name"].asString();
    for (int i = 0; i < 5; ++i)
        image.ext[i] = v[kExt[i]].asString();
    image.status = v["status"].asInt();
    image.feature = v["feature"].asString();
    image.featureAttr = v["feature_attr"].asInt64();
    image.modelVersion = v["model_version"].asString();
    if (v["has_picture"].asBool()) {
        image.bytes = readFile(images / (std::to_string(image.imgid) + ".jpg"));
        image.md5 = md5HexUpper(image.bytes);
        if (auto jpeg = inspectJpeg(image.bytes)) {
            image.width = jpeg->width;
            image.height = jpeg->height;
        }
    }
    return image;
}

}  // namespace

static std::string loadStateOrThrow(const std::string& dir, FaceStore& faces, ModuleStore& modules);

std::string saveState(const std::string& dir, const FaceStore& faces, const ModuleStore& modules) {
    std::error_code ec;
    fs::path images = fs::path(dir) / "images";
    fs::create_directories(images, ec);
    if (ec) return "cannot create " + images.string() + ": " + ec.message();
    std::set<std::string> pictures;
    Json::Value root(Json::objectValue);
    root["next_imgid"] = static_cast<Json::Int64>(faces.nextImgid());
    root["next_libno"] = static_cast<Json::Int64>(faces.nextLibno());
    root["modules"] = modules.snapshot();
    root["libraries"] = Json::Value(Json::arrayValue);
    for (const auto& lib : faces.snapshot()) {
        Json::Value l(Json::objectValue);
        l["libid"] = lib.libid;
        l["name"] = lib.name;
        l["threshold"] = lib.threshold;
        l["images"] = Json::Value(Json::arrayValue);
        for (const auto& [id, image] : lib.images) {
            l["images"].append(imageToJson(image));
            if (image.bytes.empty()) continue;
            const std::string name = std::to_string(id) + ".jpg";
            pictures.insert(name);
            fs::path picture = images / name;
            if (!fs::exists(picture) && !writeFileAtomically(picture, image.bytes))
                return "cannot write " + picture.string();
        }
        root["libraries"].append(l);
    }
    if (!writeFileAtomically(fs::path(dir) / "state.json", writeCompact(root)))
        return "cannot write " + (fs::path(dir) / "state.json").string();
    // Only now: until the new state.json is in place the old one may still name them.
    removePicturesNotIn(images, pictures);
    return "";
}

std::string loadState(const std::string& dir, FaceStore& faces, ModuleStore& modules) {
    try {
        return loadStateOrThrow(dir, faces, modules);
    } catch (const Json::Exception&) {
        return (fs::path(dir) / "state.json").string() + " is damaged";
    }
}

std::string loadStateOrThrow(const std::string& dir, FaceStore& faces, ModuleStore& modules) {
    fs::path file = fs::path(dir) / "state.json";
    std::error_code ec;
    if (!fs::exists(file, ec)) return "";
    if (fs::file_size(file, ec) > kMaxStateBytes) return file.string() + " is too large";
    auto root = parseJson(readFile(file));
    if (!root || !root->isObject() || !(*root)["libraries"].isArray())
        return file.string() + " is damaged";
    std::vector<LibraryRecord> libraries;
    for (const auto& l : (*root)["libraries"]) {
        if (libraries.size() >= static_cast<size_t>(kMaxLibraries)) break;
        LibraryRecord lib;
        lib.libid = l["libid"].asString();
        lib.name = l["name"].asString();
        lib.threshold = l["threshold"].asInt();
        for (const auto& v : l["images"]) {
            ImageRecord image = imageFromJson(v, lib.libid, fs::path(dir) / "images");
            lib.images.emplace(image.imgid, image);
        }
        libraries.push_back(lib);
    }
    faces.restore(libraries, (*root)["next_imgid"].asInt64(), (*root)["next_libno"].asInt64());
    modules.restore((*root)["modules"]);
    return "";
}

}  // namespace camsim
