// The face-library and record-transfer exports: each runs its call under the session frame.
#include <cstring>

#include "camlink.h"
#include "core/session_call.h"
#include "library/library_calls.h"
#include "library/record_calls.h"

namespace {

using camlink::sessionCall;
using Client = LumenControl::LumenControlClient;

template <typename Record>
int tableCall(int session, Record* record, const camlink::LibraryCall<Record>& call) {
    return sessionCall(session, record,
                       [&](Client& c, Record& r) { return camlink::runLibraryCall(c, call, r); });
}

}  // namespace

extern "C" {

CAMLINK_API int vcam_control_create_library(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kCreateLibrary);
}
CAMLINK_API int vcam_control_update_library(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kUpdateLibrary);
}
CAMLINK_API int vcam_control_delete_library(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kDeleteLibrary);
}
CAMLINK_API int vcam_control_find_library(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kFindLibrary);
}
// The only call that clears its whole record first.
CAMLINK_API int vcam_control_list_library(int session, vcam_library_record* record) {
    return sessionCall(session, record, [](Client& c, vcam_library_record& r) {
        std::memset(&r, 0, sizeof r);
        return camlink::runLibraryCall(c, camlink::kListLibrary, r);
    });
}
CAMLINK_API int vcam_control_del_lib_image(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kDeleteAllImages);
}
CAMLINK_API int vcam_control_lock_libgen(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kLockLibraries);
}
CAMLINK_API int vcam_control_unlock_libgen(int session, vcam_library_record* record) {
    return tableCall(session, record, camlink::kUnlockLibraries);
}
CAMLINK_API int vcam_control_update_image(int session, vcam_image_record* record) {
    return tableCall(session, record, camlink::kUpdateImage);
}
CAMLINK_API int vcam_control_delete_image(int session, vcam_image_record* record) {
    return tableCall(session, record, camlink::kDeleteImage);
}
CAMLINK_API int vcam_control_find_image(int session, vcam_image_record* record) {
    return tableCall(session, record, camlink::kFindImage);
}
CAMLINK_API int vcam_control_extract_feature(int session, vcam_image_record* record) {
    return tableCall(session, record, camlink::kExtractFeature);
}
CAMLINK_API int vcam_control_list_image(int session, vcam_image_query* record) {
    return tableCall(session, record, camlink::kListImage);
}
CAMLINK_API int vcam_control_add_image(int session, vcam_image_record* record) {
    return sessionCall(session, record, &camlink::addImage);
}
CAMLINK_API int vcam_control_image_data(int session, vcam_image_data_record* record) {
    return sessionCall(session, record, &camlink::fetchImageData);
}

CAMLINK_API int vcam_control_export_record_v2(int session, vcam_image_query* record) {
    return sessionCall(session, record, &camlink::exportRecordV2);
}
CAMLINK_API int vcam_control_import_record_v2(int session, vcam_record_v2* record) {
    return sessionCall(session, record, &camlink::importRecordV2);
}
CAMLINK_API int vcam_control_export_record(int session, vcam_image_query* record) {
    return sessionCall(session, record, &camlink::exportRecordV1);
}
CAMLINK_API int vcam_control_import_record(int session, vcam_image_record* record) {
    return sessionCall(session, record, &camlink::importRecordV1);
}

}  // extern "C"
