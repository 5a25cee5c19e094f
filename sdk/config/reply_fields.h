// Records filled from the camera's JSON replies, described as data: one row per record field
// (the JSON member that feeds it, where it lies in the record, how wide it is, what kind of
// value it takes), one reader for every table. Nothing here throws on a hostile reply: a member
// of the wrong kind is treated as absent and leaves its field as it was.
// Three table mechanisms map JSON members to C fields, each under its own names: Param* for
// module parameters (param_table.h), Group* for the own-parser groups (own_parser.h), ReplyField*
// for history and query records (reply_fields.h). All look members up with json_text.h.
#pragma once

#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <iterator>

#include "core/json_text.h"

namespace camlink {

enum class ReplyFieldKind {
    Text,   // char[N]: cut to N - 1 bytes at a character boundary, NUL-terminated
    Int32,  // JSON integer within the type's range
    UInt32,
    Int64,
    UInt64,
    Float,   // any JSON number within float's range
    Bool,    // JSON true or false only
    Gender,  // int32 from a text: "male" 1, "female" 2, anything else 0
};

struct FieldRow {
    const char* group;  // member of the element that holds the value; null: the element itself
    const char* name;   // JSON member, named like the record field
    size_t offset;      // of the field in its record
    size_t width;       // bytes of the field
    ReplyFieldKind kind;
};

struct FieldTable {
    const FieldRow* rows;
    size_t count;
};

template <size_t N>
constexpr FieldTable fieldTable(const FieldRow (&rows)[N]) {
    return {rows, N};
}

// The kind a field's C type takes.
template <typename T>
struct KindOf;
template <size_t N>
struct KindOf<char[N]> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::Text;
};
template <>
struct KindOf<int32_t> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::Int32;
};
template <>
struct KindOf<uint32_t> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::UInt32;
};
template <>
struct KindOf<int64_t> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::Int64;
};
template <>
struct KindOf<uint64_t> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::UInt64;
};
template <>
struct KindOf<float> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::Float;
};
template <>
struct KindOf<bool> {
    static constexpr ReplyFieldKind value = ReplyFieldKind::Bool;
};

// The same int32 row, read from a text that names a gender (a compile error for other rows).
constexpr FieldRow genderText(FieldRow row) {
    return row.kind == ReplyFieldKind::Int32
               ? FieldRow{row.group, row.name, row.offset, row.width, ReplyFieldKind::Gender}
               : throw "a gender is held in an int32 field";
}

// Reads every row of the table from `element` into the record at `record`.
void fillFields(const Json::Value& element, FieldTable table, void* record);

}  // namespace camlink

// A row whose kind and width follow from the field's declared type, so a table cannot
// disagree with the record it fills.
#define CAMLINK_REPLY_FIELD(Record, group, field)                      \
    ::camlink::FieldRow {                                              \
        group, #field, offsetof(Record, field), sizeof(Record::field), \
            ::camlink::KindOf<decltype(Record::field)>::value          \
    }
