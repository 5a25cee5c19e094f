// Pins the binary layout of every record of the public header: its size and alignment, and the
// type and offset of every field. The numbers are worked out by hand from the field widths and
// natural alignment (no padding at all in the two search records), so a field that is moved,
// resized or retyped fails here before a caller built against the old layout meets it.
#include <gtest/gtest.h>

#include <cstddef>
#include <type_traits>

#include "camlink.h"

namespace {

// Type at compile time, offset at run time.
#define EXPECT_FIELD(record, member, type, offset)                     \
    static_assert(std::is_same<decltype(record::member), type>::value, \
                  #record "." #member " must be " #type);              \
    EXPECT_EQ(offsetof(record, member), std::size_t{offset}) << #record "." #member

#define EXPECT_RECORD(record, size, align)                   \
    EXPECT_EQ(sizeof(record), std::size_t{size}) << #record; \
    EXPECT_EQ(alignof(record), std::size_t{align}) << #record

using Text64 = char[64];
using Text256 = char[256];

TEST(RecordLayout, FirstGenerationSearchRecordIsPacked) {
    using R = vcam_search_record;
    EXPECT_RECORD(R, 1482, 1);
    EXPECT_FIELD(R, VERSION, Text64, 0);
    EXPECT_FIELD(R, TYPE, Text64, 64);
    EXPECT_FIELD(R, CODE, Text64, 128);
    EXPECT_FIELD(R, SerialNo, Text64, 192);
    EXPECT_FIELD(R, DeviceType, Text64, 256);
    EXPECT_FIELD(R, Sensor, Text64, 320);
    EXPECT_FIELD(R, User, Text64, 384);
    EXPECT_FIELD(R, Password, Text64, 448);
    EXPECT_FIELD(R, Version, Text64, 512);
    EXPECT_FIELD(R, Date, Text64, 576);
    EXPECT_FIELD(R, OldPrograms, Text64, 640);
    EXPECT_FIELD(R, MacAddress, Text64, 704);
    EXPECT_FIELD(R, LocalIp, Text64, 768);
    EXPECT_FIELD(R, NetMask, Text64, 832);
    EXPECT_FIELD(R, GateWay, Text64, 896);
    EXPECT_FIELD(R, Dns1, Text64, 960);
    EXPECT_FIELD(R, Dns2, Text64, 1024);
    EXPECT_FIELD(R, Attribute, Text64, 1088);
    EXPECT_FIELD(R, Attribute2, Text64, 1152);
    EXPECT_FIELD(R, PrivatePort, uint16_t, 1216);
    EXPECT_FIELD(R, HttpPort, uint16_t, 1218);
    EXPECT_FIELD(R, RtspPort, uint16_t, 1220);
    EXPECT_FIELD(R, OnvifPort, uint16_t, 1222);
    EXPECT_FIELD(R, OnvifHttpPort, uint16_t, 1224);
    EXPECT_FIELD(R, IpcType, Text64, 1226);
    EXPECT_FIELD(R, SubType, Text64, 1290);
    EXPECT_FIELD(R, swVersion, Text64, 1354);
    EXPECT_FIELD(R, HwVersion, Text64, 1418);
}

TEST(RecordLayout, SecondGenerationSearchRecordIsPacked) {
    using R = vcam_search_record_v2;
    EXPECT_RECORD(R, 772, 1);
    EXPECT_FIELD(R, device_key, Text64, 0);
    EXPECT_FIELD(R, device_name, Text64, 64);
    EXPECT_FIELD(R, build_date, Text64, 128);
    EXPECT_FIELD(R, build_number, Text64, 192);
    EXPECT_FIELD(R, hardware_version, Text64, 256);
    EXPECT_FIELD(R, firmware_version, Text64, 320);
    EXPECT_FIELD(R, http_port, uint16_t, 384);
    EXPECT_FIELD(R, private_port, uint16_t, 386);
    EXPECT_FIELD(R, device_type, Text64, 388);
    EXPECT_FIELD(R, ip_address, Text64, 452);
    EXPECT_FIELD(R, netmask, Text64, 516);
    EXPECT_FIELD(R, gateway, Text64, 580);
    EXPECT_FIELD(R, mac_address, Text64, 644);
    EXPECT_FIELD(R, dns, Text64, 708);
}

// The count follows the last record directly.
TEST(RecordLayout, SearchAreasHoldTheRecordsThenTheCount) {
    EXPECT_RECORD(vcam_search_area, 24281092, 1);
    EXPECT_FIELD(vcam_search_area, records, vcam_search_record[16384], 0);
    EXPECT_FIELD(vcam_search_area, count, int32_t, 24281088);
    EXPECT_RECORD(vcam_search_area_v2, 12648452, 1);
    EXPECT_FIELD(vcam_search_area_v2, records, vcam_search_record_v2[16384], 0);
    EXPECT_FIELD(vcam_search_area_v2, count, int32_t, 12648448);
}

TEST(RecordLayout, FaceLibraryRecords) {
    EXPECT_RECORD(vcam_library_record, 144, 8);
    EXPECT_FIELD(vcam_library_record, libid, Text64, 0);
    EXPECT_FIELD(vcam_library_record, name, Text64, 64);
    EXPECT_FIELD(vcam_library_record, threshold, int32_t, 128);
    EXPECT_FIELD(vcam_library_record, reply, char*, 136);

    using I = vcam_image_record;
    EXPECT_RECORD(I, 4888, 8);
    EXPECT_FIELD(I, imgid, int64_t, 0);
    EXPECT_FIELD(I, path, Text256, 8);
    EXPECT_FIELD(I, uid, Text64, 264);
    EXPECT_FIELD(I, libid, Text64, 328);
    EXPECT_FIELD(I, name, Text64, 392);
    EXPECT_FIELD(I, ext1, Text64, 456);
    EXPECT_FIELD(I, ext2, Text64, 520);
    EXPECT_FIELD(I, ext3, Text64, 584);
    EXPECT_FIELD(I, ext4, Text64, 648);
    EXPECT_FIELD(I, ext5, Text64, 712);
    EXPECT_FIELD(I, feature, char[4096], 776);
    EXPECT_FIELD(I, status, int64_t, 4872);
    EXPECT_FIELD(I, reply, char*, 4880);

    EXPECT_RECORD(vcam_image_filter, 128, 1);
    EXPECT_FIELD(vcam_image_filter, name, Text64, 0);
    EXPECT_FIELD(vcam_image_filter, value, Text64, 64);

    EXPECT_RECORD(vcam_image_query, 1360, 8);
    EXPECT_FIELD(vcam_image_query, libid, Text64, 0);
    EXPECT_FIELD(vcam_image_query, page_num, int32_t, 64);
    EXPECT_FIELD(vcam_image_query, page_size, int32_t, 68);
    EXPECT_FIELD(vcam_image_query, filters, vcam_image_filter[10], 72);
    EXPECT_FIELD(vcam_image_query, reply, char*, 1352);

    EXPECT_RECORD(vcam_image_data_record, 272, 8);
    EXPECT_FIELD(vcam_image_data_record, url, Text256, 0);
    EXPECT_FIELD(vcam_image_data_record, data, const void*, 256);
    EXPECT_FIELD(vcam_image_data_record, size, int32_t, 264);

    using V = vcam_record_v2;
    EXPECT_RECORD(V, 5408, 8);
    EXPECT_FIELD(V, imgid, int64_t, 0);
    EXPECT_FIELD(V, url, Text256, 8);
    EXPECT_FIELD(V, path, Text256, 264);
    EXPECT_FIELD(V, uid, Text64, 520);
    EXPECT_FIELD(V, libid, Text64, 584);
    EXPECT_FIELD(V, name, Text64, 648);
    EXPECT_FIELD(V, ext1, Text64, 712);
    EXPECT_FIELD(V, ext2, Text64, 776);
    EXPECT_FIELD(V, ext3, Text64, 840);
    EXPECT_FIELD(V, ext4, Text64, 904);
    EXPECT_FIELD(V, ext5, Text64, 968);
    EXPECT_FIELD(V, feature, char[4096], 1032);
    EXPECT_FIELD(V, feature_attr, int64_t, 5128);
    EXPECT_FIELD(V, model_version, Text256, 5136);
    EXPECT_FIELD(V, status, int64_t, 5392);
    EXPECT_FIELD(V, reply, char*, 5400);
}

TEST(RecordLayout, DeviceRecords) {
    using A = vcam_device_attr;
    EXPECT_RECORD(A, 1280, 1);
    EXPECT_FIELD(A, SerialNo, Text256, 0);
    EXPECT_FIELD(A, DeviceType, Text256, 256);
    EXPECT_FIELD(A, FirmwareVersion, Text256, 512);
    EXPECT_FIELD(A, ota, Text256, 768);
    EXPECT_FIELD(A, model, Text64, 1024);
    EXPECT_FIELD(A, firmware, Text64, 1088);
    EXPECT_FIELD(A, sdk, Text64, 1152);
    EXPECT_FIELD(A, smart, Text64, 1216);

    EXPECT_RECORD(vcam_device_status, 8, 4);
    EXPECT_FIELD(vcam_device_status, cpu_rate, int32_t, 0);
    EXPECT_FIELD(vcam_device_status, memory, int32_t, 4);

    EXPECT_RECORD(vcam_device_diagnoses, 8, 4);
    EXPECT_FIELD(vcam_device_diagnoses, snapcnt, uint32_t, 0);
    EXPECT_FIELD(vcam_device_diagnoses, sendcnt, uint32_t, 4);

    using T = vcam_time_config;
    EXPECT_RECORD(T, 280, 8);
    EXPECT_FIELD(T, cur_time, uint64_t, 0);
    EXPECT_FIELD(T, sync_model, int32_t, 8);
    EXPECT_FIELD(T, time_zone_second, int32_t, 12);
    EXPECT_FIELD(T, time_zone, int32_t, 16);
    EXPECT_FIELD(T, no_nvr_modify, bool, 20);
    EXPECT_FIELD(T, zone_unit, bool, 21);
    EXPECT_FIELD(T, sntp_server, Text256, 22);

    using N = vcam_network_config;
    EXPECT_RECORD(N, 384, 1);
    EXPECT_FIELD(N, MacAddress, Text64, 0);
    EXPECT_FIELD(N, LocalIp, Text64, 64);
    EXPECT_FIELD(N, NetMask, Text64, 128);
    EXPECT_FIELD(N, GateWay, Text64, 192);
    EXPECT_FIELD(N, Dns1, Text64, 256);
    EXPECT_FIELD(N, Dns2, Text64, 320);

    using P = vcam_transfer_protocol;
    EXPECT_RECORD(P, 16, 4);
    EXPECT_FIELD(P, http_port, uint32_t, 0);
    EXPECT_FIELD(P, https_port, uint32_t, 4);
    EXPECT_FIELD(P, rtsp_port, uint32_t, 8);
    EXPECT_FIELD(P, onvif_port, uint32_t, 12);
}

TEST(RecordLayout, ImageSettingRecords) {
    EXPECT_RECORD(vcam_face_exposure, 12, 4);
    EXPECT_FIELD(vcam_face_exposure, enable, bool, 0);
    EXPECT_FIELD(vcam_face_exposure, luminance, int32_t, 4);
    EXPECT_FIELD(vcam_face_exposure, duration, int32_t, 8);

    using L = vcam_image_lighting;
    EXPECT_RECORD(L, 32, 4);
    EXPECT_FIELD(L, lighting_mode, int32_t, 0);
    EXPECT_FIELD(L, lg_sensitivity, int32_t, 4);
    EXPECT_FIELD(L, lg_filtrationtime, int32_t, 8);
    EXPECT_FIELD(L, lg_gain, int32_t, 12);
    EXPECT_FIELD(L, lg_lighthour, int32_t, 16);
    EXPECT_FIELD(L, lg_lightmin, int32_t, 20);
    EXPECT_FIELD(L, lg_darkhour, int32_t, 24);
    EXPECT_FIELD(L, lg_darkmin, int32_t, 28);

    EXPECT_RECORD(vcam_image_adjust, 16, 4);
    EXPECT_FIELD(vcam_image_adjust, brightness, int32_t, 0);
    EXPECT_FIELD(vcam_image_adjust, contrast, int32_t, 4);
    EXPECT_FIELD(vcam_image_adjust, saturation, int32_t, 8);
    EXPECT_FIELD(vcam_image_adjust, sharpness, int32_t, 12);

    EXPECT_RECORD(vcam_image_exposure, 12, 4);
    EXPECT_FIELD(vcam_image_exposure, exposure_mode, int32_t, 0);
    EXPECT_FIELD(vcam_image_exposure, aegain, int32_t, 4);
    EXPECT_FIELD(vcam_image_exposure, shutter, int32_t, 8);

    EXPECT_RECORD(vcam_image_focus, 8, 4);
    EXPECT_FIELD(vcam_image_focus, focus_mode, int32_t, 0);
    EXPECT_FIELD(vcam_image_focus, focus_control, int32_t, 4);

    EXPECT_RECORD(vcam_image_dnr, 12, 4);
    EXPECT_FIELD(vcam_image_dnr, dnr_mode, int32_t, 0);
    EXPECT_FIELD(vcam_image_dnr, dnr_3d_value, int32_t, 4);
    EXPECT_FIELD(vcam_image_dnr, dnr_2d_value, int32_t, 8);

    EXPECT_RECORD(vcam_image_enhance, 12, 4);
    EXPECT_FIELD(vcam_image_enhance, flicker_control, int32_t, 0);
    EXPECT_FIELD(vcam_image_enhance, wdr_enable, int32_t, 4);
    EXPECT_FIELD(vcam_image_enhance, drc_strength, int32_t, 8);

    using W = vcam_image_whitebalance;
    EXPECT_RECORD(W, 16, 4);
    EXPECT_FIELD(W, whitebalance_mode, int32_t, 0);
    EXPECT_FIELD(W, wbred_gain, int32_t, 4);
    EXPECT_FIELD(W, wbgreen_gain, int32_t, 8);
    EXPECT_FIELD(W, wbblue_gain, int32_t, 12);

    EXPECT_RECORD(vcam_image_backlight, 8, 4);
    EXPECT_FIELD(vcam_image_backlight, backlight_enable, bool, 0);
    EXPECT_FIELD(vcam_image_backlight, backlight_level, uint32_t, 4);

    EXPECT_RECORD(vcam_image_defog, 8, 4);
    EXPECT_FIELD(vcam_image_defog, defog_enable, int32_t, 0);
    EXPECT_FIELD(vcam_image_defog, defog_level, int32_t, 4);

    using V = vcam_video_config;
    EXPECT_RECORD(V, 32, 4);
    EXPECT_FIELD(V, encodetype, int32_t, 0);
    EXPECT_FIELD(V, stream, uint32_t, 4);
    EXPECT_FIELD(V, iframe_interval, int32_t, 8);
    EXPECT_FIELD(V, frame_rate, int32_t, 12);
    EXPECT_FIELD(V, bit_rate, int32_t, 16);
    EXPECT_FIELD(V, is_variable_rate, bool, 20);
    EXPECT_FIELD(V, profile, int32_t, 24);
    EXPECT_FIELD(V, resolution, int32_t, 28);
}

TEST(RecordLayout, SmartSettingRecords) {
    EXPECT_RECORD(vcam_region, 16, 4);
    EXPECT_FIELD(vcam_region, x1, int32_t, 0);
    EXPECT_FIELD(vcam_region, y1, int32_t, 4);
    EXPECT_FIELD(vcam_region, x2, int32_t, 8);
    EXPECT_FIELD(vcam_region, y2, int32_t, 12);

    using C = vcam_capture_config;
    EXPECT_RECORD(C, 72, 8);
    EXPECT_FIELD(C, snapsizethr, int32_t, 0);
    EXPECT_FIELD(C, frontthr, int32_t, 4);
    EXPECT_FIELD(C, beginpostframethr, int32_t, 8);
    EXPECT_FIELD(C, snapscale, double, 16);
    EXPECT_FIELD(C, resnapthr, int32_t, 24);
    EXPECT_FIELD(C, firstnumavailthr, int32_t, 28);
    EXPECT_FIELD(C, numaftervanish, int32_t, 32);
    EXPECT_FIELD(C, switchregion, bool, 36);
    EXPECT_FIELD(C, capture_region, vcam_region, 40);
    EXPECT_FIELD(C, captbackground, bool, 56);
    EXPECT_FIELD(C, track_score_eliminate, uint32_t, 60);
    EXPECT_FIELD(C, snap_mode, uint32_t, 64);
    EXPECT_FIELD(C, sel_face_mode, uint32_t, 68);

    EXPECT_RECORD(vcam_privacy_zone, 68, 4);
    EXPECT_FIELD(vcam_privacy_zone, working, bool, 0);
    EXPECT_FIELD(vcam_privacy_zone, zones, vcam_region[4], 4);

    EXPECT_RECORD(vcam_living_detect, 8, 4);
    EXPECT_FIELD(vcam_living_detect, living_en, bool, 0);
    EXPECT_FIELD(vcam_living_detect, living_thr, int32_t, 4);

    using R = vcam_recognize_config;
    EXPECT_RECORD(R, 24, 8);
    EXPECT_FIELD(R, recog_switch, bool, 0);
    EXPECT_FIELD(R, recog_snap, bool, 1);
    EXPECT_FIELD(R, send_origin_img, bool, 2);
    EXPECT_FIELD(R, recog_freq, double, 8);
    EXPECT_FIELD(R, similar_thres, double, 16);

    using E = vcam_linkage_entry;
    EXPECT_RECORD(E, 204, 4);
    EXPECT_FIELD(E, repoId, Text64, 0);
    EXPECT_FIELD(E, repoName, Text64, 64);
    EXPECT_FIELD(E, searchOrder, int32_t, 128);
    EXPECT_FIELD(E, isAlarm, bool, 132);
    EXPECT_FIELD(E, duration, int32_t, 136);
    EXPECT_FIELD(E, isRs485, bool, 140);
    EXPECT_FIELD(E, protocol, char[32], 141);
    EXPECT_FIELD(E, consoleId, int32_t, 176);
    EXPECT_FIELD(E, exclude, bool, 180);
    EXPECT_FIELD(E, isNetworkRelay, bool, 181);
    EXPECT_FIELD(E, ip, char[16], 182);
    EXPECT_FIELD(E, port, uint16_t, 198);
    EXPECT_FIELD(E, delay, uint32_t, 200);

    EXPECT_RECORD(vcam_linkage_config, 1024, 4);
    EXPECT_FIELD(vcam_linkage_config, count, int32_t, 0);
    EXPECT_FIELD(vcam_linkage_config, entries, vcam_linkage_entry[5], 4);

    using L = vcam_passflow_line;
    EXPECT_RECORD(L, 28, 4);
    EXPECT_FIELD(L, id, int32_t, 0);
    EXPECT_FIELD(L, x1, int32_t, 4);
    EXPECT_FIELD(L, y1, int32_t, 8);
    EXPECT_FIELD(L, x2, int32_t, 12);
    EXPECT_FIELD(L, y2, int32_t, 16);
    EXPECT_FIELD(L, type, int32_t, 20);
    EXPECT_FIELD(L, linetype, int32_t, 24);

    using P = vcam_passflow_config;
    EXPECT_RECORD(P, 920, 4);
    EXPECT_FIELD(P, type, int32_t, 0);
    EXPECT_FIELD(P, line_count, int32_t, 4);
    EXPECT_FIELD(P, lines, vcam_passflow_line[32], 8);
    EXPECT_FIELD(P, start, int32_t, 904);
    EXPECT_FIELD(P, end, int32_t, 908);
    EXPECT_FIELD(P, upload_interval, int32_t, 912);
    EXPECT_FIELD(P, upload_event, bool, 916);

    EXPECT_RECORD(vcam_capability_entry, 258, 2);
    EXPECT_FIELD(vcam_capability_entry, name, Text256, 0);
    EXPECT_FIELD(vcam_capability_entry, reserved, uint16_t, 256);

    EXPECT_RECORD(vcam_smart_capability, 66052, 4);
    EXPECT_FIELD(vcam_smart_capability, count, int32_t, 0);
    EXPECT_FIELD(vcam_smart_capability, entries, vcam_capability_entry[256], 4);
}

TEST(RecordLayout, FlowRecords) {
    using E = vcam_flow_entry;
    EXPECT_RECORD(E, 1000, 8);
    EXPECT_FIELD(E, MatchedImgUrl, Text256, 0);
    EXPECT_FIELD(E, MatchedName, Text64, 256);
    EXPECT_FIELD(E, MatchedRate, float, 320);
    EXPECT_FIELD(E, Exclude, bool, 324);
    EXPECT_FIELD(E, DatabaseId, Text64, 325);
    EXPECT_FIELD(E, Ext1, Text64, 389);
    EXPECT_FIELD(E, Ext2, Text64, 453);
    EXPECT_FIELD(E, Ext3, Text64, 517);
    EXPECT_FIELD(E, Ext4, Text64, 581);
    EXPECT_FIELD(E, Ext5, Text64, 645);
    EXPECT_FIELD(E, TimeStamp, uint64_t, 712);
    EXPECT_FIELD(E, LineId, int32_t, 720);
    EXPECT_FIELD(E, Type, int32_t, 724);
    EXPECT_FIELD(E, PersonId, uint32_t, 728);
    EXPECT_FIELD(E, CropImgUrl, Text256, 732);
    EXPECT_FIELD(E, Gender, int32_t, 988);
    EXPECT_FIELD(E, Age, uint32_t, 992);

    using H = vcam_flow_history;
    EXPECT_RECORD(H, 10032, 8);
    EXPECT_FIELD(H, start_time, uint64_t, 0);
    EXPECT_FIELD(H, end_time, uint64_t, 8);
    EXPECT_FIELD(H, page_num, int32_t, 16);
    EXPECT_FIELD(H, page_size, int32_t, 20);
    EXPECT_FIELD(H, total, int32_t, 24);
    EXPECT_FIELD(H, entries, vcam_flow_entry[10], 32);

    using B = vcam_flow_bucket;
    EXPECT_RECORD(B, 40, 4);
    EXPECT_FIELD(B, Sex, int32_t, 0);
    EXPECT_FIELD(B, FlowType, int32_t, 4);
    EXPECT_FIELD(B, Num_0_6, int32_t, 8);
    EXPECT_FIELD(B, Num_7_12, int32_t, 12);
    EXPECT_FIELD(B, Num_13_18, int32_t, 16);
    EXPECT_FIELD(B, Num_19_28, int32_t, 20);
    EXPECT_FIELD(B, Num_29_35, int32_t, 24);
    EXPECT_FIELD(B, Num_36_45, int32_t, 28);
    EXPECT_FIELD(B, Num_46_55, int32_t, 32);
    EXPECT_FIELD(B, Num_gt_55, int32_t, 36);

    using L = vcam_flow_line_stat;
    EXPECT_RECORD(L, 188, 4);
    EXPECT_FIELD(L, LineType, int32_t, 0);
    EXPECT_FIELD(L, InNumber, int32_t, 4);
    EXPECT_FIELD(L, OutNumber, int32_t, 8);
    EXPECT_FIELD(L, InFemaleNum, int32_t, 12);
    EXPECT_FIELD(L, OutFemaleNum, int32_t, 16);
    EXPECT_FIELD(L, InMaleNum, int32_t, 20);
    EXPECT_FIELD(L, OutMaleNum, int32_t, 24);
    EXPECT_FIELD(L, buckets, vcam_flow_bucket[4], 28);

    using S = vcam_flow_statistics;
    EXPECT_RECORD(S, 400, 8);
    EXPECT_FIELD(S, start_time, uint64_t, 0);
    EXPECT_FIELD(S, end_time, uint64_t, 8);
    EXPECT_FIELD(S, Interval, int32_t, 16);
    EXPECT_FIELD(S, lines, vcam_flow_line_stat[2], 20);
}

TEST(RecordLayout, RecognitionSnapshotAndLogRecords) {
    using E = vcam_recognize_entry;
    EXPECT_RECORD(E, 2200, 8);
    EXPECT_FIELD(E, TimeStamp, int64_t, 0);
    EXPECT_FIELD(E, SysTime, int64_t, 8);
    EXPECT_FIELD(E, CropImgUrl, Text256, 16);
    EXPECT_FIELD(E, MatchedImgUrl, Text256, 272);
    EXPECT_FIELD(E, FeatureInfo, char[1024], 528);
    EXPECT_FIELD(E, MatchedId, Text256, 1552);
    EXPECT_FIELD(E, MatchedRate, float, 1808);
    EXPECT_FIELD(E, DatabaseId, Text256, 1812);
    EXPECT_FIELD(E, TrackId, int32_t, 2068);
    EXPECT_FIELD(E, MatchedName, Text64, 2072);
    EXPECT_FIELD(E, Ext1, Text64, 2136);

    // The entry count sits in the head's padding slot, right after total.
    using R = vcam_recognize_history;
    EXPECT_RECORD(R, 22032, 8);
    EXPECT_FIELD(R, start_time, uint64_t, 0);
    EXPECT_FIELD(R, end_time, uint64_t, 8);
    EXPECT_FIELD(R, page_num, int32_t, 16);
    EXPECT_FIELD(R, page_size, int32_t, 20);
    EXPECT_FIELD(R, total, int32_t, 24);
    EXPECT_FIELD(R, entry_count, int32_t, 28);
    EXPECT_FIELD(R, entries, vcam_recognize_entry[10], 32);

    EXPECT_RECORD(vcam_snap_entry, 272, 8);
    EXPECT_FIELD(vcam_snap_entry, SysTime, int64_t, 0);
    EXPECT_FIELD(vcam_snap_entry, CropImgUrl, Text256, 8);
    EXPECT_FIELD(vcam_snap_entry, Age, uint32_t, 264);
    EXPECT_FIELD(vcam_snap_entry, Gender, int32_t, 268);

    using S = vcam_snap_history;
    EXPECT_RECORD(S, 27232, 8);
    EXPECT_FIELD(S, start_time, uint64_t, 0);
    EXPECT_FIELD(S, end_time, uint64_t, 8);
    EXPECT_FIELD(S, page_num, int32_t, 16);
    EXPECT_FIELD(S, page_size, int32_t, 20);
    EXPECT_FIELD(S, total, int32_t, 24);
    EXPECT_FIELD(S, entries, vcam_snap_entry[100], 32);

    EXPECT_RECORD(vcam_ipc_log, 32, 8);
    EXPECT_FIELD(vcam_ipc_log, start_time, uint64_t, 0);
    EXPECT_FIELD(vcam_ipc_log, end_time, uint64_t, 8);
    EXPECT_FIELD(vcam_ipc_log, type, int32_t, 16);
    EXPECT_FIELD(vcam_ipc_log, text, char*, 24);
}

// Callers compare results with these numbers; a renumbered code would silently change meaning.
TEST(ResultCodes, KeepTheirNumbers) {
    EXPECT_EQ(VCAM_ERR_NO_MEMORY, -1);
    EXPECT_EQ(VCAM_OK, 0);
    EXPECT_EQ(VCAM_ERR_NO_TRANSFER, 1);
    EXPECT_EQ(VCAM_ERR_SESSION, 10);
    EXPECT_EQ(VCAM_ERR_REPLY, 13);
    EXPECT_EQ(VCAM_ERR_ARGUMENT, 18);
    EXPECT_EQ(VCAM_ERR_UNSUPPORTED, 19);
    EXPECT_EQ(VCAM_ERR_CAMERA_BASE, 3000);
    EXPECT_EQ(VCAM_ERR_CAMERA_FAILED, 4000);
    EXPECT_EQ(VCAM_ERR_TRANSFER_BASE, 10000);
    EXPECT_EQ(VCAM_ERR_UPGRADE_FAILED, 100001);
    EXPECT_EQ(MAX_DEVICE_NUMBER, 16384);
}

}  // namespace
