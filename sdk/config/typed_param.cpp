#include "config/typed_param.h"

namespace camlink {

const char* paramTypeTag(ParamType type) {
    switch (type) {
        case ParamType::Int32:
            return "vantor/lumen.type.Int32";
        case ParamType::UInt32:
            return "vantor/lumen.type.UInt32";
        case ParamType::Int64:
            return "vantor/lumen.type.Int64";
        case ParamType::UInt64:
            return "vantor/lumen.type.UInt64";
        case ParamType::Double:
            return "vantor/lumen.type.Double";
        case ParamType::Bool:
            return "vantor/lumen.type.Bool";
        case ParamType::String:
            return "vantor/lumen.type.String";
        case ParamType::Region:
            return "vantor/lumen.type.Region";
        case ParamType::Line:
            return "vantor/lumen.type.Line";
        case ParamType::LinkageConfig:
            return "vantor/lumen.type.LinkageConfig";
        case ParamType::ModuleArray:
            return "vantor/lumen.type.ModuleArray";
    }
    return "";
}

Json::Value typedParam(ParamType type, const char* name, const Json::Value& value) {
    Json::Value param(Json::objectValue);
    param["@type"] = paramTypeTag(type);
    param["name"] = name;
    if (type == ParamType::UInt64 && value.isUInt64())
        param["value"] = std::to_string(value.asUInt64());
    else
        param["value"] = value;
    return param;
}

}  // namespace camlink
