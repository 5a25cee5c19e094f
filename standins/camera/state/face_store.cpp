#include "state/face_store.h"

#include <algorithm>

#include "state/camera_codes.h"
#include "util/crypto.h"
#include "util/jpeg.h"

namespace camsim {

namespace {

StoreResult fail(int code, const char* msg) {
    return StoreResult{code, Json::Value(), msg};
}
StoreResult ok(Json::Value data = Json::Value()) {
    return StoreResult{0, std::move(data), "success"};
}

const char* const kExtNames[5] = {"ext1", "ext2", "ext3", "ext4", "ext5"};

// A field matches a filter when the filter value occurs in it (the search box of a client).
const std::string* filterField(const ImageRecord& image, const std::string& name) {
    if (name == "name") return &image.name;
    if (name == "uid") return &image.uid;
    for (int i = 0; i < 5; ++i)
        if (name == kExtNames[i]) return &image.ext[i];
    return nullptr;
}

bool matches(const ImageRecord& image, const std::vector<ImageFilter>& filters) {
    for (const auto& f : filters) {
        const std::string* field = filterField(image, f.name);
        if (field && field->find(f.value) == std::string::npos) return false;
    }
    return true;
}

}  // namespace

std::string computeFeature(const std::string& pictureBytes) {
    // Deterministic per picture, so that the same photograph gives the same vector everywhere.
    std::string digest = md5HexUpper(pictureBytes);
    uint64_t state = std::stoull(digest.substr(0, 16), nullptr, 16) | 1;
    std::string text;
    for (int i = 0; i < 128; ++i) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        int value = static_cast<int>(state % 2001) - 1000;
        if (i) text += ',';
        text += std::to_string(value);
    }
    return text;
}

FaceStore::FaceStore(std::string urlPrefix, int extractMsPerImage, size_t maxImageBytes)
    : urlPrefix_(std::move(urlPrefix)),
      extractDelay_(std::max(0, extractMsPerImage)),
      maxImageBytes_(maxImageBytes) {}

FaceStore::~FaceStore() {
    stopExtraction();
}

LibraryRecord* FaceStore::findLocked(const std::string& libid) {
    for (auto& lib : libraries_)
        if (lib.libid == libid) return &lib;
    return nullptr;
}

const LibraryRecord* FaceStore::findLocked(const std::string& libid) const {
    for (const auto& lib : libraries_)
        if (lib.libid == libid) return &lib;
    return nullptr;
}

std::string FaceStore::urlOf(const ImageRecord& image) const {
    if (image.bytes.empty()) return "";
    return urlPrefix_ + "/images/" + std::to_string(image.imgid) + ".jpg";
}

Json::Value FaceStore::libraryJson(const LibraryRecord& lib) const {
    Json::Value v(Json::objectValue);
    v["libid"] = lib.libid;
    v["name"] = lib.name;
    v["threshold"] = lib.threshold;
    int extracted = 0, failed = 0;
    for (const auto& [id, image] : lib.images) {
        extracted += image.status == kImageStatusExtracted;
        failed += image.status == kImageStatusFailed;
    }
    v["imgnum"] = static_cast<int>(lib.images.size());
    v["extractnum"] = extracted;
    v["errornum"] = failed;
    return v;
}

Json::Value FaceStore::imageJson(const ImageRecord& image, bool withFeature) const {
    Json::Value v(Json::objectValue);
    v["imgid"] = static_cast<Json::Int64>(image.imgid);
    v["libid"] = image.libid;
    v["uid"] = image.uid;
    v["name"] = image.name;
    for (int i = 0; i < 5; ++i)
        v[kExtNames[i]] = image.ext[i];
    v["url"] = urlOf(image);
    v["status"] = image.status;
    if (withFeature) {
        v["feature"] = image.status == kImageStatusExtracted ? image.feature : "";
        v["feature_attr"] = static_cast<Json::Int64>(image.featureAttr);
        v["model_version"] = image.modelVersion;
    }
    return v;
}

