#include "library/library_calls.h"

#include "core/call_support.h"
#include "core/json_text.h"
#include "library/record_fields.h"

namespace camlink {

namespace {

using Lib = vcam_library_record;
using Img = vcam_image_record;

bool libidOf(const Lib& r) {
    return terminated(r.libid);
}
bool nameOf(const Lib& r) {
    return terminated(r.name);
}
bool libidAndName(const Lib& r) {
    return terminated(r.libid) && terminated(r.name);
}
bool imageLibid(const Img& r) {
    return terminated(r.libid);
}

bool imageFields(const Img& r) {
    return personFieldsTerminated(r);
}

Json::Value libidBody(const Lib& r) {
    Json::Value b(Json::objectValue);
    b["libid"] = fieldText(r.libid);
    return b;
}

Json::Value createBody(const Lib& r) {
    Json::Value b(Json::objectValue);
    b["name"] = fieldText(r.name);
    b["threshold"] = r.threshold;
    return b;
}

Json::Value updateLibraryBody(const Lib& r) {
    Json::Value b = createBody(r);
    b["libid"] = fieldText(r.libid);
    return b;
}

Json::Value imageKeyBody(const Img& r) {
    Json::Value b(Json::objectValue);
    b["imgid"] = static_cast<Json::Int64>(r.imgid);
    b["libid"] = fieldText(r.libid);
    return b;
}

Json::Value updateImageBody(const Img& r) {
    Json::Value b(Json::objectValue);
    putPersonFields(b, r);
    return b;
}

// Without a positive imgid the extraction covers the whole library.
Json::Value extractBody(const Img& r) {
    Json::Value b(Json::objectValue);
    b["libid"] = fieldText(r.libid);
    if (r.imgid > 0) b["imgid"] = static_cast<Json::Int64>(r.imgid);
    return b;
}

bool queryLibid(const vcam_image_query& q) {
    return terminated(q.libid);
}

}  // namespace

Json::Value imageQueryBody(const vcam_image_query& q) {
    Json::Value b(Json::objectValue);
    b["libid"] = fieldText(q.libid);
    b["page_num"] = q.page_num;
    b["page_size"] = q.page_size;
    for (const auto& filter : q.filters) {
        if (filter.name[0] == '\0') break;
        Json::Value entry(Json::objectValue);
        entry["name"] = fieldText(filter.name);
        entry["value"] = fieldText(filter.value);
        b["filter"].append(entry);
    }
    return b;
}

const LibraryCall<Lib> kCreateLibrary = {"ipcGenLibCreateLibrary", "/api/v1/recognize/add_fdlib",
                                         Transport::PostJson, &nameOf, &createBody};
const LibraryCall<Lib> kUpdateLibrary = {"ipcGenLibUpdateLibrary", "/api/v1/recognize/update_fdlib",
                                         Transport::PostJson, &libidAndName, &updateLibraryBody};
const LibraryCall<Lib> kDeleteLibrary = {"ipcGenLibDeleteLibrary", "/api/v1/recognize/del_fdlib",
                                         Transport::PostJson, &libidOf, &libidBody};
const LibraryCall<Lib> kFindLibrary = {"ipcGenLibFindLibrary", "/api/v1/recognize/get_fdlib",
                                       Transport::PostJson, &libidOf, &libidBody};
const LibraryCall<Lib> kListLibrary = {"ipcGenLibListLibrary", "/api/v1/recognize/list_fdlib",
                                       Transport::Get, nullptr, nullptr};
const LibraryCall<Lib> kDeleteAllImages = {"ipcGenLibDeleteAllImage",
                                           "/api/v1/recognize/del_all_img", Transport::PostJson,
                                           &libidOf, &libidBody};
const LibraryCall<Lib> kLockLibraries = {"ipcGenLibLock", "/api/v1/recognize/fdlib/lock",
                                         Transport::PostEmpty, nullptr, nullptr};
const LibraryCall<Lib> kUnlockLibraries = {"ipcGenLibUnlock", "/api/v1/recognize/fdlib/unlock",
                                           Transport::PostEmpty, nullptr, nullptr};
const LibraryCall<Img> kUpdateImage = {"ipcGenLibUpdateImage", "/api/v1/recognize/fdlib/update_img",
                                       Transport::PostJson, &imageFields, &updateImageBody};
const LibraryCall<Img> kDeleteImage = {"ipcGenLibDeleteImage", "/api/v1/recognize/fdlib/del_img",
                                       Transport::PostJson, &imageLibid, &imageKeyBody};
const LibraryCall<Img> kFindImage = {"ipcGenLibFindImage", "/api/v1/recognize/fdlib/get_img",
                                     Transport::PostJson, &imageLibid, &imageKeyBody};
const LibraryCall<Img> kExtractFeature = {"ipcGenLibExtractFeature",
                                          "/api/v1/recognize/fdlib/extract", Transport::PostJson,
                                          &imageLibid, &extractBody};
const LibraryCall<vcam_image_query> kListImage = {
    "ipcGenLibListImage", "/api/v1/recognize/fdlib/list_img", Transport::PostJson, &queryLibid,
    &imageQueryBody};

template <typename Record>
int runLibraryCall(LumenControl::LumenControlClient& client, const LibraryCall<Record>& call,
                   Record& record) {
    if (call.fieldsTerminated && !call.fieldsTerminated(record)) return VCAM_ERR_ARGUMENT;
    std::string response;
    int status;
    if (call.transport == Transport::Get) {
        status = client.httpGet(call.path, response);
    } else {
        const std::string body = call.body ? compactJson(call.body(record)) : std::string();
        status = client.httpPost(call.path, body, response);
    }
    return handBackText(client, status, response, &record.reply, call.method);
}

template int runLibraryCall(LumenControl::LumenControlClient&, const LibraryCall<Lib>&, Lib&);
template int runLibraryCall(LumenControl::LumenControlClient&, const LibraryCall<Img>&, Img&);
template int runLibraryCall(LumenControl::LumenControlClient&, const LibraryCall<vcam_image_query>&,
                            vcam_image_query&);

}  // namespace camlink
