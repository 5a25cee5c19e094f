// First generation: the library assembles records itself from the camera's image list and
// its feature store.
#include <cstdint>
#include <cstring>
#include <string>

#include "core/call_support.h"
#include "core/json_text.h"
#include "library/feature_set.h"
#include "library/library_calls.h"
#include "library/record_calls.h"
#include "library/record_fields.h"

namespace camlink {

namespace {

constexpr const char* kExportTag = "ipcGenLibExportRecord";
constexpr const char* kImportTag = "ipcGenLibImportRecord";
constexpr const char* kModelVersion = "0.0.8";

vcam_feature_set featureSet(const std::string& setName, const std::string& id) {
    vcam_feature_set set;
    std::memset(&set, 0, sizeof set);
    copyField(set.set_name, setName);
    copyField(set.model_version, kModelVersion);
    copyField(set.id, id);
    return set;
}

// The 128 values the camera stores for a listed record, as text; empty when none.
std::string storedFeature(LumenControl::LumenControlClient& client, const std::string& libid,
                          const std::string& uid) {
    vcam_feature_set set = featureSet(libid, uid);
    if (listFeatures(client, set) != 0) return "";
    return writeFeatureText(set.entries[0].values);
}

// The picture's URL on the camera, from the image lookup; 0 or the failure's result.
int lookupUrl(LumenControl::LumenControlClient& client, const vcam_image_record& record,
              std::string& url) {
    vcam_image_record lookup;
    std::memset(&lookup, 0, sizeof lookup);
    std::memcpy(lookup.libid, record.libid, sizeof lookup.libid);
    lookup.imgid = record.imgid;
    if (int rc = runLibraryCall(client, kFindImage, lookup); rc != 0) return rc;
    std::optional<Json::Value> reply = parseJson(lookup.reply ? lookup.reply : "");
    if (!reply || !reply->isObject()) return VCAM_ERR_REPLY;
    const int64_t code = readInteger(*reply, "code");
    if (code != 0)
        return code > INT32_MIN && code < INT32_MAX ? static_cast<int>(code) : VCAM_ERR_REPLY;
    url = readText((*reply)["data"], "url");
    return 0;
}

// Puts the record's feature into the camera's store under its uid: add by identifier, and
// when the identifier exists already, add to it.
int storeFeature(LumenControl::LumenControlClient& client, const vcam_image_record& record) {
    std::string url;
    if (int rc = lookupUrl(client, record, url); rc != 0) return rc;
    vcam_feature_set set = featureSet(fieldText(record.libid), fieldText(record.uid));
    set.count = 1;
    copyField(set.entries[0].url, url);
    readFeatureText(fieldText(record.feature), set.entries[0].values);
    // Reading the answer refills the set (count, entries), so the second request is built from
    // a copy of what the first one sent.
    const vcam_feature_set sent = set;
    int rc = addFeatures(client, "/api/v1/recognize/add/id", set);
    if (rc == 1020) {
        set = sent;
        rc = addFeatures(client, "/api/v1/recognize/add/features", set);
    }
    return rc;
}

Json::Value updateWithStatusBody(const vcam_image_record& r) {
    Json::Value b(Json::objectValue);
    putPersonFields(b, r);
    b["status"] = static_cast<Json::Int64>(r.status);
    return b;
}

}  // namespace

int exportRecordV1(LumenControl::LumenControlClient& client, vcam_image_query& query) {
    if (!terminated(query.libid)) return VCAM_ERR_ARGUMENT;
    std::string response;
    const int status = client.httpPost("/digest/api/v1/recognize/fdlib/list_img",
                                       compactJson(imageQueryBody(query)), response);
    if (status != 200) return handBackText(client, status, response, &query.reply, kExportTag);
    std::optional<Json::Value> reply = parseJson(response);
    if (!reply) return handBackText(client, status, response, &query.reply, kExportTag);
    fillFeatures(*reply, [&client](const std::string& libid, const std::string& uid) {
        return storedFeature(client, libid, uid);
    });
    return handBackText(client, status, compactJson(*reply), &query.reply, kExportTag);
}

int importRecordV1(LumenControl::LumenControlClient& client, vcam_image_record& record) {
    if (!personFieldsTerminated(record)) return VCAM_ERR_ARGUMENT;
    if (record.status == 1) {
        if (int rc = storeFeature(client, record); rc != 0) return rc;
    }
    std::string response;
    const int status = client.httpPost("/digest/api/v1/recognize/fdlib/update_img",
                                       compactJson(updateWithStatusBody(record)), response);
    return handBackText(client, status, response, &record.reply, kImportTag);
}

}  // namespace camlink