StoreResult FaceStore::createLibrary(const std::string& name, int threshold) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    if (static_cast<int>(libraries_.size()) >= kMaxLibraries)
        return fail(code::kLibraryLimit, "library limit reached");
    for (const auto& lib : libraries_)
        if (lib.name == name) return fail(code::kIdentifierExists, "library name exists");
    LibraryRecord lib;
    lib.libid = std::to_string(nextLibno_++);
    lib.name = name;
    lib.threshold = threshold;
    libraries_.push_back(lib);
    dirty_ = true;
    Json::Value data(Json::objectValue);
    data["libid"] = lib.libid;
    return ok(data);
}

StoreResult FaceStore::updateLibrary(const std::string& libid, const std::string& name,
                                     int threshold) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    for (const auto& other : libraries_)
        if (other.libid != libid && other.name == name)
            return fail(code::kIdentifierExists, "library name exists");
    lib->name = name;
    lib->threshold = threshold;
    dirty_ = true;
    return ok();
}

StoreResult FaceStore::deleteLibrary(const std::string& libid) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    auto it = std::find_if(libraries_.begin(), libraries_.end(),
                           [&](const LibraryRecord& lib) { return lib.libid == libid; });
    if (it == libraries_.end()) return fail(code::kLibraryNotFound, "library not found");
    libraries_.erase(it);
    dirty_ = true;
    return ok();
}

StoreResult FaceStore::findLibrary(const std::string& libid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    return ok(libraryJson(*lib));
}

StoreResult FaceStore::listLibraries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    Json::Value list(Json::arrayValue);
    for (const auto& lib : libraries_)
        list.append(libraryJson(lib));
    return ok(list);
}

StoreResult FaceStore::deleteAllImages(const std::string& libid) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    lib->images.clear();
    dirty_ = true;
    return ok();
}

StoreResult FaceStore::lock() {
    std::lock_guard<std::mutex> guard(mutex_);
    locked_ = true;
    return ok();
}

StoreResult FaceStore::unlock() {
    std::lock_guard<std::mutex> guard(mutex_);
    locked_ = false;
    return ok();
}

StoreResult FaceStore::addImage(const NewImage& in) {
    std::optional<JpegInfo> jpeg;
    if (!in.bytes.empty()) {
        if (in.bytes.size() > maxImageBytes_) return fail(code::kUnusableImage, "image too large");
        jpeg = inspectJpeg(in.bytes);
        if (!jpeg) return fail(code::kUnusableImage, "not a JPEG picture");
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    LibraryRecord* lib = findLocked(in.libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    if (in.requireUniqueUid && !in.uid.empty())
        for (const auto& [id, image] : lib->images)
            if (image.uid == in.uid) return fail(code::kIdentifierExists, "uid exists");
    ImageRecord image;
    image.imgid = nextImgid_++;
    image.libid = in.libid;
    image.uid = in.uid;
    image.name = in.name;
    image.ext = in.ext;
    image.status = in.status;
    image.feature = in.feature;
    image.featureAttr = in.featureAttr;
    image.modelVersion = in.modelVersion;
    image.bytes = in.bytes;
    image.md5 = md5HexUpper(in.bytes);
    if (jpeg) {
        image.width = jpeg->width;
        image.height = jpeg->height;
    }
    lib->images.emplace(image.imgid, image);
    dirty_ = true;
    Json::Value data(Json::objectValue);
    data["imgid"] = static_cast<Json::Int64>(image.imgid);
    return ok(data);
}

StoreResult FaceStore::updateImage(int64_t imgid, const std::string& libid,
                                   const Json::Value& fields) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    auto it = lib->images.find(imgid);
    if (it == lib->images.end()) return fail(code::kImageNotFound, "image not found");
    ImageRecord& image = it->second;
    if (fields.isMember("uid")) image.uid = fields["uid"].asString();
    if (fields.isMember("name")) image.name = fields["name"].asString();
    for (int i = 0; i < 5; ++i)
        if (fields.isMember(kExtNames[i])) image.ext[i] = fields[kExtNames[i]].asString();
    if (fields.isMember("status")) image.status = fields["status"].asInt();
    dirty_ = true;
    return ok();
}

StoreResult FaceStore::deleteImage(int64_t imgid, const std::string& libid) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (locked_) return fail(code::kStoreLocked, "library store locked");
    LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    if (lib->images.erase(imgid) == 0) return fail(code::kImageNotFound, "image not found");
    dirty_ = true;
    return ok();
}

