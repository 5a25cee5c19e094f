#include "config/envelope.h"

#include <utility>

#include "camlink.h"
#include "core/call_support.h"
#include "core/json_text.h"
#include "core/log.h"

namespace camlink {

namespace {

const char kGetMethod[] = "getModuleConfig";
const char kSetMethod[] = "setModuleConfig";

const char kRebootBody[] =
    "{\"config\":{\"action\":\"reboot\",\"module\":[{\"name\":\"device_control\"}]}}";
const char kResetBody[] =
    "{\"config\":{\"action\":\"reset\",\"module\":[{\"name\":\"device_control\"}]}}";

std::string requestBody(const char* action, Json::Value modules) {
    Json::Value root(Json::objectValue);
    root["config"]["action"] = action;
    root["config"]["module"] = std::move(modules);
    return compactJson(root);
}

// Parses a 200 reply into `root`: 0, -13 when the reply is not JSON, -4000 when its "code" is -1.
int parseReply(const std::string& response, const char* method, bool logReply, Json::Value& root) {
    if (logReply) {
        CAMLINK_LOG(kLogInfo, methodTag(method)) << "Get config response: " << response;
    }
    std::optional<Json::Value> parsed = parseJson(response);
    if (!parsed) {
        CAMLINK_LOG(kLogError, methodTag(method)) << "Json parse failed";
        return kEnvelopeNotJson;
    }
    root = std::move(*parsed);
    if (readInteger(root, "code", 0) == -1) {
        CAMLINK_LOG(kLogError, methodTag(method)) << "Get config failed: " << readText(root, "msg");
        return kEnvelopeRefused;
    }
    return 0;
}

// Posts the body: 0 with the reply text, or -(transport result).
int post(LumenControl::LumenControlClient& client, const char* path, const std::string& body,
         const char* method, std::string& response) {
    const int status = client.httpPost(path, body, response);
    if (status == 200) return 0;
    logRequestFailed(method, status);
    return -status;
}

// The reply's "config" -> "module" array, or null (logged) when it is missing or empty.
Json::Value* replyModules(Json::Value& root, const char* method) {
    Json::Value* modules = nullptr;
    if (root.isObject() && root["config"].isObject()) modules = &root["config"]["module"];
    if (!modules || !modules->isArray() || modules->empty()) {
        CAMLINK_LOG(kLogError, methodTag(method)) << "No module config response";
        return nullptr;
    }
    return modules;
}

bool answered(const Json::Value& module, const std::string& name) {
    return module.isObject() && module["name"].isString() && module["name"].asString() == name &&
           readInteger(module, "ret", -1) == 0;
}

// Counts the reply's modules that answer `name` with "ret" 0, walking from the last to the first;
// with `found` each one is moved there, so the one nearest the front is what stays.
int collect(Json::Value& modules, const std::string& name, Json::Value* found) {
    int count = 0;
    for (Json::ArrayIndex i = modules.size(); i-- > 0;) {
        if (!answered(modules[i], name)) continue;
        ++count;
        if (!found) continue;
        CAMLINK_LOG(kLogInfo, methodTag(kGetMethod)) << "Found module: " << name;
        *found = std::move(modules[i]);
        modules[i] = Json::Value();
    }
    return count;
}

bool emptyNames(const std::vector<std::string>& names, const char* method) {
    if (!names.empty()) return false;
    CAMLINK_LOG(kLogWarning, methodTag(method)) << "module name list empty.";
    return true;
}

}  // namespace

int getModuleConfig(LumenControl::LumenControlClient& client, const std::vector<std::string>& names,
                    std::vector<Json::Value>& modules) {
    if (emptyNames(names, kGetMethod)) return kEnvelopeBadArgument;
    Json::Value request(Json::arrayValue);
    for (const auto& name : names) {
        Json::Value module(Json::objectValue);
        module["name"] = name;
        request.append(module);
    }
    std::string response;
    const int rc = post(client, "/common/config", requestBody("get_reqt", std::move(request)),
                        kGetMethod, response);
    return rc != 0 ? rc : readModuleReply(response, names, modules);
}

int readModuleReply(const std::string& response, const std::vector<std::string>& names,
                    std::vector<Json::Value>& modules) {
    Json::Value root;
    const int rc = parseReply(response, kGetMethod, true, root);
    if (rc != 0) return rc;
    Json::Value* reply = replyModules(root, kGetMethod);
    if (!reply) return kEnvelopeRefused;
    modules.assign(names.size(), Json::Value());
    int count = 0;
    for (size_t i = 0; i < names.size(); ++i)
        count += collect(*reply, names[i], &modules[i]);
    return count;
}

int setModuleConfig(LumenControl::LumenControlClient& client, const std::vector<std::string>& names,
                    const std::vector<Json::Value>& parms) {
    if (emptyNames(names, kSetMethod)) return kEnvelopeBadArgument;
    Json::Value request(Json::arrayValue);
    for (size_t i = 0; i < names.size(); ++i) {
        if (i >= parms.size() || !parms[i].isArray()) {
            CAMLINK_LOG(kLogError, methodTag(kSetMethod)) << "Bad Paramter!";
            return kEnvelopeBadArgument;
        }
        Json::Value module(Json::objectValue);
        module["name"] = names[i];
        module["parm"] = parms[i];
        request.append(std::move(module));
    }
    std::string response;
    const int rc = post(client, "/common/config", requestBody("set_reqt", std::move(request)),
                        kSetMethod, response);
    return rc != 0 ? rc : countConfirmedModules(response, names);
}

int countConfirmedModules(const std::string& response, const std::vector<std::string>& names) {
    Json::Value root;
    const int rc = parseReply(response, kSetMethod, false, root);
    if (rc != 0) return rc;
    Json::Value* reply = replyModules(root, kSetMethod);
    if (!reply) return kEnvelopeRefused;
    int count = 0;
    for (const auto& name : names)
        count += collect(*reply, name, nullptr);
    return count;
}

int controlDevice(LumenControl::LumenControlClient& client, DeviceAction action,
                  const char* method) {
    const char* body = action == DeviceAction::Reboot ? kRebootBody : kResetBody;
    std::string response;
    int rc = post(client, "/common/control", body, method, response);
    Json::Value root;
    if (rc == 0) rc = parseReply(response, method, true, root);
    return -rc;
}

int moduleResult(int count, int expected, const char* method, const char* failText) {
    if (count < 0) return -count;
    if (count == expected) return VCAM_OK;
    CAMLINK_LOG(kLogError, methodTag(method)) << failText;
    return VCAM_ERR_REPLY;
}

}  // namespace camlink
