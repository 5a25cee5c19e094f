// The asynchronous feature extraction of FaceStore: one worker at a time, one picture per
// delay, usable pictures end extracted and unusable ones failed.
#include "state/camera_codes.h"
#include "state/face_store.h"

namespace camsim {

StoreResult FaceStore::startExtraction(const std::string& libid, std::optional<int64_t> imgid) {
    std::vector<int64_t> ids;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (extracting_.load())
            return {code::kExtractionRunning, Json::Value(), "extraction running"};
        if (locked_) return {code::kStoreLocked, Json::Value(), "library store locked"};
        LibraryRecord* lib = findLocked(libid);
        if (!lib) return {code::kLibraryNotFound, Json::Value(), "library not found"};
        if (imgid) {
            if (!lib->images.count(*imgid))
                return {code::kImageNotFound, Json::Value(), "image not found"};
            ids.push_back(*imgid);
        } else {
            for (const auto& [id, image] : lib->images)
                if (image.status != kImageStatusExtracted) ids.push_back(id);
        }
        extracting_ = true;
        stopRequested_ = false;
    }
    joinWorker();  // a finished earlier worker
    worker_ = std::thread(&FaceStore::extractionLoop, this, libid, std::move(ids));
    return {code::kSuccess, Json::Value(), "success"};
}

void FaceStore::extractionLoop(std::string libid, std::vector<int64_t> ids) {
    for (int64_t id : ids) {
        std::unique_lock<std::mutex> lock(mutex_);
        if (stopCv_.wait_for(lock, extractDelay_, [this] { return stopRequested_; })) break;
        LibraryRecord* lib = findLocked(libid);
        if (!lib) break;  // deleted meanwhile
        auto it = lib->images.find(id);
        if (it == lib->images.end()) continue;
        ImageRecord& image = it->second;
        bool usable =
            !image.bytes.empty() && image.width >= kMinUsableSide && image.height >= kMinUsableSide;
        image.status = usable ? kImageStatusExtracted : kImageStatusFailed;
        image.feature = usable ? computeFeature(image.bytes) : "";
        image.featureAttr = usable ? 1 : 0;
        image.modelVersion = usable ? "0.0.8" : "";
        dirty_ = true;
    }
    extracting_ = false;
}

void FaceStore::joinWorker() {
    if (worker_.joinable()) worker_.join();
}

void FaceStore::stopExtraction() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopRequested_ = true;
    }
    stopCv_.notify_all();
    joinWorker();
    extracting_ = false;
}

}  // namespace camsim
