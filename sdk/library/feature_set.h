// Feature vectors of the first-generation record transfer: the 128-integer feature text, the
// set sent to and read from the camera's feature store, and the requests that carry it.
#pragma once

#include <json/json.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/client.h"

namespace camlink {

constexpr int kFeatureValues = 128;
constexpr int kFeatureEntries = 5;
using FeatureVector = std::array<int32_t, kFeatureValues>;

struct vcam_feature_entry {
    char url[256];
    int32_t values[kFeatureValues];
};

struct vcam_feature_set {
    char set_name[48];        // the library identifier
    char model_version[256];  // always "0.0.8" in these calls
    char id[48];              // the record's uid
    int32_t count;            // entries sent, or entries the camera listed
    vcam_feature_entry entries[kFeatureEntries];
    char message[4096];  // the reply's "msg", or the raw reply when it is not JSON
};

// "v0,v1,...,v127": signed decimals, no spaces, no trailing comma.
std::string writeFeatureText(const int32_t (&values)[kFeatureValues]);
// Splits on commas, at most 128 pieces, each read as a decimal (leading blanks skipped,
// stopping at the first character that is not part of the number, 0 when none); values the
// text does not reach are 0.
void readFeatureText(const std::string& text, int32_t (&values)[kFeatureValues]);

// Reads a feature reply into the set: the camera's "code", or -1 when it is not JSON.
int featureResponsePaser(const std::string& reply, vcam_feature_set& set);

// The feature text stored for a listed record of the given library and uid; empty when none.
using FeatureLookup = std::function<std::string(const std::string& libid, const std::string& uid)>;
// The first-generation export's reading of a list reply: every element of "data" → "record"
// (an array or an object) gets its "feature" member, asked of `lookup` when its "status" is 1
// and empty otherwise. Anything else in the reply stays as the camera wrote it.
void fillFeatures(Json::Value& reply, const FeatureLookup& lookup);

// "/api/v1/recognize/add/id" or "/api/v1/recognize/add/features" with the set's first `count`
// entries (at most 5); the parse result when it is 0 or more, else the transport's result.
int addFeatures(LumenControl::LumenControlClient& client, const char* path, vcam_feature_set& set);
// "/api/v1/recognize/list/features" for the set's id; the listed entries fill the set.
int listFeatures(LumenControl::LumenControlClient& client, vcam_feature_set& set);

}  // namespace camlink
