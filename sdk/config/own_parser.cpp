#include "config/own_parser.h"

#include <climits>
#include <optional>
#include <string>

#include "core/call_support.h"
#include "core/json_text.h"
#include "core/log.h"

namespace camlink {

namespace {

constexpr char kConfigPath[] = "/common/config";
constexpr char kReadRequestLabel[] = "getCaptureConfig request : ";
constexpr char kWriteRequestLabel[] = "setCaptureConfig request: ";
constexpr int kHttpOk = 200;

constexpr GroupField kRegionFields[] = {
    field<vcam_region, &vcam_region::x1>("x1"),
    field<vcam_region, &vcam_region::y1>("y1"),
    field<vcam_region, &vcam_region::x2>("x2"),
    field<vcam_region, &vcam_region::y2>("y2"),
};

void copyText(const Json::Value& value, char* field, size_t width) {
    const std::string text = value.asString();
    const size_t n = text.size() < width - 1 ? text.size() : width - 1;
    text.copy(field, n);
    field[n] = '\0';
}

// A value of the wrong kind leaves the field as it was.
void readGroupValue(const GroupField& f, const Json::Value& v, void* record) {
    void* at = f.kind == GroupFieldKind::Custom ? nullptr : f.locate(record);
    switch (f.kind) {
        case GroupFieldKind::Int32:
            if (v.isInt()) *static_cast<int32_t*>(at) = v.asInt();
            break;
        case GroupFieldKind::UInt32:
            if (v.isUInt()) *static_cast<uint32_t*>(at) = v.asUInt();
            break;
        case GroupFieldKind::UInt16:
            if (v.isUInt() && v.asUInt() <= UINT16_MAX)
                *static_cast<uint16_t*>(at) = static_cast<uint16_t>(v.asUInt());
            break;
        case GroupFieldKind::Bool:
            if (v.isBool()) *static_cast<bool*>(at) = v.asBool();
            break;
        case GroupFieldKind::Double:
            if (v.isNumeric()) *static_cast<double*>(at) = v.asDouble();
            break;
        case GroupFieldKind::Text:
            if (v.isString()) copyText(v, static_cast<char*>(at), f.size);
            break;
        case GroupFieldKind::Region:
            if (v.isArray() && !v.empty() && v[0].isObject()) readObject(kRegionFields, v[0], at);
            break;
        case GroupFieldKind::Custom:
            if (f.read) f.read(v, record);
            break;
    }
}

Json::Value jsonValue(const GroupField& f, const void* record) {
    if (f.kind == GroupFieldKind::Custom) return f.write ? f.write(record) : Json::Value();
    const void* at = f.view(record);
    switch (f.kind) {
        case GroupFieldKind::Int32:
            return *static_cast<const int32_t*>(at);
        case GroupFieldKind::UInt32:
            return Json::UInt(*static_cast<const uint32_t*>(at));
        case GroupFieldKind::UInt16:
            return Json::UInt(*static_cast<const uint16_t*>(at));
        case GroupFieldKind::Bool:
            return *static_cast<const bool*>(at);
        case GroupFieldKind::Double:
            return *static_cast<const double*>(at);
        case GroupFieldKind::Text: {
            const char* text = static_cast<const char*>(at);
            return std::string(text, strnlen(text, f.size));
        }
        case GroupFieldKind::Region: {
            Json::Value regions(Json::arrayValue);
            regions.append(writeObject(kRegionFields, at));
            return regions;
        }
        case GroupFieldKind::Custom:
            break;
    }
    return Json::Value();
}

// The type tag of a parameter; unsigned fields travel as Int32 like the signed ones.
ParamType wireType(const GroupField& f) {
    switch (f.kind) {
        case GroupFieldKind::Bool:
            return ParamType::Bool;
        case GroupFieldKind::Double:
            return ParamType::Double;
        case GroupFieldKind::Text:
            return ParamType::String;
        case GroupFieldKind::Region:
            return ParamType::Region;
        case GroupFieldKind::Custom:
            return f.type;
        default:
            return ParamType::Int32;
    }
}

const GroupField* rowNamed(GroupFieldList fields, const std::string& name) {
    for (const GroupField& f : fields)
        if (name == f.name) return &f;
    return nullptr;
}

void readParams(GroupFieldList fields, const Json::Value& parm, void* record) {
    for (const Json::Value& p : parm) {
        const Json::Value* name = findMember(p, "name");
        const Json::Value* value = findMember(p, "value");
        if (!name || !name->isString() || !value) continue;
        if (const GroupField* row = rowNamed(fields, name->asString()))
            readGroupValue(*row, *value, record);
    }
}

Json::Value writeParams(GroupFieldList fields, const void* record) {
    Json::Value parm(Json::arrayValue);
    for (const GroupField& f : fields)
        parm.append(typedParam(wireType(f), f.name, jsonValue(f, record)));
    return parm;
}

// {"config": {"action": ..., "module": [{"name": ..., "parm": ...}]}}
std::string envelope(const char* action, const char* module, const Json::Value* parm) {
    Json::Value entry(Json::objectValue);
    entry["name"] = module;
    if (parm) entry["parm"] = *parm;
    Json::Value root(Json::objectValue);
    root["config"]["action"] = action;
    root["config"]["module"].append(entry);
    return compactJson(root);
}

int clampToInt(int64_t value) {
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}

bool namesModule(const Json::Value& element, const char* module) {
    const Json::Value* name = findMember(element, "name");
    return name && name->isString() && name->asString() == module;
}

}  // namespace

int parseGroupReply(const GroupRow& g, const std::string& text, void* record) {
    CAMLINK_LOG(kLogInfo, methodTag(g.parser)) << g.responseLabel << text;
    const std::optional<Json::Value> root = parseJson(text);
    if (!root || !root->isObject()) return kGroupReplyNotJson;
    int64_t code = 0;
    const Json::Value* codeValue = findMember(*root, "code");
    if (codeValue && integerOf(*codeValue, &code) && code < 0) return VCAM_ERR_CAMERA_FAILED;
    const Json::Value* config = findMember(*root, "config");
    const Json::Value* modules = config ? findMember(*config, "module") : nullptr;
    bool found = false;
    if (modules && modules->isArray()) {
        for (const Json::Value& element : *modules) {
            if (!namesModule(element, g.module)) continue;
            found = true;
            int64_t ret = 0;
            const Json::Value* retValue = findMember(element, "ret");
            if (retValue && integerOf(*retValue, &ret) && ret > 0)
                return clampToInt(VCAM_ERR_CAMERA_BASE + (ret > INT_MAX ? INT_MAX : ret));
            const Json::Value* parm = findMember(element, "parm");
            if (!parm || !parm->isArray()) continue;
            readParams(g.reads, *parm, record);
            if (g.finishRead) g.finishRead(*parm, record);
        }
    }
    if (!found && g.absent == AbsentModule::ReplyCode) return clampToInt(code);
    return VCAM_OK;
}

namespace {

// Posts the body and parses a 200 reply into the record.
int exchange(LumenControl::LumenControlClient& client, const GroupRow& g, const char* method,
             const std::string& body, void* record) {
    std::string response;
    const int status = client.httpPost(kConfigPath, body, response);
    if (status != kHttpOk) {
        logRequestFailed(method, status);
        return status;
    }
    const int parsed = parseGroupReply(g, response, record);
    return parsed >= 0 ? parsed : status;
}

}  // namespace

bool integerOf(const Json::Value& value, int64_t* out) {
    if (value.isInt64()) {
        *out = value.asInt64();
        return true;
    }
    if (value.isUInt64()) {  // above the signed range
        *out = INT64_MAX;
        return true;
    }
    return false;
}

const Json::Value* paramValue(const Json::Value& parm, const char* name) {
    const Json::Value* found = nullptr;
    if (!parm.isArray()) return nullptr;
    for (const Json::Value& p : parm) {
        const Json::Value* n = findMember(p, "name");
        const Json::Value* value = findMember(p, "value");
        if (n && n->isString() && n->asString() == name && value) found = value;
    }
    return found;
}

void readObject(GroupFieldList fields, const Json::Value& object, void* record) {
    for (const GroupField& f : fields) {
        const Json::Value* holder = f.parent ? findMember(object, f.parent) : &object;
        const Json::Value* value = holder ? findMember(*holder, f.name) : nullptr;
        if (value) readGroupValue(f, *value, record);
    }
}

Json::Value writeObject(GroupFieldList fields, const void* record) {
    Json::Value object(Json::objectValue);
    for (const GroupField& f : fields) {
        Json::Value& holder = f.parent ? object[f.parent] : object;
        holder[f.name] = jsonValue(f, record);
    }
    return object;
}

int readGroup(LumenControl::LumenControlClient& client, const GroupRow& g, void* record) {
    const std::string body = envelope("get_reqt", g.module, nullptr);
    if (g.requestLog == RequestLog::Logged) {
        CAMLINK_LOG(kLogInfo, methodTag(g.getMethod)) << kReadRequestLabel << body;
    }
    return exchange(client, g, g.getMethod, body, record);
}

int writeGroup(LumenControl::LumenControlClient& client, const GroupRow& g, void* record) {
    if (!g.setMethod) return VCAM_ERR_UNSUPPORTED;
    if (const char* name = g.rejected ? g.rejected(record) : nullptr) {
        CAMLINK_LOG(kLogError, methodTag(g.setMethod)) << "value not allowed for " << name;
        return VCAM_ERR_ARGUMENT;
    }
    const Json::Value parm = writeParams(g.writes, record);
    const std::string body = envelope("set_reqt", g.module, &parm);
    if (g.requestLog == RequestLog::Logged) {
        CAMLINK_LOG(kLogInfo, methodTag(g.setMethod)) << kWriteRequestLabel << body;
    }
    return exchange(client, g, g.setMethod, body, record);
}

}  // namespace camlink
