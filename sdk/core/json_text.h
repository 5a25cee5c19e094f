// JSON bodies of the SDK: written compact with members in ascending byte order of their keys;
// read without ever throwing.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>

namespace camlink {

std::string compactJson(const Json::Value& value);
// nullopt when the text is not JSON (or nests too deep).
std::optional<Json::Value> parseJson(const std::string& text);

// The member lookups every reader of camera replies uses. Unlike jsoncpp's index operators they
// never throw and never add the member. findMember: null when `object` is not an object or
// lacks the member; memberOf: a null value then.
const Json::Value* findMember(const Json::Value& object, const char* key);
const Json::Value& memberOf(const Json::Value& object, const char* key);

// Lenient reads of a member: the value when it has a usable kind, the fallback otherwise.
int64_t readInteger(const Json::Value& object, const char* key, int64_t fallback = 0);
std::string readText(const Json::Value& object, const char* key);

// A fixed-width text field: its bytes up to the NUL, never beyond the width.
template <size_t N>
std::string fieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// True when the field holds a NUL within its width.
template <size_t N>
bool terminated(const char (&field)[N]) {
    return strnlen(field, N) < N;
}

// Copies text into a fixed-width field, cut to width - 1 and NUL-terminated.
template <size_t N>
void copyField(char (&field)[N], const std::string& text) {
    const size_t n = text.size() < N - 1 ? text.size() : N - 1;
    text.copy(field, n);
    field[n] = '\0';
}

}  // namespace camlink
