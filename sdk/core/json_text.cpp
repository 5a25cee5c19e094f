#include "core/json_text.h"

#include <memory>
#include <sstream>

namespace camlink {

std::string compactJson(const Json::Value& value) {
    // One writer per thread: building the writer's settings costs more than small bodies.
    thread_local const std::unique_ptr<Json::StreamWriter> writer = [] {
        Json::StreamWriterBuilder builder;
        builder["indentation"] = "";
        builder["emitUTF8"] = true;
        return std::unique_ptr<Json::StreamWriter>(builder.newStreamWriter());
    }();
    std::ostringstream out;
    writer->write(value, &out);
    return out.str();
}

std::optional<Json::Value> parseJson(const std::string& text) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = 256;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
            return std::nullopt;
    } catch (const Json::Exception&) {
        return std::nullopt;
    }
    return root;
}

const Json::Value* findMember(const Json::Value& object, const char* key) {
    if (!object.isObject()) return nullptr;
    return object.find(key, key + std::strlen(key));
}

const Json::Value& memberOf(const Json::Value& object, const char* key) {
    static const Json::Value kAbsent;
    const Json::Value* found = findMember(object, key);
    return found ? *found : kAbsent;
}

int64_t readInteger(const Json::Value& object, const char* key, int64_t fallback) {
    if (!object.isObject() || !object.isMember(key)) return fallback;
    const Json::Value& v = object[key];
    if (v.isInt64()) return v.asInt64();
    if (v.isUInt64()) return static_cast<int64_t>(v.asUInt64());
    if (v.isDouble()) {
        const double d = v.asDouble();
        if (d > -9.2e18 && d < 9.2e18) return static_cast<int64_t>(d);
        return fallback;
    }
    if (v.isBool()) return v.asBool() ? 1 : 0;
    return fallback;
}

std::string readText(const Json::Value& object, const char* key) {
    if (!object.isObject() || !object.isMember(key) || !object[key].isString()) return "";
    return object[key].asString();
}

}  // namespace camlink
