// The face-library calls as rows of one table: method tag, path, transport operation, the
// fields checked for their NUL, and the body builder. One runner serves every row.
#pragma once

#include <json/json.h>

#include "camlink.h"
#include "core/client.h"

namespace camlink {

enum class Transport {
    PostJson,   // post of the built body
    PostEmpty,  // post without a body
    Get,        // get of the reply text
};

template <typename Record>
struct LibraryCall {
    const char* method;  // log tag
    const char* path;
    Transport transport;
    bool (*fieldsTerminated)(const Record&);  // null: nothing to check
    Json::Value (*body)(const Record&);       // null: no body
};

extern const LibraryCall<vcam_library_record> kCreateLibrary, kUpdateLibrary, kDeleteLibrary,
    kFindLibrary, kListLibrary, kDeleteAllImages, kLockLibraries, kUnlockLibraries;
extern const LibraryCall<vcam_image_record> kUpdateImage, kDeleteImage, kFindImage, kExtractFeature;
extern const LibraryCall<vcam_image_query> kListImage;

// Checks, sends and hands the reply back: 0, 18 (a field without NUL; nothing sent), or the
// transport's result.
template <typename Record>
int runLibraryCall(LumenControl::LumenControlClient& client, const LibraryCall<Record>& call,
                   Record& record);

// The image-list body, shared with the first-generation record export.
Json::Value imageQueryBody(const vcam_image_query& query);

// The two calls that stream bytes instead of JSON.
int addImage(LumenControl::LumenControlClient& client, vcam_image_record& record);
int fetchImageData(LumenControl::LumenControlClient& client, vcam_image_data_record& record);

}  // namespace camlink
