#include "face_detector.h"

#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <climits>
#include <cmath>
#include <fstream>
#include <vector>

namespace vizor {
namespace {

cv::Mat decodeGrey(const uint8_t* data, size_t size) {
    if (!data || size == 0 || size > static_cast<size_t>(INT_MAX)) return cv::Mat();
    // The box must match the stored pixel grid that other readers see, so no EXIF rotation.
    const cv::Mat bytes(1, static_cast<int>(size), CV_8UC1, const_cast<uint8_t*>(data));
    try {
        return cv::imdecode(bytes, cv::IMREAD_GRAYSCALE | cv::IMREAD_IGNORE_ORIENTATION);
    } catch (const cv::Exception&) {
        return cv::Mat();  // a corrupt or oversized picture is "no image", not a crash
    }
}

size_t largest(const std::vector<cv::Rect>& faces) {
    size_t best = 0;
    for (size_t i = 1; i < faces.size(); ++i)
        if (faces[i].area() > faces[best].area()) best = i;
    return best;
}

NexoVizorFaceBox toPicture(const cv::Rect& face, double scale, int votes, cv::Size picture) {
    const auto along = [scale](int value, int limit) {
        return static_cast<float>(std::min<double>(value / scale, limit));
    };
    NexoVizorFaceBox box;
    box.x1 = along(face.x, picture.width);
    box.y1 = along(face.y, picture.height);
    box.x2 = along(face.x + face.width, picture.width);
    box.y2 = along(face.y + face.height, picture.height);
    box.score = static_cast<float>(votes);
    return box;
}

}  // namespace

bool FaceDetector::load(const DetectorConfig& config) {
    config_ = config;
    // Checked first so that a missing model is a quiet code, not a message from inside OpenCV.
    if (!std::ifstream(config.modelFile, std::ios::binary).is_open()) return false;
    try {
        return cascade_.load(config.modelFile) && !cascade_.empty();
    } catch (const cv::Exception&) {
        return false;  // a file that is not a cascade model
    }
}

cv::Mat FaceDetector::workingPicture(const cv::Mat& grey, double* scale) const {
    const int longer = std::max(grey.cols, grey.rows);
    *scale = std::min(1.0, static_cast<double>(config_.workingMaxSide) / longer);
    cv::Mat working;
    if (*scale < 1.0)
        cv::resize(grey, working, cv::Size(), *scale, *scale, cv::INTER_AREA);
    else
        working = grey;
    if (config_.equalizeHistogram) cv::equalizeHist(working, working);
    return working;
}

FaceSearch FaceDetector::find(const uint8_t* data, size_t size, cv::Size minFace) {
    FaceSearch search;
    const cv::Mat grey = decodeGrey(data, size);
    if (grey.empty()) {
        search.code = NEXO_VIZOR_ERR_NO_IMAGE;
        return search;
    }
    double scale = 1.0;
    const cv::Mat working = workingPicture(grey, &scale);
    const cv::Size window = cascade_.getOriginalWindowSize();
    const cv::Size minimum(
        std::max(window.width, static_cast<int>(std::lround(minFace.width * scale))),
        std::max(window.height, static_cast<int>(std::lround(minFace.height * scale))));
    std::vector<cv::Rect> faces;
    std::vector<int> votes;
    cascade_.detectMultiScale(working, faces, votes, config_.scaleFactor, config_.minNeighbors, 0,
                              minimum);
    search.count = static_cast<int>(faces.size());
    if (faces.empty()) return search;
    const size_t best = largest(faces);
    search.code = NEXO_VIZOR_OK;
    search.box = toPicture(faces[best], scale, votes[best], grey.size());
    return search;
}

}  // namespace vizor
