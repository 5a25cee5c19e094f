// Finds the largest face of an encoded picture with a boosted cascade loaded from a model file.
#pragma once

#include <opencv2/core.hpp>
#include <opencv2/objdetect.hpp>

#include <cstddef>
#include <cstdint>

#include "model_config.h"
#include "vizor_win.h"

namespace vizor {

struct FaceSearch {
    int code = NEXO_VIZOR_ERR_NO_FACE;
    int count = 0;
    NexoVizorFaceBox box{};  // valid when code is 0
};

class FaceDetector {
public:
    // False when the model file does not load as a cascade.
    bool load(const DetectorConfig& config);

    // minFace: smallest face in picture pixels.
    FaceSearch find(const uint8_t* data, size_t size, cv::Size minFace);

private:
    cv::Mat workingPicture(const cv::Mat& grey, double* scale) const;

    DetectorConfig config_;
    cv::CascadeClassifier cascade_;
};

}  // namespace vizor
