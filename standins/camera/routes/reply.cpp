#include "routes/reply.h"

#include "state/camera_codes.h"
#include "util/json_util.h"

namespace camsim {

HttpResponse jsonReply(int code, const std::string& msg, const Json::Value& data) {
    Json::Value root(Json::objectValue);
    root["code"] = code;
    root["msg"] = msg;
    if (!data.isNull()) root["data"] = data;
    HttpResponse r;
    r.body = writeCompact(root);
    return r;
}

HttpResponse jsonReply(const StoreResult& result) {
    return jsonReply(result.code, result.msg.empty() ? "success" : result.msg, result.data);
}

HttpResponse badRequest(const std::string& why) {
    return jsonReply(code::kBadRequest, why);
}

HttpResponse notFound() {
    HttpResponse r = jsonReply(code::kBadRequest, "no such path");
    r.status = 404;
    return r;
}

BodyReader::BodyReader(const std::string& body) {
    auto parsed = parseJson(body);
    if (!parsed || !parsed->isObject()) {
        problem("body is not a JSON object");
        return;
    }
    root_ = std::move(*parsed);
}

BodyReader::BodyReader(const Json::Value& object) : root_(object) {
    if (!root_.isObject()) problem("not a JSON object");
}

void BodyReader::problem(const std::string& why) {
    if (error_.empty()) error_ = why;
}

std::optional<std::string> BodyReader::optionalText(const char* key, size_t maxBytes) {
    if (!ok() || !root_.isMember(key)) return std::nullopt;
    const Json::Value& v = root_[key];
    if (!v.isString()) {
        problem(std::string("\"") + key + "\" must be a string");
        return std::nullopt;
    }
    std::string s = v.asString();
    if (s.size() > maxBytes) {
        problem(std::string("\"") + key + "\" is too long");
        return std::nullopt;
    }
    return s;
}

std::string BodyReader::text(const char* key, size_t maxBytes) {
    if (ok() && !root_.isMember(key)) problem(std::string("\"") + key + "\" is missing");
    return optionalText(key, maxBytes).value_or("");
}

std::optional<int64_t> BodyReader::optionalInteger(const char* key, int64_t min, int64_t max) {
    if (!ok() || !root_.isMember(key)) return std::nullopt;
    const Json::Value& v = root_[key];
    if (!v.isInt64() || v.asInt64() < min || v.asInt64() > max) {
        problem(std::string("\"") + key + "\" must be an integer from " + std::to_string(min) +
                " to " + std::to_string(max));
        return std::nullopt;
    }
    return v.asInt64();
}

int64_t BodyReader::integer(const char* key, int64_t min, int64_t max) {
    if (ok() && !root_.isMember(key)) problem(std::string("\"") + key + "\" is missing");
    return optionalInteger(key, min, max).value_or(0);
}

}  // namespace camsim
