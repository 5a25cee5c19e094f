/*
 * camlink: control of face-recognition IP cameras through a plain C interface.
 *
 * Every call returns an int result code (enum vcam_result). Session calls take the session
 * number handed out by a login and a pointer to a caller-owned record; the library only reads
 * or fills that record during the call. Text and bytes that a call hands back (reply pointers,
 * image data, search areas, the camera log text) stay owned by the library: never free them,
 * and read them before the next call on the same session (the next search, for search areas).
 *
 * Records are fixed-size: strings are NUL-terminated byte arrays of fixed width (UTF-8, local
 * file paths in the locale's encoding), fields are laid out in natural alignment, except the
 * two packed search records. Their layout is part of the binary interface: never reorder,
 * resize or insert a field.
 */

/*
 * Settings read from the environment, each once: the log level when the library loads, the
 * session mode at the first call that takes or makes a session.
 *
 * CAMLINK_LOG_LEVEL=n   writes the library's log lines of level n and above (0 sensitive,
 *                       1 verbose, 2 info, 3 warning, 4 error, 5 external) to LumenLog_1.log ..
 *                       LumenLog_5.log in the working directory; unset, nothing is written.
 * CAMLINK_SESSIONS=parallel
 *                       calls on different sessions run side by side: each session has a lock
 *                       of its own, held for each of its calls, so calls on one session still
 *                       run one after another and in order; a logout waits for the call running
 *                       on its session. Each session keeps its HTTP connection open and reuses
 *                       the camera's digest nonce, so a call costs one request. Unset (or any
 *                       other value), every session call, on whatever session, runs under one
 *                       lock of the whole library, one after another, and every request opens
 *                       its own connection. The search runs beside session calls in both modes.
 */
#ifndef CAMLINK_CAMLINK_H
#define CAMLINK_CAMLINK_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

/*
 * The library is built with hidden visibility; only names marked CAMLINK_API are exported.
 * CAMLINK_BUILDING is defined while the library itself is compiled.
 */
#if defined(_WIN32)
#if defined(CAMLINK_BUILDING)
#define CAMLINK_API __declspec(dllexport)
#else
#define CAMLINK_API __declspec(dllimport)
#endif
#elif defined(__GNUC__)
#define CAMLINK_API __attribute__((visibility("default")))
#else
#define CAMLINK_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/*
 * Result codes. Values are fixed for good: never renumber, only add. Any other value below
 * 10000 is the HTTP status the camera answered when it was not 200.
 */
typedef enum vcam_result {
    VCAM_ERR_NO_MEMORY = -1,         /* the camera log text could not be allocated */
    VCAM_OK = 0,                     /* success */
    VCAM_ERR_NO_TRANSFER = 1,        /* no HTTP transfer handle could be made */
    VCAM_ERR_SESSION = 10,           /* the session number names no session */
    VCAM_ERR_REPLY = 13,             /* the camera's reply was not parsed or lacked a part */
    VCAM_ERR_ARGUMENT = 18,          /* bad argument; for login: the TCP login step failed */
    VCAM_ERR_UNSUPPORTED = 19,       /* operation not supported */
    VCAM_ERR_CAMERA_BASE = 3000,     /* 3000 + n: the camera reported its own error n */
    VCAM_ERR_CAMERA_FAILED = 4000,   /* the camera's JSON reply carried "code" -1 */
    VCAM_ERR_TRANSFER_BASE = 10000,  /* 10000 + n: the HTTP transfer failed with error n */
    VCAM_ERR_UPGRADE_FAILED = 100001 /* the firmware upgrade failed */
} vcam_result;

/* Records in each search result area. */
#define MAX_DEVICE_NUMBER 16384

/* Size of the caller's reply buffer for vcam_control_login_v2. */
#define VCAM_LOGIN_REPLY_SIZE 128
/* Size of the path buffer of vcam_control_get_smart_log. */
#define VCAM_SMART_LOG_PATH_SIZE 256

