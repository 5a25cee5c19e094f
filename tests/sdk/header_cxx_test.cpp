// The public header must compile on its own as C++ with strict warnings, and its 88 exports must
// keep their exact argument lists: a changed parameter breaks every caller built against the old
// one without a word from the linker, so each signature is pinned here. A failed check stops
// the build.
#include "camlink.h"

#include <type_traits>

namespace {

template <class Record>
using SessionCall = int (*)(int, Record*);
using LoginCall = int (*)(int*, const char*, const char*, const char*);
using LoginV2Call = int (*)(int*, const char*, const char*, const char*, char*);
using SessionOnlyCall = int (*)(int);

#define EXPECT_EXPORT(name, ...) \
    static_assert(std::is_same<decltype(&name), __VA_ARGS__>::value, #name ": signature changed")

static_assert(sizeof(vcam_search_record) == 1482 && alignof(vcam_search_record) == 1,
              "first-generation search record must be packed");
static_assert(sizeof(vcam_search_record_v2) == 772 && alignof(vcam_search_record_v2) == 1,
              "second-generation search record must be packed");

// Library version, sessions, search, firmware.
EXPECT_EXPORT(vcam_control_version, const char* (*)());
EXPECT_EXPORT(vcam_control_login, LoginCall);
EXPECT_EXPORT(vcam_control_login_v2, LoginV2Call);
EXPECT_EXPORT(vcam_control_logout, SessionOnlyCall);
EXPECT_EXPORT(vcam_scan, const vcam_search_area* (*)(int));
EXPECT_EXPORT(vcam_scan_v2, const vcam_search_area_v2* (*)(int));
EXPECT_EXPORT(vcam_control_update, int (*)(int, const char*));

// Device information and control.
EXPECT_EXPORT(vcam_control_device_status, SessionCall<vcam_device_status>);
EXPECT_EXPORT(vcam_control_device_attr, SessionCall<vcam_device_attr>);
EXPECT_EXPORT(vcam_control_diagnoses, SessionCall<vcam_device_diagnoses>);
EXPECT_EXPORT(vcam_control_reboot, SessionOnlyCall);
EXPECT_EXPORT(vcam_control_reset_config, SessionOnlyCall);
EXPECT_EXPORT(vcam_control_get_time, SessionCall<vcam_time_config>);
EXPECT_EXPORT(vcam_control_set_time, SessionCall<vcam_time_config>);
EXPECT_EXPORT(vcam_control_get_network, SessionCall<vcam_network_config>);
EXPECT_EXPORT(vcam_control_set_network, SessionCall<vcam_network_config>);
EXPECT_EXPORT(vcam_control_get_transfer_protocol, SessionCall<vcam_transfer_protocol>);
EXPECT_EXPORT(vcam_control_set_transfer_protocol, SessionCall<vcam_transfer_protocol>);

// Image settings.
EXPECT_EXPORT(vcam_control_get_face_exposure, SessionCall<vcam_face_exposure>);
EXPECT_EXPORT(vcam_control_set_face_exposure, SessionCall<vcam_face_exposure>);
EXPECT_EXPORT(vcam_control_get_image_lighting, SessionCall<vcam_image_lighting>);
EXPECT_EXPORT(vcam_control_set_image_lighting, SessionCall<vcam_image_lighting>);
EXPECT_EXPORT(vcam_control_get_image_adjust, SessionCall<vcam_image_adjust>);
EXPECT_EXPORT(vcam_control_set_image_adjust, SessionCall<vcam_image_adjust>);
EXPECT_EXPORT(vcam_control_get_image_exposure, SessionCall<vcam_image_exposure>);
EXPECT_EXPORT(vcam_control_set_image_exposure, SessionCall<vcam_image_exposure>);
EXPECT_EXPORT(vcam_control_get_image_focus, SessionCall<vcam_image_focus>);
EXPECT_EXPORT(vcam_control_set_image_focus, SessionCall<vcam_image_focus>);
EXPECT_EXPORT(vcam_control_get_image_dnr, SessionCall<vcam_image_dnr>);
EXPECT_EXPORT(vcam_control_set_image_dnr, SessionCall<vcam_image_dnr>);
EXPECT_EXPORT(vcam_control_get_image_enhance, SessionCall<vcam_image_enhance>);
EXPECT_EXPORT(vcam_control_set_image_enhance, SessionCall<vcam_image_enhance>);
EXPECT_EXPORT(vcam_control_get_image_whitebalance, SessionCall<vcam_image_whitebalance>);
EXPECT_EXPORT(vcam_control_set_image_whitebalance, SessionCall<vcam_image_whitebalance>);
EXPECT_EXPORT(vcam_control_get_backlight, SessionCall<vcam_image_backlight>);
EXPECT_EXPORT(vcam_control_set_backlight, SessionCall<vcam_image_backlight>);
EXPECT_EXPORT(vcam_control_get_defog, SessionCall<vcam_image_defog>);
EXPECT_EXPORT(vcam_control_set_defog, SessionCall<vcam_image_defog>);
EXPECT_EXPORT(vcam_control_get_video_config, SessionCall<vcam_video_config>);
EXPECT_EXPORT(vcam_control_set_video_config, SessionCall<vcam_video_config>);

// Smart settings.
EXPECT_EXPORT(vcam_control_get_capture, SessionCall<vcam_capture_config>);
EXPECT_EXPORT(vcam_control_set_capture, SessionCall<vcam_capture_config>);
EXPECT_EXPORT(vcam_control_get_privacy_zone, SessionCall<vcam_privacy_zone>);
EXPECT_EXPORT(vcam_control_set_privacy_zone, SessionCall<vcam_privacy_zone>);
EXPECT_EXPORT(vcam_control_get_living_detect, SessionCall<vcam_living_detect>);
EXPECT_EXPORT(vcam_control_set_living_detect, SessionCall<vcam_living_detect>);
EXPECT_EXPORT(vcam_control_get_recognize, SessionCall<vcam_recognize_config>);
EXPECT_EXPORT(vcam_control_set_recognize, SessionCall<vcam_recognize_config>);
EXPECT_EXPORT(vcam_control_get_linkage, SessionCall<vcam_linkage_config>);
EXPECT_EXPORT(vcam_control_set_linkage, SessionCall<vcam_linkage_config>);
EXPECT_EXPORT(vcam_control_get_passflow, SessionCall<vcam_passflow_config>);
EXPECT_EXPORT(vcam_control_set_passflow, SessionCall<vcam_passflow_config>);

// History and logs.
EXPECT_EXPORT(vcam_control_get_flow_history, SessionCall<vcam_flow_history>);
EXPECT_EXPORT(vcam_control_get_flow_statistics, SessionCall<vcam_flow_statistics>);
EXPECT_EXPORT(vcam_recognize_get_history, SessionCall<vcam_recognize_history>);
EXPECT_EXPORT(vcam_control_get_snap_history, SessionCall<vcam_snap_history>);
EXPECT_EXPORT(vcam_control_get_ipc_log, SessionCall<vcam_ipc_log>);
EXPECT_EXPORT(vcam_control_free_ipc_log, SessionCall<vcam_ipc_log>);
EXPECT_EXPORT(vcam_control_get_smart_log, SessionCall<char>);
EXPECT_EXPORT(vcam_control_get_smart_capability, SessionCall<vcam_smart_capability>);

// Face libraries and images.
EXPECT_EXPORT(vcam_control_create_library, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_update_library, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_delete_library, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_find_library, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_list_library, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_del_lib_image, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_lock_libgen, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_unlock_libgen, SessionCall<vcam_library_record>);
EXPECT_EXPORT(vcam_control_add_image, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_update_image, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_delete_image, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_find_image, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_list_image, SessionCall<vcam_image_query>);
EXPECT_EXPORT(vcam_control_extract_feature, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_image_data, SessionCall<vcam_image_data_record>);

// Record transfer.
EXPECT_EXPORT(vcam_control_import_record, SessionCall<vcam_image_record>);
EXPECT_EXPORT(vcam_control_export_record, SessionCall<vcam_image_query>);
EXPECT_EXPORT(vcam_control_import_record_v2, SessionCall<vcam_record_v2>);
EXPECT_EXPORT(vcam_control_export_record_v2, SessionCall<vcam_image_query>);

// Not supported.
EXPECT_EXPORT(vcam_control_add_feature, SessionCall<void>);
EXPECT_EXPORT(vcam_control_add_id, SessionCall<void>);
EXPECT_EXPORT(vcam_control_delete_feature, SessionCall<void>);
EXPECT_EXPORT(vcam_control_delete_id, SessionCall<void>);
EXPECT_EXPORT(vcam_control_delete_repo, SessionCall<void>);
EXPECT_EXPORT(vcam_control_download_repo, SessionCall<void>);
EXPECT_EXPORT(vcam_control_list_feature, SessionCall<void>);
EXPECT_EXPORT(vcam_control_update_feature, SessionCall<void>);
EXPECT_EXPORT(vcam_control_upload_repo, SessionCall<void>);

}  // namespace
