// The face libraries of one camera: at most two libraries, their pictures, the store lock and
// the asynchronous feature extraction.
#pragma once

#include <json/json.h>

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace camsim {

constexpr int kMaxLibraries = 2;
constexpr int kImageStatusNone = 0;
constexpr int kImageStatusExtracted = 1;
constexpr int kImageStatusFailed = 2;
// Smaller pictures hold no face the camera can use.
constexpr int kMinUsableSide = 100;

struct ImageRecord {
    int64_t imgid = 0;
    std::string libid;
    std::string uid;
    std::string name;
    std::array<std::string, 5> ext;
    int status = kImageStatusNone;
    std::string feature;
    int64_t featureAttr = 0;
    std::string modelVersion;
    std::string bytes;  // the picture; empty for records imported without one
    std::string md5;
    int width = 0;
    int height = 0;
};

struct LibraryRecord {
    std::string libid;
    std::string name;
    int threshold = 0;
    std::map<int64_t, ImageRecord> images;  // ordered by imgid
};

struct LibraryCounts {
    int imgnum = 0;
    int extractnum = 0;
    int errornum = 0;
};

// Outcome of an operation: a camera code and the reply's "data" (null when none).
struct StoreResult {
    int code = 0;
    Json::Value data;
    std::string msg;
};

// A new picture or record as it arrives from a request.
struct NewImage {
    std::string libid;
    std::string uid;
    std::string name;
    std::array<std::string, 5> ext;
    int status = kImageStatusNone;
    std::string feature;
    int64_t featureAttr = 0;
    std::string modelVersion;
    std::string bytes;
    bool requireUniqueUid = false;
};

struct ImageFilter {
    std::string name;
    std::string value;
};

class FaceStore {
public:
    // `urlPrefix` is what image URLs handed out start with, e.g. "http://127.0.0.2:8089".
    FaceStore(std::string urlPrefix, int extractMsPerImage, size_t maxImageBytes);
    ~FaceStore();
    FaceStore(const FaceStore&) = delete;
    FaceStore& operator=(const FaceStore&) = delete;

    StoreResult createLibrary(const std::string& name, int threshold);
    StoreResult updateLibrary(const std::string& libid, const std::string& name, int threshold);
    StoreResult deleteLibrary(const std::string& libid);
    StoreResult findLibrary(const std::string& libid) const;
    StoreResult listLibraries() const;
    StoreResult deleteAllImages(const std::string& libid);
    StoreResult lock();
    StoreResult unlock();

    StoreResult addImage(const NewImage& image);
    StoreResult updateImage(int64_t imgid, const std::string& libid, const Json::Value& fields);
    StoreResult deleteImage(int64_t imgid, const std::string& libid);
    StoreResult findImage(int64_t imgid, const std::string& libid) const;
    // withFeatures: the export form of the records (feature, attribute, model version).
    StoreResult listImages(const std::string& libid, int pageNum, int pageSize,
                           const std::vector<ImageFilter>& filters, bool withFeatures) const;
    StoreResult startExtraction(const std::string& libid, std::optional<int64_t> imgid);
    bool extractionRunning() const { return extracting_.load(); }

    // Picture bytes by image identifier (served image URLs).
    std::optional<std::string> pictureBytes(int64_t imgid) const;
    // Image records of a library whose uid matches, with status extracted.
    std::vector<ImageRecord> extractedByUid(const std::string& libid, const std::string& uid) const;
    bool libraryExists(const std::string& libid) const;

    // Inspection and persistence.
    std::vector<LibraryRecord> snapshot() const;
    void restore(std::vector<LibraryRecord> libraries, int64_t nextImgid, int64_t nextLibno);
    int64_t nextImgid() const;
    int64_t nextLibno() const;
    LibraryCounts counts(const std::string& libid) const;
    bool locked() const;
    // Set whenever a change was made; cleared by whoever persists the state.
    bool takeDirty();

    // Stops a running extraction (camera shutdown).
    void stopExtraction();

private:
    LibraryRecord* findLocked(const std::string& libid);
    const LibraryRecord* findLocked(const std::string& libid) const;
    Json::Value libraryJson(const LibraryRecord& lib) const;
    Json::Value imageJson(const ImageRecord& image, bool withFeature) const;
    std::string urlOf(const ImageRecord& image) const;
    void extractionLoop(std::string libid, std::vector<int64_t> ids);
    void joinWorker();

    const std::string urlPrefix_;
    const std::chrono::milliseconds extractDelay_;
    const size_t maxImageBytes_;

    mutable std::mutex mutex_;
    std::vector<LibraryRecord> libraries_;
    int64_t nextImgid_ = 1001;
    int64_t nextLibno_ = 1;
    bool locked_ = false;
    bool dirty_ = false;

    std::atomic<bool> extracting_{false};
    bool stopRequested_ = false;
    std::condition_variable stopCv_;
    std::thread worker_;
};

// The feature vector the camera computes for a picture: 128 integers derived from its bytes.
std::string computeFeature(const std::string& pictureBytes);

}  // namespace camsim
