#include "camera_config.h"

#include <arpa/inet.h>

#include <cstdio>
#include <stdexcept>

#include "util/json_util.h"

namespace camsim {

namespace {

uint32_t addressValue(const std::string& address) {
    in_addr a{};
    if (inet_pton(AF_INET, address.c_str(), &a) != 1)
        throw std::runtime_error("not an IPv4 address: \"" + address + "\"");
    return ntohl(a.s_addr);
}

std::string textMember(const Json::Value& v, const char* key, const std::string& fallback) {
    if (!v.isMember(key)) return fallback;
    if (!v[key].isString())
        throw std::runtime_error(std::string("\"") + key + "\" must be a string");
    return v[key].asString();
}

int64_t intMember(const Json::Value& v, const char* key, int64_t fallback, int64_t min,
                  int64_t max) {
    if (!v.isMember(key)) return fallback;
    if (!v[key].isInt64() || v[key].asInt64() < min || v[key].asInt64() > max)
        throw std::runtime_error(std::string("\"") + key + "\" must be an integer from " +
                                 std::to_string(min) + " to " + std::to_string(max));
    return v[key].asInt64();
}

uint64_t serialMember(const Json::Value& v, uint64_t fallback) {
    if (!v.isMember("serial")) return fallback;
    const std::string text = v["serial"].isString() ? v["serial"].asString() : "";
    if (text.empty() || text.size() > 16 ||
        text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        throw std::runtime_error("\"serial\" must be up to 16 hexadecimal digits in a string");
    return std::stoull(text, nullptr, 16);
}

PreloadedLibrary libraryFrom(const Json::Value& v) {
    if (!v.isObject()) throw std::runtime_error("every library must be an object");
    PreloadedLibrary lib;
    lib.name = textMember(v, "name", "");
    if (lib.name.empty()) throw std::runtime_error("a library needs a \"name\"");
    lib.threshold = static_cast<int>(intMember(v, "threshold", lib.threshold, 0, 100));
    for (const auto& image : v["images"]) {
        PreloadedImage p;
        p.path = image.isString() ? image.asString() : textMember(image, "path", "");
        if (p.path.empty()) throw std::runtime_error("every image needs a \"path\"");
        if (image.isObject()) {
            p.name = textMember(image, "name", "");
            p.uid = textMember(image, "uid", "");
        }
        lib.images.push_back(p);
    }
    return lib;
}

CameraConfig cameraFrom(const Json::Value& v) {
    if (!v.isObject()) throw std::runtime_error("every camera must be an object");
    CameraConfig c;
    c.address = textMember(v, "address", "");
    addressValue(c.address);
    c.user = textMember(v, "user", c.user);
    c.password = textMember(v, "password", c.password);
    c.serial = serialMember(v, c.serial ^ addressValue(c.address));
    c.serialNo = textMember(v, "serialNo", "");
    c.firmware = textMember(v, "firmware", c.firmware);
    c.deviceType = textMember(v, "deviceType", c.deviceType);
    c.mac = textMember(v, "mac", "");
    c.httpPort = static_cast<uint16_t>(intMember(v, "httpPort", c.httpPort, 1, 65535));
    c.tcpPort = static_cast<uint16_t>(intMember(v, "tcpPort", c.tcpPort, 1, 65535));
    c.extractMsPerImage =
        static_cast<int>(intMember(v, "extractMsPerImage", c.extractMsPerImage, 0, 60000));
    c.lockoutSeconds = static_cast<int>(intMember(v, "lockoutSeconds", c.lockoutSeconds, 1, 86400));
    c.firstImgid = intMember(v, "firstImgid", c.firstImgid, 1, CameraConfig::kMaxFirstImgid);
    if (v.isMember("search")) c.search = v["search"].asBool();
    if (v.isMember("libraries")) {
        if (!v["libraries"].isArray() || v["libraries"].size() > 2)
            throw std::runtime_error("\"libraries\" must be an array of at most 2");
        for (const auto& lib : v["libraries"])
            c.libraries.push_back(libraryFrom(lib));
    }
    c.complete();
    return c;
}

}  // namespace

void CameraConfig::complete() {
    const uint32_t a = addressValue(address);
    char text[32];
    if (serialNo.empty()) {
        std::snprintf(text, sizeof text, "CS%08X", a);
        serialNo = text;
    }
    if (mac.empty()) {
        std::snprintf(text, sizeof text, "02:CA:%02X:%02X:%02X:%02X", a >> 24, (a >> 16) & 0xff,
                      (a >> 8) & 0xff, a & 0xff);
        mac = text;
    }
}

std::vector<CameraConfig> parseCameraConfigs(const std::string& jsonText) {
    auto root = parseJson(jsonText);
    if (!root || !root->isObject()) throw std::runtime_error("the file is not a JSON object");
    const Json::Value& cameras = (*root)["cameras"];
    if (!cameras.isArray() || cameras.empty())
        throw std::runtime_error("\"cameras\" must be a non-empty array");
    std::vector<CameraConfig> out;
    for (const auto& camera : cameras)
        out.push_back(cameraFrom(camera));
    return out;
}

}  // namespace camsim