StoreResult FaceStore::findImage(int64_t imgid, const std::string& libid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    auto it = lib->images.find(imgid);
    if (it == lib->images.end()) return fail(code::kImageNotFound, "image not found");
    return ok(imageJson(it->second, true));
}

StoreResult FaceStore::listImages(const std::string& libid, int pageNum, int pageSize,
                                  const std::vector<ImageFilter>& filters,
                                  bool withFeatures) const {
    std::lock_guard<std::mutex> lock(mutex_);
    const LibraryRecord* lib = findLocked(libid);
    if (!lib) return fail(code::kLibraryNotFound, "library not found");
    Json::Value records(Json::arrayValue);
    int64_t total = 0;
    const int64_t first = static_cast<int64_t>(pageNum - 1) * pageSize;
    for (const auto& [id, image] : lib->images) {
        if (!matches(image, filters)) continue;
        if (total >= first && total < first + pageSize)
            records.append(imageJson(image, withFeatures));
        ++total;
    }
    Json::Value data(Json::objectValue);
    data["pagination"]["page_num"] = pageNum;
    data["pagination"]["page_size"] = pageSize;
    data["pagination"]["total"] = static_cast<Json::Int64>(total);
    data["record"] = records;
    return ok(data);
}

std::optional<std::string> FaceStore::pictureBytes(int64_t imgid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const auto& lib : libraries_) {
        auto it = lib.images.find(imgid);
        if (it != lib.images.end() && !it->second.bytes.empty()) return it->second.bytes;
    }
    return std::nullopt;
}

std::vector<ImageRecord> FaceStore::extractedByUid(const std::string& libid,
                                                   const std::string& uid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<ImageRecord> out;
    if (const LibraryRecord* lib = findLocked(libid))
        for (const auto& [id, image] : lib->images)
            if (image.uid == uid && image.status == kImageStatusExtracted) out.push_back(image);
    return out;
}

bool FaceStore::libraryExists(const std::string& libid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return findLocked(libid) != nullptr;
}

std::vector<LibraryRecord> FaceStore::snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return libraries_;
}

void FaceStore::restore(std::vector<LibraryRecord> libraries, int64_t nextImgid,
                        int64_t nextLibno) {
    std::lock_guard<std::mutex> lock(mutex_);
    libraries_ = std::move(libraries);
    nextImgid_ = nextImgid;
    nextLibno_ = nextLibno;
}

int64_t FaceStore::nextImgid() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return nextImgid_;
}

int64_t FaceStore::nextLibno() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return nextLibno_;
}

LibraryCounts FaceStore::counts(const std::string& libid) const {
    std::lock_guard<std::mutex> lock(mutex_);
    LibraryCounts c;
    if (const LibraryRecord* lib = findLocked(libid)) {
        Json::Value v = libraryJson(*lib);
        c = {v["imgnum"].asInt(), v["extractnum"].asInt(), v["errornum"].asInt()};
    }
    return c;
}

bool FaceStore::locked() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return locked_;
}

bool FaceStore::takeDirty() {
    std::lock_guard<std::mutex> lock(mutex_);
    bool was = dirty_;
    dirty_ = false;
    return was;
}

}  // namespace camsim