#define VCAM_IMAGE_FILTERS 10
#define VCAM_PRIVACY_ZONES 4
#define VCAM_LINKAGE_ENTRIES 5
#define VCAM_PASSFLOW_LINES 32
#define VCAM_CAPABILITY_MODULES 256
#define VCAM_FLOW_HISTORY_SLOTS 10
#define VCAM_FLOW_STAT_LINES 2
#define VCAM_FLOW_STAT_BUCKETS 4
#define VCAM_RECOGNIZE_HISTORY_SLOTS 10
#define VCAM_SNAP_HISTORY_SLOTS 100

/* ---- Device search results: packed, no padding, exactly as the library fills them. ---- */
#pragma pack(push, 1)

/* One camera found by vcam_scan (1482 bytes). */
typedef struct vcam_search_record {
    char VERSION[64];
    char TYPE[64];
    char CODE[64];
    char SerialNo[64];
    char DeviceType[64];
    char Sensor[64];
    char User[64];
    char Password[64];
    char Version[64];
    char Date[64];
    char OldPrograms[64];
    char MacAddress[64];
    char LocalIp[64];
    char NetMask[64];
    char GateWay[64];
    char Dns1[64];
    char Dns2[64];
    char Attribute[64];
    char Attribute2[64];
    uint16_t PrivatePort;
    uint16_t HttpPort;
    uint16_t RtspPort;
    uint16_t OnvifPort;
    uint16_t OnvifHttpPort;
    char IpcType[64];
    char SubType[64];
    char swVersion[64];
    char HwVersion[64];
} vcam_search_record;

/*
 * One camera found by vcam_scan_v2 (772 bytes). Each field is copied from a fixed offset of
 * the camera's reply (given in brackets); the library relies only on the device key, the
 * address and the firmware version, the other names tell what cameras put there.
 */
typedef struct vcam_search_record_v2 {
    char device_key[64];       /* [448] unique per camera */
    char device_name[64];      /* [304] */
    char build_date[64];       /* [480] */
    char build_number[64];     /* [496] */
    char hardware_version[64]; /* [384] */
    char firmware_version[64]; /* [320] */
    uint16_t http_port;        /* [240] the two bytes as the camera sent them */
    uint16_t private_port;     /* [244] the two bytes as the camera sent them */
    char device_type[64];      /* [104] */
    char ip_address[64];       /* [24] IPv4 address text */
    char netmask[64];          /* [40] */
    char gateway[64];          /* [56] */
    char mac_address[64];      /* [72] */
    char dns[64];              /* [88] */
} vcam_search_record_v2;

/* Result area of vcam_scan: `count` records are valid. */
typedef struct vcam_search_area {
    vcam_search_record records[MAX_DEVICE_NUMBER];
    int32_t count;
} vcam_search_area;

/* Result area of vcam_scan_v2: `count` records are valid. */
typedef struct vcam_search_area_v2 {
    vcam_search_record_v2 records[MAX_DEVICE_NUMBER];
    int32_t count;
} vcam_search_area_v2;

#pragma pack(pop)

/* ---- Face libraries and images. `reply` is set to the camera's JSON text, or null. ---- */

typedef struct vcam_library_record {
    char libid[64];
    char name[64];
    int32_t threshold;
    char* reply;
} vcam_library_record;

typedef struct vcam_image_record {
    int64_t imgid;
    char path[256]; /* local image file; used by the upload only */
    char uid[64];
    char libid[64];
    char name[64];
    char ext1[64];
    char ext2[64];
    char ext3[64];
    char ext4[64];
    char ext5[64];
    char feature[4096]; /* first-generation record import only */
    int64_t status;     /* first-generation record import only */
    char* reply;
} vcam_image_record;

/* An attribute filter of an image list; the list ends at the first empty name. */
typedef struct vcam_image_filter {
    char name[64];
    char value[64];
} vcam_image_filter;

typedef struct vcam_image_query {
    char libid[64];
    int32_t page_num;
    int32_t page_size;
    vcam_image_filter filters[VCAM_IMAGE_FILTERS];
    char* reply;
} vcam_image_query;

