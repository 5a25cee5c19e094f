// Feature vectors stored by identifier, as the first-generation record transfer adds and
// lists them. Vectors of extracted pictures count as stored under the picture's uid.
#pragma once

#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "state/face_store.h"

namespace camsim {

struct FeatureEntry {
    std::string url;
    std::string feature;
};

class FeatureStore {
public:
    static constexpr size_t kMaxEntries = 5;

    explicit FeatureStore(const FaceStore& faces) : faces_(faces) {}

    // add/id: refuses an identifier that already has features (1020).
    StoreResult addForNewId(const std::string& set, const std::string& id,
                            const std::vector<FeatureEntry>& entries);
    // add/features: appends to an identifier, keeping at most kMaxEntries.
    StoreResult addToId(const std::string& set, const std::string& id,
                        const std::vector<FeatureEntry>& entries);
    StoreResult list(const std::string& set, const std::string& id) const;

private:
    std::vector<FeatureEntry> entriesLocked(const std::string& set, const std::string& id) const;

    const FaceStore& faces_;
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::vector<FeatureEntry>> stored_;
};

}  // namespace camsim
