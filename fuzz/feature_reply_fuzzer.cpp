// The first-generation record calls on a camera's replies: the feature reply reader
// (featureResponsePaser) and the export's filling of a list reply with stored features. Neither
// may throw, write past a field or leave a text without its NUL, and the filled reply must
// still be JSON whose extracted records carry a text feature.
//
// Input: the list reply, a line "--", then the feature reply every lookup is answered with.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "core/json_text.h"
#include "library/feature_set.h"

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "feature_reply_fuzzer: %s\n", what);
        std::abort();
    }
}

template <size_t N>
void checkTerminated(const char (&field)[N], const char* what) {
    check(strnlen(field, N) < N, what);
}

// Reads the reply into a set whose every byte was set beforehand; the result as the SDK does.
int readReply(const std::string& reply, camlink::vcam_feature_set& set) {
    std::memset(&set, 0x5A, sizeof set);
    set.message[0] = '\0';
    for (auto& entry : set.entries)
        entry.url[0] = '\0';
    const int result = camlink::featureResponsePaser(reply, set);
    checkTerminated(set.message, "message without NUL");
    for (const auto& entry : set.entries)
        checkTerminated(entry.url, "entry url without NUL");
    if (result >= 0) check(set.count >= 0, "negative count");
    return result;
}

void checkFilled(const Json::Value& reply) {
    const std::string text = camlink::compactJson(reply);
    check(camlink::parseJson(text).has_value(), "filled reply is not JSON");
    const Json::Value& records = camlink::memberOf(camlink::memberOf(reply, "data"), "record");
    if (!records.isArray() && !records.isObject()) return;
    for (const Json::Value& element : records)
        if (element.isObject()) check(element["feature"].isString(), "record without feature");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const size_t cut = input.find("\n--\n");
    const std::string list = input.substr(0, cut);
    const std::string features = cut == std::string::npos ? input : input.substr(cut + 4);

    camlink::vcam_feature_set set;
    readReply(features, set);
    std::optional<Json::Value> reply = camlink::parseJson(list);
    if (!reply) return 0;
    camlink::fillFeatures(*reply, [&features](const std::string&, const std::string&) {
        camlink::vcam_feature_set listed;
        if (readReply(features, listed) != 0) return std::string();
        return camlink::writeFeatureText(listed.entries[0].values);
    });
    checkFilled(*reply);
    return 0;
}
