// The module envelope: reading and writing configuration modules, reboot and reset.
#include "routes/reply.h"
#include "routes/router.h"
#include "state/camera_codes.h"
#include "util/json_util.h"

namespace camsim {

namespace {

constexpr Json::ArrayIndex kMaxModulesPerRequest = 64;

HttpResponse envelopeFailure(const std::string& why) {
    return jsonReply(code::kBadRequest, why);
}

HttpResponse configReply(Json::Value modules) {
    Json::Value root(Json::objectValue);
    root["code"] = code::kSuccess;
    root["msg"] = "success";
    root["config"]["module"] = std::move(modules);
    HttpResponse r;
    r.body = writeCompact(root);
    return r;
}

// {"config": {"action": ..., "module": [...]}}; nullptr with `why` set when malformed.
const Json::Value* envelope(const Json::Value& root, std::string* action, std::string* why) {
    const Json::Value& config = root["config"];
    if (!config.isObject()) {
        *why = "\"config\" object missing";
        return nullptr;
    }
    if (!config["action"].isString()) {
        *why = "\"action\" missing";
        return nullptr;
    }
    *action = config["action"].asString();
    const Json::Value& modules = config["module"];
    if (!modules.isArray() || modules.empty() || modules.size() > kMaxModulesPerRequest) {
        *why = "\"module\" must be a non-empty array";
        return nullptr;
    }
    for (const auto& m : modules) {
        if (!m.isObject() || !m["name"].isString()) {
            *why = "every module needs a \"name\"";
            return nullptr;
        }
    }
    return &modules;
}

HttpResponse moduleConfig(CameraContext& ctx, const HttpRequest& req) {
    auto root = parseJson(req.body);
    if (!root || !root->isObject()) return envelopeFailure("body is not a JSON object");
    std::string action, why;
    const Json::Value* modules = envelope(*root, &action, &why);
    if (!modules) return envelopeFailure(why);
    if (action != "get_reqt" && action != "set_reqt")
        return envelopeFailure("unknown action \"" + action + "\"");
    Json::Value out(Json::arrayValue);
    for (const auto& m : *modules) {
        const std::string name = m["name"].asString();
        out.append(action == "get_reqt" ? ctx.modules.read(name)
                                        : ctx.modules.write(name, m["parm"]));
    }
    return configReply(out);
}

HttpResponse deviceControl(CameraContext& ctx, const HttpRequest& req) {
    auto root = parseJson(req.body);
    if (!root || !root->isObject()) return envelopeFailure("body is not a JSON object");
    std::string action, why;
    const Json::Value* modules = envelope(*root, &action, &why);
    if (!modules) return envelopeFailure(why);
    if ((*modules)[0]["name"].asString() != "device_control")
        return envelopeFailure("control needs the module \"device_control\"");
    if (action == "reboot") {
        ctx.modules.countReboot();
    } else if (action == "reset") {
        ctx.modules.reset();
    } else {
        return envelopeFailure("unknown action \"" + action + "\"");
    }
    return jsonReply(code::kSuccess, "success");
}

}  // namespace

void registerConfigRoutes(Router& router) {
    router.add("/common/config", &moduleConfig);
    router.add("/digest/config", &moduleConfig);
    router.add("/common/control", &deviceControl);
}

}  // namespace camsim
