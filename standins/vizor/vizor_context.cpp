#include "vizor_context.h"

#include <cerrno>
#include <cstdlib>

namespace {

constexpr int kMaxInstances = 16;
constexpr int kMaxFaceSide = 10000;
constexpr size_t kMaxPathBytes = 4096;

// A whole decimal text within [low, high]; nothing else is accepted.
bool parseBounded(const std::string& text, int low, int high, int* value) {
    if (text.empty() || text.size() > 9) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    const long number = std::strtol(text.c_str(), nullptr, 10);
    if (number < low || number > high) return false;
    *value = static_cast<int>(number);
    return true;
}

}  // namespace

int NexoVizorContext::setConfig(const std::string& key, const std::string& value) {
    std::lock_guard<std::mutex> lock(mutex_);
    bool accepted = false;
    if (key == "model_conf") {
        accepted = !value.empty() && value.size() <= kMaxPathBytes;
        if (accepted) modelConf_ = value;
    } else if (key == "alphadet_instance_count") {
        accepted = parseBounded(value, 1, kMaxInstances, &instanceCount_);
    } else if (key == "min_face_width") {
        accepted = parseBounded(value, 1, kMaxFaceSide, &minFaceWidth_);
    } else if (key == "min_face_height") {
        accepted = parseBounded(value, 1, kMaxFaceSide, &minFaceHeight_);
    } else {
        return NEXO_VIZOR_ERR_CONFIG;
    }
    return accepted ? NEXO_VIZOR_OK : NEXO_VIZOR_ERR_PARAMETER;
}

int NexoVizorContext::init() {
    std::lock_guard<std::mutex> lock(mutex_);
    detector_.reset();
    vizor::DetectorConfig config;
    if (modelConf_.empty()) return NEXO_VIZOR_ERR_CONFIG;
    const int code = vizor::readModelConfig(modelConf_, &config);
    if (code != NEXO_VIZOR_OK) return code;
    auto detector = std::make_unique<vizor::FaceDetector>();
    if (!detector->load(config)) return NEXO_VIZOR_ERR_NO_MODEL;
    detector_ = std::move(detector);
    return NEXO_VIZOR_OK;
}

int NexoVizorContext::analyse(const NexoVizorImage& image, NexoVizorResult* result,
                              NexoVizorFaceBox* box) {
    std::lock_guard<std::mutex> lock(mutex_);
    result->face_count = 0;
    result->face = nullptr;
    if (!detector_) return result->error_code = NEXO_VIZOR_ERR_UNINIT;
    if (!image.data || image.size == 0 || image.format != NEXO_VIZOR_FORMAT_ENCODED ||
        image.mode != NEXO_VIZOR_MODE_FACE_BOX)
        return result->error_code = NEXO_VIZOR_ERR_PARAMETER;
    const vizor::FaceSearch search =
        detector_->find(image.data, image.size, cv::Size(minFaceWidth_, minFaceHeight_));
    result->face_count = search.count;
    if (search.code == NEXO_VIZOR_OK) {
        *box = search.box;
        result->face = box;
    }
    return result->error_code = search.code;
}