/* The bytes of an image the camera serves: `data` holds `size` bytes, no NUL added. */
typedef struct vcam_image_data_record {
    char url[256]; /* complete URL, used unchanged */
    const void* data;
    int32_t size;
} vcam_image_data_record;

/* A whole second-generation record, as an export gave it, for import. */
typedef struct vcam_record_v2 {
    int64_t imgid;
    char url[256];
    char path[256]; /* local image file; empty: no image is sent */
    char uid[64];
    char libid[64];
    char name[64];
    char ext1[64];
    char ext2[64];
    char ext3[64];
    char ext4[64];
    char ext5[64];
    char feature[4096];
    int64_t feature_attr;
    char model_version[256];
    int64_t status;
    char* reply;
} vcam_record_v2;

/* ---- Device information and control. ---- */

typedef struct vcam_device_attr {
    char SerialNo[256];
    char DeviceType[256];
    char FirmwareVersion[256];
    char ota[256];
    char model[64];
    char firmware[64];
    char sdk[64];
    char smart[64];
} vcam_device_attr;

typedef struct vcam_device_status {
    int32_t cpu_rate;
    int32_t memory;
} vcam_device_status;

typedef struct vcam_device_diagnoses {
    uint32_t snapcnt;
    uint32_t sendcnt;
} vcam_device_diagnoses;

typedef struct vcam_time_config {
    uint64_t cur_time;
    int32_t sync_model;       /* 0 manual, 1 pc, 2 ntp; 3 read back for an unknown mode */
    int32_t time_zone_second; /* -43200 to 43200 */
    int32_t time_zone;        /* hours, -24 to 24 */
    bool no_nvr_modify;
    bool zone_unit; /* writing: true sends time_zone (hours), false time_zone_second */
    char sntp_server[256];
} vcam_time_config;

typedef struct vcam_network_config {
    char MacAddress[64];
    char LocalIp[64];
    char NetMask[64];
    char GateWay[64];
    char Dns1[64];
    char Dns2[64];
} vcam_network_config;

typedef struct vcam_transfer_protocol {
    uint32_t http_port;
    uint32_t https_port;
    uint32_t rtsp_port;
    uint32_t onvif_port;
} vcam_transfer_protocol;

/* ---- Image settings. ---- */

typedef struct vcam_face_exposure {
    bool enable;
    int32_t luminance;
    int32_t duration;
} vcam_face_exposure;

typedef struct vcam_image_lighting {
    int32_t lighting_mode;
    int32_t lg_sensitivity;
    int32_t lg_filtrationtime;
    int32_t lg_gain;
    int32_t lg_lighthour;
    int32_t lg_lightmin;
    int32_t lg_darkhour;
    int32_t lg_darkmin;
} vcam_image_lighting;

typedef struct vcam_image_adjust {
    int32_t brightness;
    int32_t contrast;
    int32_t saturation;
    int32_t sharpness;
} vcam_image_adjust;

typedef struct vcam_image_exposure {
    int32_t exposure_mode;
    int32_t aegain;
    int32_t shutter;
} vcam_image_exposure;

typedef struct vcam_image_focus {
    int32_t focus_mode;
    int32_t focus_control;
} vcam_image_focus;

typedef struct vcam_image_dnr {
    int32_t dnr_mode;
    int32_t dnr_3d_value;
    int32_t dnr_2d_value;
} vcam_image_dnr;

typedef struct vcam_image_enhance {
    int32_t flicker_control;
    int32_t wdr_enable;
    int32_t drc_strength;
} vcam_image_enhance;

typedef struct vcam_image_whitebalance {
    int32_t whitebalance_mode;
    int32_t wbred_gain;
    int32_t wbgreen_gain;
    int32_t wbblue_gain;
} vcam_image_whitebalance;

typedef struct vcam_image_backlight {
    bool backlight_enable;
    uint32_t backlight_level;
} vcam_image_backlight;

typedef struct vcam_image_defog {
    int32_t defog_enable;
    int32_t defog_level;
} vcam_image_defog;

