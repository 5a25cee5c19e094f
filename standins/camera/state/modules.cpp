#include "state/modules.h"

#include <chrono>
#include <initializer_list>
#include <utility>

namespace camsim {

namespace {

using Param = std::pair<const char*, Json::Value>;

Json::Value region(int x1, int y1, int x2, int y2) {
    Json::Value r(Json::objectValue);
    r["x1"] = x1;
    r["y1"] = y1;
    r["x2"] = x2;
    r["y2"] = y2;
    return r;
}

Json::Value array(std::initializer_list<Json::Value> items) {
    Json::Value a(Json::arrayValue);
    for (const auto& item : items)
        a.append(item);
    return a;
}

Json::Value countingLine() {
    Json::Value line = region(100, 540, 1820, 540);
    line["id"] = 1;
    line["type"] = 0;
    line["linetype"] = 1;
    return line;
}

int64_t nowSeconds() {
    using namespace std::chrono;
    return duration_cast<seconds>(system_clock::now().time_since_epoch()).count();
}

// Which JSON kinds a type tag admits for "value".
bool kindMatches(const std::string& tag, const Json::Value& v) {
    const std::string p = "vantor/lumen.type.";
    if (tag.compare(0, p.size(), p) != 0) return false;
    const std::string t = tag.substr(p.size());
    if (t == "Int32") return v.isInt();
    if (t == "UInt32") return v.isUInt();
    if (t == "Int64") return v.isInt64();
    if (t == "UInt64")  // decimal digits that fit 64 bits
        return v.isString() && !v.asString().empty() && v.asString().size() <= 19 &&
               v.asString().find_first_not_of("0123456789") == std::string::npos;
    if (t == "Double") return v.isNumeric();
    if (t == "Bool") return v.isBool();
    if (t == "String") return v.isString();
    if (t == "Region" || t == "Line" || t == "LinkageConfig" || t == "ModuleArray")
        return v.isArray();
    return false;
}

// A written value must keep the kind the camera stores for that parameter.
bool storedKindAccepts(const Json::Value& stored, const Json::Value& v) {
    switch (stored.type()) {
        case Json::booleanValue:
            return v.isBool();
        case Json::intValue:
        case Json::uintValue:
            return v.isIntegral() || v.isBool();
        case Json::realValue:
            return v.isNumeric();
        case Json::stringValue:
            return v.isString();
        case Json::arrayValue:
            return v.isArray();
        default:
            return false;
    }
}

// Keeps the stored kind: a number written to a decimal parameter stays decimal, a boolean
// written to an integer switch becomes 0 or 1.
Json::Value convertToStoredKind(const Json::Value& stored, const Json::Value& v) {
    if (stored.type() == Json::realValue) return v.asDouble();
    if ((stored.type() == Json::intValue || stored.type() == Json::uintValue) && v.isBool())
        return v.asBool() ? 1 : 0;
    if (stored.type() == Json::intValue) return v.asInt64();
    if (stored.type() == Json::uintValue && v.isUInt64()) return v.asUInt64();
    return v;
}

}  // namespace

std::map<std::string, ModuleStore::Module> ModuleStore::defaults() const {
    std::map<std::string, Module> m;
    auto add = [&m](const char* name, bool readOnly, std::initializer_list<Param> params) {
        Module mod;
        mod.readOnly = readOnly;
        for (const auto& [key, value] : params) {
            mod.order.push_back(key);
            mod.values[key] = value;
        }
        m[name] = mod;
    };
    const CameraConfig& c = config_;
    add("deviceInfo", true,
        {{"SerialNo", c.serialNo.c_str()},
         {"DeviceType", c.deviceType.c_str()},
         {"FirmwareVersion", "V1.2.1 build 190612"},
         {"HardwareVersion", "HW-2.0"}});
    add("smartinfo", true,
        {{"ota", c.firmware.c_str()},
         {"model", "FR200"},
         {"firmware", "1.2.1"},
         {"sdk", "3.1.6"},
         {"smart", "RECOG-2.0"}});
    add("device_status", true, {{"cpu_rate", 23}, {"memory", 41}});
    add("device_diagnose", true, {{"snapcnt", 1520u}, {"sendcnt", 1498u}});
    add("time", false,
        {{"cur_time", "0"},
         {"sync_model", "ntp"},
         {"time_zone", 8},
         {"time_zone_second", 28800},
         {"no_nvr_modify", false},
         {"sntp_server", "ntp.local"}});
    add("network", false,
        {{"MacAddress", c.mac.c_str()},
         {"LocalIp", c.address.c_str()},
         {"NetMask", "255.255.255.0"},
         {"GateWay", "127.0.0.1"},
         {"Dns1", "127.0.0.1"},
         {"Dns2", ""}});
    add("transfer_protocol", false,
        {{"http_port", 8089u}, {"https_port", 443u}, {"rtsp_port", 554u}, {"onvif_port", 8000u}});
    add("face_exposure", false, {{"enable", true}, {"luminance", 50}, {"duration", 5}});
    add("image_lighting", false,
        {{"lighting_mode", 0},
         {"lg_sensitivity", 3},
         {"lg_filtrationtime", 5},
         {"lg_gain", 50},
         {"lg_lighthour", 18},
         {"lg_lightmin", 0},
         {"lg_darkhour", 6},
         {"lg_darkmin", 0}});
    add("image_adjust", false,
        {{"brightness", 50}, {"contrast", 50}, {"saturation", 50}, {"sharpness", 50}});
    add("image_exposure", false, {{"exposure_mode", 0}, {"aegain", 50}, {"shutter", 40}});
    add("image_focus", false, {{"focus_mode", 0}, {"focus_control", 0}});
    add("image_dnr", false, {{"dnr_mode", 1}, {"dnr_3d_value", 50}, {"dnr_2d_value", 50}});
    add("image_enhance", false, {{"flicker_control", 0}, {"wdr_enable", 0}, {"drc_strength", 50}});
    add("image_whitebalance", false,
        {{"whitebalance_mode", 0}, {"wbred_gain", 50}, {"wbgreen_gain", 50}, {"wbblue_gain", 50}});
    add("image_backlight", false, {{"backlight_enable", 0}, {"backlight_level", 5}});
    add("image_defog", false, {{"defog_enable", 0}, {"defog_level", 5}});
    struct Stream {
        const char* name;
        int rate, bits, resolution;
    };
    for (const Stream& s :
         {Stream{"video_config_main", 25, 4096, 0}, Stream{"video_config_sub", 25, 1024, 3},
          Stream{"video_config_third", 15, 512, 5}}) {
        add(s.name, false,
            {{"encodetype", 1},
             {"iframe_interval", 50},
             {"frame_rate", s.rate},
             {"bit_rate", s.bits},
             {"is_variable_rate", 1},
             {"profile", 2},
             {"resolution", s.resolution}});
    }
    add("capecfg", false,
        {{"snapsizethr", 60},
         {"frontthr", 1000},
         {"beginpostframethr", 50},
         {"snapscale", 1.5},
         {"resnapthr", 100},
         {"firstnumavailthr", 3},
         {"numaftervanish", 5},
         {"switchregion", false},
         {"captregion", array({region(0, 0, 1920, 1080)})},
         {"captbackground", false},
         {"track_score_eliminate", 60},
         {"snap_mode", 0},
         {"sel_face_mode", 0},
         {"hieldregion_working", false},
         {"shieldgion",
          array({region(0, 0, 0, 0), region(0, 0, 0, 0), region(0, 0, 0, 0), region(0, 0, 0, 0)})},
         {"living_en", false},
         {"living_thr", 80}});
    add("RecogApp", false,
        {{"recog_switch", true},
         {"recog_snap", true},
         {"send_origin_img", false},
         {"recog_freq", 1.0},
         {"similar_thres", 0.8}});
    add("recoglinkage", false, {{"repolinkage", Json::Value(Json::arrayValue)}});
    add("passflow", false,
        {{"type", 0},
         {"groupid", 1},
         {"lines", array({countingLine()})},
         {"crontab", "0 0 16 ? * *"},
         {"duration", 86399},
         {"upload_interval", 60},
         {"upload_event", true}});
    add("capabi", true,
        {{"module_list",
          array({"face_capture", "face_recognize", "passflow", "living_detect", "linkage"})}});
    return m;
}

ModuleStore::ModuleStore(const CameraConfig& config) : config_(config) {
    modules_ = defaults();
}

Json::Value ModuleStore::currentValue(const std::string& module, const std::string& name,
                                      const Json::Value& stored) const {
    if (module == "time" && name == "cur_time") return std::to_string(nowSeconds() + clockOffset_);
    return stored;
}

Json::Value ModuleStore::read(const std::string& name) const {
    std::lock_guard<std::mutex> lock(mutex_);
    Json::Value out(Json::objectValue);
    out["name"] = name;
    auto it = modules_.find(name);
    if (it == modules_.end()) {
        out["ret"] = ret::kUnknownModule;
        return out;
    }
    out["ret"] = ret::kOk;
    out["parm"] = Json::Value(Json::arrayValue);
    for (const auto& key : it->second.order) {
        Json::Value p(Json::objectValue);
        p["name"] = key;
        p["value"] = currentValue(name, key, it->second.values.at(key));
        out["parm"].append(p);
    }
    return out;
}

int ModuleStore::validate(const Module& module, const Json::Value& parms) const {
    if (module.readOnly) return ret::kReadOnly;
    if (!parms.isArray()) return ret::kBadParameter;
    for (const auto& p : parms) {
        if (!p.isObject() || !p["name"].isString() || !p["@type"].isString() ||
            !p.isMember("value"))
            return ret::kBadParameter;
        auto stored = module.values.find(p["name"].asString());
        if (stored == module.values.end()) return ret::kBadParameter;
        const Json::Value& v = p["value"];
        if (!kindMatches(p["@type"].asString(), v)) return ret::kBadParameter;
        bool digits = p["@type"].asString() == "vantor/lumen.type.UInt64";
        if (!digits && !storedKindAccepts(stored->second, v)) return ret::kBadParameter;
    }
    return ret::kOk;
}

Json::Value ModuleStore::write(const std::string& name, const Json::Value& parms) {
    std::lock_guard<std::mutex> lock(mutex_);
    Json::Value out(Json::objectValue);
    out["name"] = name;
    auto it = modules_.find(name);
    int result = it == modules_.end() ? ret::kUnknownModule : validate(it->second, parms);
    out["ret"] = result;
    if (result != ret::kOk) return out;
    for (const auto& p : parms) {
        const std::string key = p["name"].asString();
        const Json::Value& v = p["value"];
        if (name == "time" && key == "cur_time") {
            clockOffset_ = static_cast<int64_t>(std::stoull(v.asString())) - nowSeconds();
            continue;
        }
        Json::Value& stored = it->second.values[key];
        stored = convertToStoredKind(stored, v);
    }
    dirty_ = true;
    return out;
}

void ModuleStore::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    modules_ = defaults();
    clockOffset_ = 0;
    dirty_ = true;
}

int ModuleStore::reboots() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return reboots_;
}

void ModuleStore::countReboot() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++reboots_;
}

Json::Value ModuleStore::snapshot() const {
    std::lock_guard<std::mutex> lock(mutex_);
    Json::Value out(Json::objectValue);
    for (const auto& [name, module] : modules_) {
        if (module.readOnly) continue;
        for (const auto& [key, value] : module.values)
            out[name][key] = value;
    }
    return out;
}

void ModuleStore::restore(const Json::Value& saved) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!saved.isObject()) return;
    for (const auto& name : saved.getMemberNames()) {
        auto it = modules_.find(name);
        if (it == modules_.end() || it->second.readOnly || !saved[name].isObject()) continue;
        for (const auto& key : saved[name].getMemberNames()) {
            auto stored = it->second.values.find(key);
            if (stored != it->second.values.end() &&
                storedKindAccepts(stored->second, saved[name][key]))
                stored->second = saved[name][key];
        }
    }
}

bool ModuleStore::takeDirty() {
    std::lock_guard<std::mutex> lock(mutex_);
    bool was = dirty_;
    dirty_ = false;
    return was;
}

}  // namespace camsim
