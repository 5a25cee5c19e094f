// Second generation: the camera produces and accepts complete records; the records pass
// through unread.
#include <cstdio>
#include <memory>
#include <string>

#include "core/call_support.h"
#include "core/file_handle.h"
#include "core/http_transport.h"
#include "core/json_text.h"
#include "library/record_calls.h"
#include "library/record_fields.h"

namespace camlink {

namespace {

// Record order: the person fields, then feature, url and path.
bool v2FieldsTerminated(const vcam_record_v2& r) {
    return personFieldsTerminated(r) && terminated(r.feature) && terminated(r.url) &&
           terminated(r.path);
}

Json::Value v2Body(const vcam_record_v2& r) {
    Json::Value b(Json::objectValue);
    putPersonFields(b, r);
    b["status"] = static_cast<Json::Int64>(r.status);
    b["url"] = fieldText(r.url);
    b["feature"] = fieldText(r.feature);
    b["feature_attr"] = static_cast<Json::Int64>(r.feature_attr);
    b["model_version"] = fieldText(r.model_version);
    return b;
}

// The picture as Base64; VCAM_ERR_ARGUMENT when it cannot be read or is too large to hold.
int encodePicture(const std::string& path, std::string& encoded) {
    File file = openFile(path.c_str(), "rb");
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0) return VCAM_ERR_ARGUMENT;
    const long length = std::ftell(file.get());
    if (length < 0 || length > kMaxImportPictureBytes) return VCAM_ERR_ARGUMENT;
    std::rewind(file.get());
    std::unique_ptr<char[]> bytes(new (std::nothrow) char[length > 0 ? length : 1]);
    if (!bytes) return VCAM_ERR_UPGRADE_FAILED;  // the documented result for no memory here
    if (std::fread(bytes.get(), 1, static_cast<size_t>(length), file.get()) !=
        static_cast<size_t>(length))
        return VCAM_ERR_ARGUMENT;
    file.reset();
    encoded = LumenNetwork::base64Encode(bytes.get(), static_cast<size_t>(length));
    return 0;
}

}  // namespace

int exportRecordV2(LumenControl::LumenControlClient& client, vcam_image_query& query) {
    if (!terminated(query.libid) || query.page_size < 1) return VCAM_ERR_ARGUMENT;
    Json::Value body(Json::objectValue);
    body["libid"] = fieldText(query.libid);
    body["page_num"] = query.page_num;
    body["page_size"] = query.page_size;
    std::string response;
    const int status =
        client.httpPost("/api/v1/recognize/export_record", compactJson(body), response);
    return handBackText(client, status, response, &query.reply, "ipcGenLibExportRecord_v2");
}

int importRecordV2(LumenControl::LumenControlClient& client, vcam_record_v2& record) {
    if (!v2FieldsTerminated(record)) return VCAM_ERR_ARGUMENT;
    Json::Value body = v2Body(record);
    if (record.path[0] != '\0') {
        std::string encoded;
        if (int rc = encodePicture(fieldText(record.path), encoded); rc != 0) return rc;
        body["img_data"] = std::move(encoded);
    }
    std::string response;
    const int status =
        client.httpPost("/api/v1/recognize/import_record", compactJson(body), response);
    return handBackText(client, status, response, &record.reply, "ipcGenLibImportRecord_v2");
}

}  // namespace camlink
