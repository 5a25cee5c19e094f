#include "config/reply_fields.h"

#include <cfloat>
#include <cstring>

namespace camlink {

namespace {

template <typename T>
void store(unsigned char* at, T value) {
    std::memcpy(at, &value, sizeof value);
}

// At most width - 1 bytes, never ending inside a UTF-8 sequence, then a NUL.
void storeText(const Json::Value& value, unsigned char* at, size_t width) {
    const char* begin = nullptr;
    const char* end = nullptr;
    if (width == 0 || !value.getString(&begin, &end)) return;
    size_t n = static_cast<size_t>(end - begin);
    if (n > width - 1) {
        n = width - 1;
        while (n > 0 && (static_cast<unsigned char>(begin[n]) & 0xC0) == 0x80)
            --n;
    }
    std::memcpy(at, begin, n);
    at[n] = '\0';
}

int32_t genderCode(const Json::Value& value) {
    if (!value.isString()) return 0;
    const std::string text = value.asString();
    if (text == "male") return 1;
    if (text == "female") return 2;
    return 0;
}

// jsoncpp's is* tests tell whether the as* conversion is safe and exact; anything else is
// left alone, as if the member were absent.
void storeField(const Json::Value& v, const FieldRow& row, unsigned char* at) {
    switch (row.kind) {
        case ReplyFieldKind::Text:
            if (v.isString()) storeText(v, at, row.width);
            break;
        case ReplyFieldKind::Int32:
            if (v.isInt()) store<int32_t>(at, v.asInt());
            break;
        case ReplyFieldKind::UInt32:
            if (v.isUInt()) store<uint32_t>(at, v.asUInt());
            break;
        case ReplyFieldKind::Int64:
            if (v.isInt64()) store<int64_t>(at, v.asInt64());
            break;
        case ReplyFieldKind::UInt64:
            if (v.isUInt64()) store<uint64_t>(at, v.asUInt64());
            break;
        case ReplyFieldKind::Float:
            // A double beyond float's range has no float value.
            if (v.isNumeric() && v.asDouble() >= -FLT_MAX && v.asDouble() <= FLT_MAX)
                store<float>(at, static_cast<float>(v.asDouble()));
            break;
        case ReplyFieldKind::Bool:
            if (v.isBool()) store<bool>(at, v.asBool());
            break;
        case ReplyFieldKind::Gender:
            store<int32_t>(at, genderCode(v));
            break;
    }
}

}  // namespace

void fillFields(const Json::Value& element, FieldTable table, void* record) {
    auto* base = static_cast<unsigned char*>(record);
    for (size_t i = 0; i < table.count; ++i) {
        const FieldRow& row = table.rows[i];
        const Json::Value& holder = row.group ? memberOf(element, row.group) : element;
        storeField(memberOf(holder, row.name), row, base + row.offset);
    }
}

}  // namespace camlink