typedef struct vcam_video_config {
    int32_t encodetype;
    uint32_t stream; /* 0 main, 1 sub, 2 third */
    int32_t iframe_interval;
    int32_t frame_rate;
    int32_t bit_rate;
    bool is_variable_rate;
    int32_t profile;
    int32_t resolution;
} vcam_video_config;

/* ---- Smart settings. ---- */

/* A rectangle of the picture. */
typedef struct vcam_region {
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
} vcam_region;

typedef struct vcam_capture_config {
    int32_t snapsizethr;
    int32_t frontthr;
    int32_t beginpostframethr;
    double snapscale;
    int32_t resnapthr;
    int32_t firstnumavailthr;
    int32_t numaftervanish;
    bool switchregion;
    vcam_region capture_region;
    bool captbackground;
    uint32_t track_score_eliminate;
    uint32_t snap_mode;
    uint32_t sel_face_mode;
} vcam_capture_config;

typedef struct vcam_privacy_zone {
    bool working;
    vcam_region zones[VCAM_PRIVACY_ZONES];
} vcam_privacy_zone;

typedef struct vcam_living_detect {
    bool living_en;
    int32_t living_thr;
} vcam_living_detect;

typedef struct vcam_recognize_config {
    bool recog_switch;
    bool recog_snap;
    bool send_origin_img;
    double recog_freq;
    double similar_thres;
} vcam_recognize_config;

/* What the camera does when a face matches one library. */
typedef struct vcam_linkage_entry {
    char repoId[64];
    char repoName[64];
    int32_t searchOrder;
    bool isAlarm;
    int32_t duration;
    bool isRs485;
    char protocol[32];
    int32_t consoleId;
    bool exclude;
    bool isNetworkRelay;
    char ip[16];
    uint16_t port;
    uint32_t delay;
} vcam_linkage_entry;

typedef struct vcam_linkage_config {
    int32_t count; /* entries the camera holds; at most VCAM_LINKAGE_ENTRIES are filled */
    vcam_linkage_entry entries[VCAM_LINKAGE_ENTRIES];
} vcam_linkage_config;

/* A people-counting line. */
typedef struct vcam_passflow_line {
    int32_t id;
    int32_t x1;
    int32_t y1;
    int32_t x2;
    int32_t y2;
    int32_t type;
    int32_t linetype;
} vcam_passflow_line;

typedef struct vcam_passflow_config {
    int32_t type;
    int32_t line_count; /* lines the camera holds; at most VCAM_PASSFLOW_LINES are filled */
    vcam_passflow_line lines[VCAM_PASSFLOW_LINES];
    int32_t start; /* second of the day at which counting starts */
    int32_t end;   /* start plus the counting duration, in seconds */
    int32_t upload_interval;
    bool upload_event;
} vcam_passflow_config;

/* An analysis module the camera offers. */
typedef struct vcam_capability_entry {
    char name[256];
    uint16_t reserved; /* always 0 */
} vcam_capability_entry;

typedef struct vcam_smart_capability {
    int32_t count; /* modules the camera lists; at most VCAM_CAPABILITY_MODULES are filled */
    vcam_capability_entry entries[VCAM_CAPABILITY_MODULES];
} vcam_smart_capability;

/*
 * ---- History and logs. ----
 * The paged queries begin with the same head: start_time, end_time, page_num, page_size,
 * total. The fields are repeated in each record rather than nested in a struct, because a
 * nested head would be padded to 32 bytes and would move the recognition history's entry
 * count away from offset 28.
 */

typedef struct vcam_flow_entry {
    char MatchedImgUrl[256];
    char MatchedName[64];
    float MatchedRate;
    bool Exclude;
    char DatabaseId[64];
    char Ext1[64];
    char Ext2[64];
    char Ext3[64];
    char Ext4[64];
    char Ext5[64];
    uint64_t TimeStamp;
    int32_t LineId;
    int32_t Type;
    uint32_t PersonId;
    char CropImgUrl[256];
    int32_t Gender;
    uint32_t Age;
} vcam_flow_entry;

