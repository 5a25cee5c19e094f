#include "library/feature_set.h"

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "core/json_text.h"
#include "core/log.h"

namespace camlink {

namespace {

const char kFeatureTag[] = "LumenControl::LumenControlClient::featureResponsePaser";

// One piece of a feature text: leading blanks skipped, the longest decimal prefix, 0 if none.
int32_t pieceValue(const std::string& piece) {
    const char* start = piece.c_str();
    char* end = nullptr;
    errno = 0;
    long value = std::strtol(start, &end, 10);
    if (end == start) return 0;
    if (errno == ERANGE || value > INT32_MAX) return value > 0 ? INT32_MAX : INT32_MIN;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

Json::Value featureBody(const vcam_feature_set& set) {
    Json::Value body(Json::objectValue);
    body["id"] = fieldText(set.id);
    body["model_version"] = fieldText(set.model_version);
    body["set_name"] = fieldText(set.set_name);
    return body;
}

int requestResult(int parsed, int status) {
    return parsed >= 0 ? parsed : status;
}

}  // namespace

std::string writeFeatureText(const int32_t (&values)[kFeatureValues]) {
    std::string text;
    text.reserve(kFeatureValues * 6);
    for (int i = 0; i < kFeatureValues; ++i) {
        if (i) text += ',';
        text += std::to_string(values[i]);
    }
    return text;
}

void readFeatureText(const std::string& text, int32_t (&values)[kFeatureValues]) {
    std::memset(values, 0, sizeof values);
    size_t start = 0;
    for (int i = 0; i < kFeatureValues && start <= text.size(); ++i) {
        size_t comma = text.find(',', start);
        const size_t end = comma == std::string::npos ? text.size() : comma;
        values[i] = pieceValue(text.substr(start, end - start));
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
}

int featureResponsePaser(const std::string& reply, vcam_feature_set& set) {
    CAMLINK_LOG(kLogInfo, kFeatureTag) << "Get feature response: " << reply;
    std::optional<Json::Value> root = parseJson(reply);
    if (!root || !root->isObject()) {
        copyField(set.message, reply);
        return -1;
    }
    copyField(set.message, readText(*root, "msg"));
    const Json::Value& features = memberOf(memberOf(*root, "data"), "features");
    const int listed = features.isArray() ? static_cast<int>(features.size()) : 0;
    set.count = listed;
    for (int i = 0; i < kFeatureEntries && i < listed; ++i) {
        const Json::Value& entry = features[i];
        copyField(set.entries[i].url, readText(entry, "url"));
        readFeatureText(readText(entry, "feature"), set.entries[i].values);
    }
    const int64_t code = readInteger(*root, "code", 0);
    return code < INT32_MIN || code > INT32_MAX ? -1 : static_cast<int>(code);
}

void fillFeatures(Json::Value& reply, const FeatureLookup& lookup) {
    // Looked up before indexing: the non-const index would add the members it misses, and the
    // reply goes back as the camera wrote it.
    const Json::Value& listed = memberOf(memberOf(reply, "data"), "record");
    if (!listed.isArray() && !listed.isObject()) return;
    for (Json::Value& element : reply["data"]["record"]) {
        if (!element.isObject()) continue;
        const bool extracted = readInteger(element, "status") == 1;
        element["feature"] =
            extracted ? lookup(readText(element, "libid"), readText(element, "uid")) : "";
    }
}

int addFeatures(LumenControl::LumenControlClient& client, const char* path, vcam_feature_set& set) {
    Json::Value body = featureBody(set);
    body["features"] = Json::Value(Json::arrayValue);
    for (int i = 0; i < set.count && i < kFeatureEntries; ++i) {
        Json::Value entry(Json::objectValue);
        entry["url"] = fieldText(set.entries[i].url);
        entry["feature"] = writeFeatureText(set.entries[i].values);
        body["features"].append(entry);
    }
    std::string response;
    const int status = client.httpPost(path, compactJson(body), response);
    return requestResult(featureResponsePaser(response, set), status);
}

int listFeatures(LumenControl::LumenControlClient& client, vcam_feature_set& set) {
    std::string response;
    const int status =
        client.httpPost("/api/v1/recognize/list/features", compactJson(featureBody(set)), response);
    return requestResult(featureResponsePaser(response, set), status);
}

}  // namespace camlink
