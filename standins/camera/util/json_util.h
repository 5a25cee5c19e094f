// JSON helpers of the simulated camera: bounded parsing, compact writing, typed member reads.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace camsim {

// Parses a JSON text; nullopt when it is not JSON. Nesting is bounded so that a hostile body
// cannot exhaust the stack.
std::optional<Json::Value> parseJson(std::string_view text);

// Compact JSON, object members in ascending byte order of their keys.
std::string writeCompact(const Json::Value& value);

// Member reads that accept only the expected JSON kind; nullopt otherwise.
std::optional<std::string> stringMember(const Json::Value& object, const char* key);
std::optional<int64_t> intMember(const Json::Value& object, const char* key);
std::optional<uint64_t> uintMember(const Json::Value& object, const char* key);

}  // namespace camsim