typedef struct vcam_flow_history {
    uint64_t start_time;
    uint64_t end_time;
    int32_t page_num;
    int32_t page_size; /* on return: the number of entries in the reply */
    int32_t total;     /* on return: entries in the whole range */
    vcam_flow_entry entries[VCAM_FLOW_HISTORY_SLOTS];
} vcam_flow_history;

typedef struct vcam_flow_bucket {
    int32_t Sex;
    int32_t FlowType;
    int32_t Num_0_6;
    int32_t Num_7_12;
    int32_t Num_13_18;
    int32_t Num_19_28;
    int32_t Num_29_35;
    int32_t Num_36_45;
    int32_t Num_46_55;
    int32_t Num_gt_55;
} vcam_flow_bucket;

/* Counts of one line, with the age buckets the camera reports for that line. */
typedef struct vcam_flow_line_stat {
    int32_t LineType;
    int32_t InNumber;
    int32_t OutNumber;
    int32_t InFemaleNum;
    int32_t OutFemaleNum;
    int32_t InMaleNum;
    int32_t OutMaleNum;
    vcam_flow_bucket buckets[VCAM_FLOW_STAT_BUCKETS];
} vcam_flow_line_stat;

typedef struct vcam_flow_statistics {
    uint64_t start_time;
    uint64_t end_time;
    int32_t Interval; /* on return */
    vcam_flow_line_stat lines[VCAM_FLOW_STAT_LINES];
} vcam_flow_statistics;

typedef struct vcam_recognize_entry {
    int64_t TimeStamp;
    int64_t SysTime;
    char CropImgUrl[256];
    char MatchedImgUrl[256];
    char FeatureInfo[1024];
    char MatchedId[256];
    float MatchedRate;
    char DatabaseId[256];
    int32_t TrackId;
    char MatchedName[64];
    char Ext1[64];
} vcam_recognize_entry;

/*
 * Recognition events. The record is fixed-size like every other one, so it carries its slots
 * inline: at most page_size entries, and never more than VCAM_RECOGNIZE_HISTORY_SLOTS, are
 * filled. Ask for pages of at most that many entries.
 */
typedef struct vcam_recognize_history {
    uint64_t start_time;
    uint64_t end_time;
    int32_t page_num;
    int32_t page_size;
    int32_t total;       /* on return: entries in the whole range */
    int32_t entry_count; /* on return: the number of entries in the reply */
    vcam_recognize_entry entries[VCAM_RECOGNIZE_HISTORY_SLOTS];
} vcam_recognize_history;

typedef struct vcam_snap_entry {
    int64_t SysTime;
    char CropImgUrl[256];
    uint32_t Age;
    int32_t Gender; /* 0 unknown, 1 male, 2 female */
} vcam_snap_entry;

typedef struct vcam_snap_history {
    uint64_t start_time;
    uint64_t end_time;
    int32_t page_num;
    int32_t page_size; /* on return: the number of entries in the reply */
    int32_t total;     /* on return: entries in the whole range */
    vcam_snap_entry entries[VCAM_SNAP_HISTORY_SLOTS];
} vcam_snap_history;

/*
 * The camera's own log. `text` must be null before the first query; the library allocates it
 * and grows it on later queries. Release it with vcam_control_free_ipc_log only.
 */
typedef struct vcam_ipc_log {
    uint64_t start_time;
    uint64_t end_time;
    int32_t type;
    char* text;
} vcam_ipc_log;

/* ---- Library version and sessions. ---- */

/* The library's version text; needs no session. */
CAMLINK_API const char* vcam_control_version(void);

/*
 * Log in to the camera at `address`. The new session number is written to *session before
 * the attempt, whatever the outcome: log it out in every case. `reply` (at least
 * VCAM_LOGIN_REPLY_SIZE bytes) receives the start of the camera's answer to the credential
 * check (403: "retry_left", 423: "time_left").
 */
CAMLINK_API int vcam_control_login(int* session, const char* address, const char* user,
                                   const char* password);
