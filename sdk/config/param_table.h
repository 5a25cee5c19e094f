// Modules as data: a module's parameters are rows of a table (parameter name, type tag, record
// field), read by one generic reader and written by one generic writer. The field's C type and
// the tag decide the JSON kind; a value of another kind is treated as absent.
// Three table mechanisms map JSON members to C fields, each under its own names: Param* for
// module parameters (param_table.h), Group* for the own-parser groups (own_parser.h), ReplyField*
// for history and query records (reply_fields.h). All look members up with json_text.h.
#pragma once

#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "camlink.h"
#include "config/envelope.h"
#include "config/typed_param.h"
#include "core/client.h"

namespace camlink {

// For a value no plain field holds (a mapped text, an array of regions).
template <typename R>
struct ParamCodec {
    void (*read)(const Json::Value& value, R& record);  // leaves the record alone on a bad kind
    Json::Value (*write)(const R& record);
};

// The record fields a parameter can land in; the C type says how the value is read.
template <typename R>
using ParamTarget = std::variant<int32_t R::*, uint32_t R::*, bool R::*, uint64_t R::*,
                                char (R::*)[64], char (R::*)[256], ParamCodec<R>>;

template <typename R>
struct Param {
    const char* name;
    ParamType type;  // the tag of a write; Int32 on a bool field writes 0 or 1
    ParamTarget<R> field;
    bool (*sent)(const R& record) = nullptr;  // null: always written
};

template <typename R>
class ParamList {
public:
    template <size_t N>
    constexpr ParamList(const Param<R> (&params)[N]) : begin_(params), end_(params + N) {}
    const Param<R>* begin() const { return begin_; }
    const Param<R>* end() const { return end_; }

private:
    const Param<R>* begin_;
    const Param<R>* end_;
};

// One configuration module and the calls that read and write it.
template <typename R>
struct ModuleCall {
    const char* module;
    ParamList<R> params;
    const char* readMethod;  // log tags
    const char* readFail;    // error line of a read the camera did not answer
    const char* writeMethod;
    bool (*writable)(const R& record) = nullptr;  // checked before a write; false gives 18
    bool clearBeforeRead = false;
};

inline constexpr char kSetFailed[] = "Set module config failed.";

// Reads of one value into a field of that C type; a value of another kind changes nothing.
void readParamValue(const Json::Value& value, int32_t& field);
void readParamValue(const Json::Value& value, uint32_t& field);
void readParamValue(const Json::Value& value, bool& field);      // true/false, or a number: non-zero
void readParamValue(const Json::Value& value, uint64_t& field);  // decimal digits in a string
void readParamText(const Json::Value& value, char* field, size_t width);  // cut to width - 1

// The JSON value written for a field under a tag.
Json::Value wireValue(int32_t field, ParamType type);
Json::Value wireValue(uint32_t field, ParamType type);
Json::Value wireValue(bool field, ParamType type);
Json::Value wireValue(uint64_t field, ParamType type);

// Each {"name", "value"} element of a reply module's "parm" array.
void forEachParam(
    const Json::Value& module,
    const std::function<void(const std::string& name, const Json::Value& value)>& visit);

template <typename R>
void readParam(const Param<R>& param, const Json::Value& value, R& record) {
    std::visit(
        [&](const auto& field) {
            using F = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<F, ParamCodec<R>>) {
                field.read(value, record);
            } else {
                auto& target = record.*field;
                if constexpr (std::is_array_v<std::remove_reference_t<decltype(target)>>)
                    readParamText(value, target, sizeof target);
                else
                    readParamValue(value, target);
            }
        },
        param.field);
}

template <typename R>
Json::Value writeParam(const Param<R>& param, const R& record) {
    Json::Value value = std::visit(
        [&](const auto& field) -> Json::Value {
            using F = std::decay_t<decltype(field)>;
            if constexpr (std::is_same_v<F, ParamCodec<R>>) {
                return field.write(record);
            } else {
                const auto& source = record.*field;
                if constexpr (std::is_array_v<std::remove_reference_t<decltype(source)>>)
                    return std::string(source, strnlen(source, sizeof source));
                else
                    return wireValue(source, param.type);
            }
        },
        param.field);
    return typedParam(param.type, param.name, value);
}

// Fills the record from a reply module: every known parameter name, in reply order.
template <typename R>
void fillFromModule(const Json::Value& module, ParamList<R> params, R& record) {
    forEachParam(module, [&](const std::string& name, const Json::Value& value) {
        for (const Param<R>& param : params)
            if (name == param.name) readParam(param, value, record);
    });
}

template <typename R>
Json::Value paramArray(ParamList<R> params, const R& record) {
    Json::Value parms(Json::arrayValue);
    for (const Param<R>& param : params)
        if (!param.sent || param.sent(record)) parms.append(writeParam(param, record));
    return parms;
}

template <typename R>
void clearRecord(R& record) {
    static_assert(std::is_trivially_copyable_v<R>, "records are plain C structures");
    std::memset(&record, 0, sizeof record);
}

template <typename R>
struct ModuleParams {
    const char* module;
    ParamList<R> params;
};

// Reads several modules into one record: the usual mapping of the envelope's count, then the
// record cleared and filled module by module.
template <typename R, size_t N>
int readModules(LumenControl::LumenControlClient& client, const ModuleParams<R> (&modules)[N],
                const char* method, const char* failText, R& record) {
    std::vector<std::string> names;
    for (const auto& m : modules)
        names.emplace_back(m.module);
    std::vector<Json::Value> found;
    const int rc =
        moduleResult(getModuleConfig(client, names, found), static_cast<int>(N), method, failText);
    if (rc != 0) return rc;
    clearRecord(record);
    for (size_t i = 0; i < N; ++i)
        fillFromModule(found[i], modules[i].params, record);
    return 0;
}

template <typename R>
int readModule(LumenControl::LumenControlClient& client, const ModuleCall<R>& call, R& record) {
    if (call.clearBeforeRead) clearRecord(record);
    const ModuleParams<R> modules[] = {{call.module, call.params}};
    return readModules(client, modules, call.readMethod, call.readFail, record);
}

template <typename R>
int writeModule(LumenControl::LumenControlClient& client, const ModuleCall<R>& call,
                const R& record) {
    if (call.writable && !call.writable(record)) return VCAM_ERR_ARGUMENT;
    const int count = setModuleConfig(client, {call.module}, {paramArray(call.params, record)});
    return moduleResult(count, 1, call.writeMethod, kSetFailed);
}

}  // namespace camlink
