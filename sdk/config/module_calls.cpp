// Image and smart settings kept in envelope modules: backlight, defog, the three video streams,
// privacy zones and liveness detection.
#include "config/envelope_calls.h"

namespace camlink {

namespace {

using Backlight = vcam_image_backlight;
using Defog = vcam_image_defog;
using Video = vcam_video_config;
using Privacy = vcam_privacy_zone;
using Living = vcam_living_detect;

// The camera keeps the backlight switch as an integer.
const Param<Backlight> kBacklightParams[] = {
    {"backlight_enable", ParamType::Int32, &Backlight::backlight_enable},
    {"backlight_level", ParamType::Int32, &Backlight::backlight_level},
};

const Param<Defog> kDefogParams[] = {
    {"defog_enable", ParamType::Int32, &Defog::defog_enable},
    {"defog_level", ParamType::Int32, &Defog::defog_level},
};

// In the order the camera expects them on a write; the stream is not a parameter, it names
// the module.
const Param<Video> kVideoParams[] = {
    {"iframe_interval", ParamType::Int32, &Video::iframe_interval},
    {"frame_rate", ParamType::Int32, &Video::frame_rate},
    {"bit_rate", ParamType::Int32, &Video::bit_rate},
    {"is_variable_rate", ParamType::Int32, &Video::is_variable_rate},
    {"encodetype", ParamType::Int32, &Video::encodetype},
    {"profile", ParamType::Int32, &Video::profile},
    {"resolution", ParamType::Int32, &Video::resolution},
};

const ModuleCall<Video> kVideoCalls[] = {
    {"video_config_main", kVideoParams, "getVideoConfig", "get video config failed.",
     "setVideoConfig"},
    {"video_config_sub", kVideoParams, "getVideoConfig", "get video config failed.",
     "setVideoConfig"},
    {"video_config_third", kVideoParams, "getVideoConfig", "get video config failed.",
     "setVideoConfig"},
};

const ModuleCall<Video>* videoCall(const Video& record) {
    constexpr uint32_t kStreams = sizeof kVideoCalls / sizeof kVideoCalls[0];
    return record.stream < kStreams ? &kVideoCalls[record.stream] : nullptr;
}

const struct {
    const char* name;
    int32_t vcam_region::*field;
} kCorners[] = {{"x1", &vcam_region::x1},
                {"y1", &vcam_region::y1},
                {"x2", &vcam_region::x2},
                {"y2", &vcam_region::y2}};

void readRegion(const Json::Value& value, vcam_region& region) {
    if (!value.isObject()) return;
    for (const auto& corner : kCorners)
        readParamValue(value[corner.name], region.*corner.field);
}

Json::Value regionValue(const vcam_region& region) {
    Json::Value value(Json::objectValue);
    for (const auto& corner : kCorners)
        value[corner.name] = region.*corner.field;
    return value;
}

// As many zones as the camera lists, never more than the record holds.
void readZones(const Json::Value& value, Privacy& record) {
    if (!value.isArray()) return;
    for (Json::ArrayIndex i = 0; i < value.size() && i < VCAM_PRIVACY_ZONES; ++i)
        readRegion(value[i], record.zones[i]);
}

// Every zone is written, used or not, so the camera never keeps a stale one.
Json::Value writeZones(const Privacy& record) {
    Json::Value zones(Json::arrayValue);
    for (const vcam_region& zone : record.zones)
        zones.append(regionValue(zone));
    return zones;
}

// The parameter names are the camera's own spelling.
const Param<Privacy> kPrivacyParams[] = {
    {"hieldregion_working", ParamType::Bool, &Privacy::working},
    {"shieldgion", ParamType::Region, ParamCodec<Privacy>{&readZones, &writeZones}},
};

const Param<Living> kLivingParams[] = {
    {"living_en", ParamType::Bool, &Living::living_en},
    {"living_thr", ParamType::Int32, &Living::living_thr},
};

}  // namespace

const ModuleCall<Backlight> kBacklightCall = {
    "image_backlight",           kBacklightParams,    "getImageBackLight",
    "cant get image_backlight.", "setImageBackLight",
};

const ModuleCall<Defog> kDefogCall = {
    "image_defog", kDefogParams, "getImageDefog", "cant get image_defog.", "setImageDefog",
};

const ModuleCall<Privacy> kPrivacyZoneCall = {
    "capecfg", kPrivacyParams, "getPrivacyZone", "cant get privacy zone.", "setPrivacyZone",
};

const ModuleCall<Living> kLivingDetectCall = {
    "capecfg",
    kLivingParams,
    "getAlivingDetectCfg",
    "get living config failed.",
    "setAlivingDetectCfg",
};

int readVideoConfig(LumenControl::LumenControlClient& client, Video& record) {
    const ModuleCall<Video>* call = videoCall(record);
    if (!call) return VCAM_ERR_ARGUMENT;
    const uint32_t stream = record.stream;  // the read clears the record; the stream stays
    const int rc = readModule(client, *call, record);
    record.stream = stream;
    return rc;
}

int writeVideoConfig(LumenControl::LumenControlClient& client, Video& record) {
    const ModuleCall<Video>* call = videoCall(record);
    if (!call) return VCAM_ERR_ARGUMENT;
    return writeModule(client, *call, record);
}

}  // namespace camlink