CAMLINK_API int vcam_control_login_v2(int* session, const char* address, const char* user,
                                      const char* password, char* reply);
CAMLINK_API int vcam_control_logout(int session);

/* ---- Search of the local network; no session needed. ---- */

/*
 * Broadcast a search, listen for search_time_ms milliseconds, return the cameras found. The
 * area is never null and stays valid until the next search of the same generation.
 */
CAMLINK_API const vcam_search_area* vcam_scan(int search_time_ms);
CAMLINK_API const vcam_search_area_v2* vcam_scan_v2(int search_time_ms);

/* ---- Firmware upgrade over the session's login channel. ---- */

CAMLINK_API int vcam_control_update(int session, const char* path);

/* ---- Device information, restart, reset, clock, network and service ports. ---- */

CAMLINK_API int vcam_control_device_status(int session, vcam_device_status* record);
CAMLINK_API int vcam_control_device_attr(int session, vcam_device_attr* record);
CAMLINK_API int vcam_control_diagnoses(int session, vcam_device_diagnoses* record);
CAMLINK_API int vcam_control_reboot(int session);
CAMLINK_API int vcam_control_reset_config(int session);
CAMLINK_API int vcam_control_get_time(int session, vcam_time_config* record);
CAMLINK_API int vcam_control_set_time(int session, vcam_time_config* record);
CAMLINK_API int vcam_control_get_network(int session, vcam_network_config* record);
CAMLINK_API int vcam_control_set_network(int session, vcam_network_config* record);
CAMLINK_API int vcam_control_get_transfer_protocol(int session, vcam_transfer_protocol* record);
CAMLINK_API int vcam_control_set_transfer_protocol(int session, vcam_transfer_protocol* record);

/* ---- Image and video settings. A write also takes back values the camera reports. ---- */

CAMLINK_API int vcam_control_get_face_exposure(int session, vcam_face_exposure* record);
CAMLINK_API int vcam_control_set_face_exposure(int session, vcam_face_exposure* record);
CAMLINK_API int vcam_control_get_image_lighting(int session, vcam_image_lighting* record);
CAMLINK_API int vcam_control_set_image_lighting(int session, vcam_image_lighting* record);
CAMLINK_API int vcam_control_get_image_adjust(int session, vcam_image_adjust* record);
CAMLINK_API int vcam_control_set_image_adjust(int session, vcam_image_adjust* record);
CAMLINK_API int vcam_control_get_image_exposure(int session, vcam_image_exposure* record);
CAMLINK_API int vcam_control_set_image_exposure(int session, vcam_image_exposure* record);
CAMLINK_API int vcam_control_get_image_focus(int session, vcam_image_focus* record);
CAMLINK_API int vcam_control_set_image_focus(int session, vcam_image_focus* record);
CAMLINK_API int vcam_control_get_image_dnr(int session, vcam_image_dnr* record);
CAMLINK_API int vcam_control_set_image_dnr(int session, vcam_image_dnr* record);
CAMLINK_API int vcam_control_get_image_enhance(int session, vcam_image_enhance* record);
CAMLINK_API int vcam_control_set_image_enhance(int session, vcam_image_enhance* record);
CAMLINK_API int vcam_control_get_image_whitebalance(int session, vcam_image_whitebalance* record);
CAMLINK_API int vcam_control_set_image_whitebalance(int session, vcam_image_whitebalance* record);
CAMLINK_API int vcam_control_get_backlight(int session, vcam_image_backlight* record);
CAMLINK_API int vcam_control_set_backlight(int session, vcam_image_backlight* record);
CAMLINK_API int vcam_control_get_defog(int session, vcam_image_defog* record);
CAMLINK_API int vcam_control_set_defog(int session, vcam_image_defog* record);
CAMLINK_API int vcam_control_get_video_config(int session, vcam_video_config* record);
CAMLINK_API int vcam_control_set_video_config(int session, vcam_video_config* record);

/* ---- Analysis settings: capture, privacy zones, liveness, recognition, linkage, counting. */

