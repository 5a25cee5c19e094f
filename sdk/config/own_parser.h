// The settings calls that build their own module envelope and read the camera's reply with a
// parser of their own. Each settings group is one row of data: its module, its log tags and
// the tables of parameters it reads and writes (name, record field, kind). One reader and one
// writer serve every group.
// Three table mechanisms map JSON members to C fields, each under its own names: Param* for
// module parameters (param_table.h), Group* for the own-parser groups (own_parser.h), ReplyField*
// for history and query records (reply_fields.h). All look members up with json_text.h.
#pragma once

#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>

#include "camlink.h"
#include "config/typed_param.h"
#include "core/client.h"

namespace camlink {

// How a value is kept in its record field; for parameters it also fixes the type tag written.
enum class GroupFieldKind {
    Int32,
    UInt32,
    UInt16,
    Bool,
    Double,
    Text,    // fixed-width NUL-terminated bytes
    Region,  // a vcam_region, carried as an array whose first object holds it
    Custom,  // read and written by the row's own functions
};

using CustomRead = void (*)(const Json::Value& value, void* record);
using CustomWrite = Json::Value (*)(const void* record);

// One parameter (or one member of an object) and where it lives in the record.
struct GroupField {
    const char* name;
    GroupFieldKind kind;
    void* (*locate)(void* record);            // scalar kinds: the field inside the record
    const void* (*view)(const void* record);  // the same, read only
    size_t size;                              // Text: the field's width
    const char* parent;                       // nested member: "alarm" → "isAlarm"
    ParamType type;                           // Custom: the type tag written
    CustomRead read;                          // Custom: null when the group reads it itself
    CustomWrite write;                        // Custom: null for read-only groups
};

namespace detail {

template <typename>
struct MemberOf;
template <typename Record, typename Type>
struct MemberOf<Type Record::*> {
    using record = Record;
    using type = Type;
};

template <typename T>
constexpr GroupFieldKind kindOf() {
    if constexpr (std::is_same_v<T, int32_t>)
        return GroupFieldKind::Int32;
    else if constexpr (std::is_same_v<T, uint32_t>)
        return GroupFieldKind::UInt32;
    else if constexpr (std::is_same_v<T, uint16_t>)
        return GroupFieldKind::UInt16;
    else if constexpr (std::is_same_v<T, bool>)
        return GroupFieldKind::Bool;
    else if constexpr (std::is_same_v<T, double>)
        return GroupFieldKind::Double;
    else if constexpr (std::is_same_v<T, vcam_region>)
        return GroupFieldKind::Region;
    else {
        static_assert(std::is_array_v<T> && std::is_same_v<std::remove_extent_t<T>, char>,
                      "no kind for this field type");
        return GroupFieldKind::Text;
    }
}

template <typename Record, auto Member>
void* locate(void* record) {
    return &(static_cast<Record*>(record)->*Member);
}

template <typename Record, auto Member>
const void* view(const void* record) {
    return &(static_cast<const Record*>(record)->*Member);
}

}  // namespace detail

// A row for a record field; its kind comes from the field's type.
template <typename Record, auto Member>
constexpr GroupField field(const char* name, const char* parent = nullptr) {
    using Traits = detail::MemberOf<decltype(Member)>;
    static_assert(std::is_same_v<typename Traits::record, Record>, "member of another record");
    using Type = typename Traits::type;
    return GroupField{name,
                      detail::kindOf<Type>(),
                      &detail::locate<Record, Member>,
                      &detail::view<Record, Member>,
                      sizeof(Type),
                      parent,
                      ParamType::Int32,
                      nullptr,
                      nullptr};
}

// A row whose value the group converts with its own functions.
constexpr GroupField customField(const char* name, ParamType type, CustomRead read,
                                 CustomWrite write) {
    return GroupField{name, GroupFieldKind::Custom, nullptr, nullptr, 0, nullptr, type, read, write};
}

// A table of rows, taken from a constant array.
class GroupFieldList {
public:
    constexpr GroupFieldList() = default;
    template <size_t N>
    constexpr GroupFieldList(const GroupField (&rows)[N]) : rows_(rows), count_(N) {}
    const GroupField* begin() const { return rows_; }
    const GroupField* end() const { return rows_ + count_; }

private:
    const GroupField* rows_ = nullptr;
    size_t count_ = 0;
};

// Whether the request body goes to the log at info level.
enum class RequestLog { Logged, Silent };
// Whether a read zeroes the whole record before the request.
enum class ReadStart { Cleared, AsGiven };
// What a reply without the group's module element gives.
enum class AbsentModule { Success, ReplyCode };

struct GroupRow {
    const char* module;
    const char* getMethod;      // log tags of the two directions
    const char* setMethod;      // null: read only
    const char* parser;         // log tag of the reply
    const char* responseLabel;  // put before the reply text in the log
    RequestLog requestLog;
    ReadStart readStart;
    AbsentModule absent;
    GroupFieldList reads;
    GroupFieldList writes;                                           // in the order sent
    void (*finishRead)(const Json::Value& parm, void* record);  // after the rows, or null
    const char* (*rejected)(const void* record);  // first parameter not allowed, or null
};

// A group bound to its record type, so an export cannot pass the wrong record.
template <typename Record>
struct SettingsGroup {
    GroupRow row;
};

// The group's parser of a 200 reply: 0 or a result code, or kGroupReplyNotJson (the call then
// reports the transport's status).
constexpr int kGroupReplyNotJson = -1;
int parseGroupReply(const GroupRow& group, const std::string& text, void* record);

// Reads or writes through the untyped tables; the result codes of the own-parser calls.
int readGroup(LumenControl::LumenControlClient& client, const GroupRow& group, void* record);
int writeGroup(LumenControl::LumenControlClient& client, const GroupRow& group, void* record);

template <typename Record>
int readSettings(LumenControl::LumenControlClient& client, const SettingsGroup<Record>& group,
                 Record& record) {
    if (group.row.readStart == ReadStart::Cleared) std::memset(&record, 0, sizeof record);
    return readGroup(client, group.row, &record);
}

template <typename Record>
int writeSettings(LumenControl::LumenControlClient& client, const SettingsGroup<Record>& group,
                  Record& record) {
    return writeGroup(client, group.row, &record);
}

// Shared by the group tables: the rows of an object and their reading and writing.
void readObject(GroupFieldList fields, const Json::Value& object, void* record);
Json::Value writeObject(GroupFieldList fields, const void* record);
// The value of the last "parm" element of that name; null when there is none.
const Json::Value* paramValue(const Json::Value& parm, const char* name);
// A JSON integer of any width; nothing for other kinds.
bool integerOf(const Json::Value& value, int64_t* out);

// Image settings.
extern const SettingsGroup<vcam_face_exposure> kFaceExposure;
extern const SettingsGroup<vcam_image_lighting> kImageLighting;
extern const SettingsGroup<vcam_image_adjust> kImageAdjust;
extern const SettingsGroup<vcam_image_exposure> kImageExposure;
extern const SettingsGroup<vcam_image_focus> kImageFocus;
extern const SettingsGroup<vcam_image_dnr> kImageDnr;
extern const SettingsGroup<vcam_image_enhance> kImageEnhance;
extern const SettingsGroup<vcam_image_whitebalance> kImageWhitebalance;

// Smart settings.
extern const SettingsGroup<vcam_capture_config> kCaptureConfig;
extern const SettingsGroup<vcam_recognize_config> kRecognizeConfig;
extern const SettingsGroup<vcam_linkage_config> kLinkageConfig;
extern const SettingsGroup<vcam_passflow_config> kPassflowConfig;
extern const SettingsGroup<vcam_smart_capability> kSmartCapability;

}  // namespace camlink
