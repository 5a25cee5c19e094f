#include "state/feature_store.h"

#include "state/camera_codes.h"

namespace camsim {

std::vector<FeatureEntry> FeatureStore::entriesLocked(const std::string& set,
                                                      const std::string& id) const {
    std::vector<FeatureEntry> out;
    auto it = stored_.find({set, id});
    if (it != stored_.end()) out = it->second;
    for (const auto& image : faces_.extractedByUid(set, id)) {
        if (out.size() >= kMaxEntries) break;
        out.push_back({"", image.feature});
    }
    return out;
}

StoreResult FeatureStore::addForNewId(const std::string& set, const std::string& id,
                                      const std::vector<FeatureEntry>& entries) {
    if (!faces_.libraryExists(set)) return {code::kLibraryNotFound, {}, "feature set not found"};
    std::lock_guard<std::mutex> lock(mutex_);
    if (!entriesLocked(set, id).empty()) return {code::kIdentifierExists, {}, "id exists"};
    auto& stored = stored_[{set, id}];
    for (const auto& e : entries)
        if (stored.size() < kMaxEntries) stored.push_back(e);
    return {code::kSuccess, {}, "success"};
}

StoreResult FeatureStore::addToId(const std::string& set, const std::string& id,
                                  const std::vector<FeatureEntry>& entries) {
    if (!faces_.libraryExists(set)) return {code::kLibraryNotFound, {}, "feature set not found"};
    std::lock_guard<std::mutex> lock(mutex_);
    auto& stored = stored_[{set, id}];
    for (const auto& e : entries) {
        if (stored.size() >= kMaxEntries) stored.erase(stored.begin());
        stored.push_back(e);
    }
    return {code::kSuccess, {}, "success"};
}

StoreResult FeatureStore::list(const std::string& set, const std::string& id) const {
    if (!faces_.libraryExists(set)) return {code::kLibraryNotFound, {}, "feature set not found"};
    std::lock_guard<std::mutex> lock(mutex_);
    auto entries = entriesLocked(set, id);
    if (entries.empty()) return {code::kImageNotFound, {}, "no feature for id"};
    Json::Value data(Json::objectValue);
    data["features"] = Json::Value(Json::arrayValue);
    for (const auto& e : entries) {
        Json::Value item(Json::objectValue);
        item["url"] = e.url;
        item["feature"] = e.feature;
        data["features"].append(item);
    }
    return {code::kSuccess, data, "success"};
}

}  // namespace camsim