CAMLINK_API int vcam_control_get_capture(int session, vcam_capture_config* record);
CAMLINK_API int vcam_control_set_capture(int session, vcam_capture_config* record);
CAMLINK_API int vcam_control_get_privacy_zone(int session, vcam_privacy_zone* record);
CAMLINK_API int vcam_control_set_privacy_zone(int session, vcam_privacy_zone* record);
CAMLINK_API int vcam_control_get_living_detect(int session, vcam_living_detect* record);
CAMLINK_API int vcam_control_set_living_detect(int session, vcam_living_detect* record);
CAMLINK_API int vcam_control_get_recognize(int session, vcam_recognize_config* record);
CAMLINK_API int vcam_control_set_recognize(int session, vcam_recognize_config* record);
CAMLINK_API int vcam_control_get_linkage(int session, vcam_linkage_config* record);
CAMLINK_API int vcam_control_set_linkage(int session, vcam_linkage_config* record);
CAMLINK_API int vcam_control_get_passflow(int session, vcam_passflow_config* record);
CAMLINK_API int vcam_control_set_passflow(int session, vcam_passflow_config* record);

/* ---- History queries, the camera's log and its analysis log file. ---- */

CAMLINK_API int vcam_control_get_flow_history(int session, vcam_flow_history* record);
CAMLINK_API int vcam_control_get_flow_statistics(int session, vcam_flow_statistics* record);
CAMLINK_API int vcam_recognize_get_history(int session, vcam_recognize_history* record);
CAMLINK_API int vcam_control_get_snap_history(int session, vcam_snap_history* record);
CAMLINK_API int vcam_control_get_ipc_log(int session, vcam_ipc_log* record);
CAMLINK_API int vcam_control_free_ipc_log(int session, vcam_ipc_log* record);
/*
 * Download the analysis log file. `path` is a buffer of VCAM_SMART_LOG_PATH_SIZE bytes: a
 * local path prefix on entry, the written file's path on return. The transfer ends once the
 * announced length has arrived (bytes beyond it are never read), and a whole download may last
 * 30 s plus one second per 256 KiB announced; a longer one ends as a time-out (10028).
 */
CAMLINK_API int vcam_control_get_smart_log(int session, char* path);
CAMLINK_API int vcam_control_get_smart_capability(int session, vcam_smart_capability* record);

/* ---- Face libraries and their images. ---- */

CAMLINK_API int vcam_control_create_library(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_update_library(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_delete_library(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_find_library(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_list_library(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_del_lib_image(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_lock_libgen(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_unlock_libgen(int session, vcam_library_record* record);
CAMLINK_API int vcam_control_add_image(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_update_image(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_delete_image(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_find_image(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_list_image(int session, vcam_image_query* record);
CAMLINK_API int vcam_control_extract_feature(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_image_data(int session, vcam_image_data_record* record);

/* ---- Whole face records (attributes, feature, image) out of and into a library. ---- */

CAMLINK_API int vcam_control_import_record(int session, vcam_image_record* record);
CAMLINK_API int vcam_control_export_record(int session, vcam_image_query* record);
CAMLINK_API int vcam_control_import_record_v2(int session, vcam_record_v2* record);
CAMLINK_API int vcam_control_export_record_v2(int session, vcam_image_query* record);

/* ---- Not supported: arguments are ignored, the result is always VCAM_ERR_UNSUPPORTED. ---- */

CAMLINK_API int vcam_control_add_feature(int session, void* record);
CAMLINK_API int vcam_control_add_id(int session, void* record);
CAMLINK_API int vcam_control_delete_feature(int session, void* record);
CAMLINK_API int vcam_control_delete_id(int session, void* record);
CAMLINK_API int vcam_control_delete_repo(int session, void* record);
CAMLINK_API int vcam_control_download_repo(int session, void* record);
CAMLINK_API int vcam_control_list_feature(int session, void* record);
CAMLINK_API int vcam_control_update_feature(int session, void* record);
CAMLINK_API int vcam_control_upload_repo(int session, void* record);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif /* CAMLINK_CAMLINK_H */
