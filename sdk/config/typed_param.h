// Typed parameters of the module envelope: {"@type": <tag>, "name": <name>, "value": <value>}.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <string>

namespace camlink {

enum class ParamType {
    Int32,
    UInt32,
    Int64,
    UInt64,  // the value travels as decimal digits in a JSON string
    Double,
    Bool,
    String,
    Region,
    Line,
    LinkageConfig,
    ModuleArray,
};

// "vantor/lumen.type.Int32" and so on.
const char* paramTypeTag(ParamType type);

// The parameter object; for UInt64 pass the number, it is written as a decimal string.
Json::Value typedParam(ParamType type, const char* name, const Json::Value& value);

}  // namespace camlink
