/*
 * The public header must compile on its own as C, with strict warnings, and give C callers the
 * same layout as C++ callers (the C++ layout test pins every field). Built as C99 and as C11;
 * a failed check stops the build.
 */
#include "camlink.h"

#if defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define CHECK(cond, name) _Static_assert(cond, #name)
#else
#define CHECK(cond, name) typedef char check_##name[(cond) ? 1 : -1]
#endif

/* The two packed search records and their areas. */
CHECK(sizeof(vcam_search_record) == 1482, search_record_size);
CHECK(sizeof(vcam_search_record_v2) == 772, search_record_v2_size);
CHECK(offsetof(vcam_search_record, PrivatePort) == 1216, search_record_ports);
CHECK(offsetof(vcam_search_record_v2, device_type) == 388, search_record_v2_after_ports);
CHECK(offsetof(vcam_search_area, count) == 1482u * MAX_DEVICE_NUMBER, search_area_count);
CHECK(offsetof(vcam_search_area_v2, count) == 772u * MAX_DEVICE_NUMBER, search_area_v2_count);

/* C's bool must be one byte like C++'s, or every record with a flag would shift. */
CHECK(sizeof(bool) == 1, bool_size);
CHECK(offsetof(vcam_time_config, sntp_server) == 22, time_config_flags);
CHECK(offsetof(vcam_linkage_entry, protocol) == 141, linkage_entry_flags);
CHECK(offsetof(vcam_flow_entry, DatabaseId) == 325, flow_entry_flag);

/* Every record's size as a C compiler sees it. */
CHECK(sizeof(vcam_library_record) == 144, library_record);
CHECK(sizeof(vcam_image_record) == 4888, image_record);
CHECK(sizeof(vcam_image_query) == 1360, image_query);
CHECK(sizeof(vcam_image_data_record) == 272, image_data_record);
CHECK(sizeof(vcam_record_v2) == 5408, record_v2);
CHECK(sizeof(vcam_device_attr) == 1280, device_attr);
CHECK(sizeof(vcam_device_status) == 8, device_status);
CHECK(sizeof(vcam_device_diagnoses) == 8, device_diagnoses);
CHECK(sizeof(vcam_time_config) == 280, time_config);
CHECK(sizeof(vcam_network_config) == 384, network_config);
CHECK(sizeof(vcam_transfer_protocol) == 16, transfer_protocol);
CHECK(sizeof(vcam_face_exposure) == 12, face_exposure);
CHECK(sizeof(vcam_image_lighting) == 32, image_lighting);
CHECK(sizeof(vcam_image_adjust) == 16, image_adjust);
CHECK(sizeof(vcam_image_exposure) == 12, image_exposure);
CHECK(sizeof(vcam_image_focus) == 8, image_focus);
CHECK(sizeof(vcam_image_dnr) == 12, image_dnr);
CHECK(sizeof(vcam_image_enhance) == 12, image_enhance);
CHECK(sizeof(vcam_image_whitebalance) == 16, image_whitebalance);
CHECK(sizeof(vcam_image_backlight) == 8, image_backlight);
CHECK(sizeof(vcam_image_defog) == 8, image_defog);
CHECK(sizeof(vcam_video_config) == 32, video_config);
CHECK(sizeof(vcam_capture_config) == 72, capture_config);
CHECK(sizeof(vcam_privacy_zone) == 68, privacy_zone);
CHECK(sizeof(vcam_living_detect) == 8, living_detect);
CHECK(sizeof(vcam_recognize_config) == 24, recognize_config);
CHECK(sizeof(vcam_linkage_config) == 1024, linkage_config);
CHECK(sizeof(vcam_passflow_config) == 920, passflow_config);
CHECK(sizeof(vcam_smart_capability) == 66052, smart_capability);
CHECK(sizeof(vcam_flow_history) == 10032, flow_history);
CHECK(sizeof(vcam_flow_statistics) == 400, flow_statistics);
CHECK(sizeof(vcam_recognize_history) == 22032, recognize_history);
CHECK(sizeof(vcam_snap_history) == 27232, snap_history);
CHECK(sizeof(vcam_ipc_log) == 32, ipc_log);

/* Result codes are plain ints in C too. */
CHECK(VCAM_ERR_SESSION == 10 && VCAM_ERR_UPGRADE_FAILED == 100001, result_codes);

/* A C caller's view: records are plain values, results compare with the named codes. */
int header_c_test_caller(int session);
int header_c_test_caller(int session) {
    vcam_library_record library = {{0}, {0}, 0, NULL};
    vcam_image_query query = {{0}, 1, 10, {{{0}, {0}}}, NULL};
    int result = vcam_control_list_library(session, &library);
    if (result != VCAM_OK) return result;
    return vcam_control_list_image(session, &query);
}
