#include "config/param_table.h"

#include <limits>
#include <optional>

namespace camlink {

namespace {

// A JSON integer (or a number with an integral value) that fits 64 signed bits.
std::optional<int64_t> integral(const Json::Value& value) {
    if (value.isInt64()) return value.asInt64();
    return std::nullopt;
}

}  // namespace

void readParamValue(const Json::Value& value, int32_t& field) {
    const std::optional<int64_t> n = integral(value);
    if (n && *n >= std::numeric_limits<int32_t>::min() && *n <= std::numeric_limits<int32_t>::max())
        field = static_cast<int32_t>(*n);
}

void readParamValue(const Json::Value& value, uint32_t& field) {
    const std::optional<int64_t> n = integral(value);
    if (n && *n >= 0 && *n <= std::numeric_limits<uint32_t>::max())
        field = static_cast<uint32_t>(*n);
}

void readParamValue(const Json::Value& value, bool& field) {
    if (value.isBool()) {
        field = value.asBool();
    } else if (const std::optional<int64_t> n = integral(value)) {
        field = *n != 0;
    }
}

void readParamValue(const Json::Value& value, uint64_t& field) {
    if (!value.isString()) return;
    const std::string digits = value.asString();
    if (digits.empty()) return;
    constexpr uint64_t kMax = std::numeric_limits<uint64_t>::max();
    uint64_t n = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return;
        const auto digit = static_cast<uint64_t>(c - '0');
        if (n > (kMax - digit) / 10) return;  // does not fit 64 bits
        n = n * 10 + digit;
    }
    field = n;
}

void readParamText(const Json::Value& value, char* field, size_t width) {
    if (!value.isString() || width == 0) return;
    const std::string text = value.asString();
    const size_t n = text.size() < width - 1 ? text.size() : width - 1;
    text.copy(field, n);
    field[n] = '\0';
}

Json::Value wireValue(int32_t field, ParamType) {
    return Json::Value(Json::Int(field));
}

Json::Value wireValue(uint32_t field, ParamType) {
    return Json::Value(Json::UInt(field));
}

// Some modules keep their switches as integers: under an integer tag a flag travels as 0 or 1.
Json::Value wireValue(bool field, ParamType type) {
    if (type == ParamType::Bool) return Json::Value(field);
    return Json::Value(field ? 1 : 0);
}

Json::Value wireValue(uint64_t field, ParamType) {
    return Json::Value(Json::UInt64(field));
}

void forEachParam(
    const Json::Value& module,
    const std::function<void(const std::string& name, const Json::Value& value)>& visit) {
    if (!module.isObject()) return;
    const Json::Value& parms = module["parm"];
    if (!parms.isArray()) return;
    for (const Json::Value& parm : parms) {
        if (!parm.isObject() || !parm["name"].isString() || !parm.isMember("value")) continue;
        visit(parm["name"].asString(), parm["value"]);
    }
}

}  // namespace camlink
