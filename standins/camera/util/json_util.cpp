#include "util/json_util.h"

#include <memory>

namespace camsim {

std::optional<Json::Value> parseJson(std::string_view text) {
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["stackLimit"] = 200;
    builder["rejectDupKeys"] = false;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    try {
        if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
            return std::nullopt;
    } catch (const Json::Exception&) {  // nesting beyond the stack limit
        return std::nullopt;
    }
    return root;
}

std::string writeCompact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

std::optional<std::string> stringMember(const Json::Value& object, const char* key) {
    if (!object.isObject() || !object.isMember(key) || !object[key].isString()) return std::nullopt;
    return object[key].asString();
}

std::optional<int64_t> intMember(const Json::Value& object, const char* key) {
    if (!object.isObject() || !object.isMember(key) || !object[key].isInt64()) return std::nullopt;
    return object[key].asInt64();
}

std::optional<uint64_t> uintMember(const Json::Value& object, const char* key) {
    if (!object.isObject() || !object.isMember(key) || !object[key].isUInt64()) return std::nullopt;
    return object[key].asUInt64();
}

}  // namespace camsim
