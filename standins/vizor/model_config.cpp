#include "model_config.h"

#include <json/json.h>

#include <fstream>
#include <memory>
#include <sstream>

#include "vizor_win.h"

namespace vizor {
namespace {

constexpr std::streamsize kMaxConfigBytes = 64 * 1024;
constexpr size_t kMaxPathBytes = 4096;

bool readSmallFile(const std::string& path, std::string* text) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::string bytes(static_cast<size_t>(kMaxConfigBytes) + 1, '\0');
    in.read(&bytes[0], kMaxConfigBytes + 1);
    const std::streamsize count = in.gcount();
    if (count > kMaxConfigBytes || in.bad()) return false;
    bytes.resize(static_cast<size_t>(count));
    *text = std::move(bytes);
    return true;
}

bool parseJson(const std::string& text, Json::Value* root) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    builder["stackLimit"] = 32;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    return reader->parse(text.data(), text.data() + text.size(), root, &errors) && root->isObject();
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Optional members keep their defaults when absent; present ones must be in range.
bool readNumber(const Json::Value& detector, const char* key, double low, double high,
                double* value) {
    const Json::Value& member = detector[key];
    if (member.isNull()) return true;
    if (!member.isNumeric()) return false;
    const double number = member.asDouble();
    if (!(number >= low && number <= high)) return false;
    *value = number;
    return true;
}

bool readInteger(const Json::Value& detector, const char* key, int low, int high, int* value) {
    double number = *value;
    if (!readNumber(detector, key, low, high, &number)) return false;
    if (number != static_cast<int>(number)) return false;
    *value = static_cast<int>(number);
    return true;
}

bool readModelFile(const Json::Value& detector, const std::string& configPath,
                   std::string* modelFile) {
    const Json::Value& member = detector["model_file"];
    if (!member.isString()) return false;
    const std::string name = member.asString();
    if (name.empty() || name.size() > kMaxPathBytes || name.find('\0') != std::string::npos)
        return false;
    *modelFile = name[0] == '/' ? name : folderOf(configPath) + name;
    return true;
}

bool readDetector(const Json::Value& detector, const std::string& path, DetectorConfig* out) {
    if (!detector.isObject()) return false;
    const Json::Value& equalize = detector["equalize_histogram"];
    if (!equalize.isNull() && !equalize.isBool()) return false;
    if (equalize.isBool()) out->equalizeHistogram = equalize.asBool();
    return readModelFile(detector, path, &out->modelFile) &&
           readNumber(detector, "scale_factor", 1.01, 2.0, &out->scaleFactor) &&
           readInteger(detector, "min_neighbors", 0, 50, &out->minNeighbors) &&
           readInteger(detector, "working_max_side", 64, 8192, &out->workingMaxSide);
}

}  // namespace

int readModelConfig(const std::string& path, DetectorConfig* config) {
    std::string text;
    Json::Value root;
    DetectorConfig read;
    if (path.empty() || !readSmallFile(path, &text) || !parseJson(text, &root) ||
        !readDetector(root["detector"], path, &read))
        return NEXO_VIZOR_ERR_CONFIG;
    *config = std::move(read);
    return NEXO_VIZOR_OK;
}

}  // namespace vizor
