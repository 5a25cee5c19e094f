// What a handle of the C interface stands for: the settings of NexoVizorSetConfig and, once
// initialised, the loaded detector.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "face_detector.h"
#include "vizor_win.h"

struct NexoVizorContext {
    int setConfig(const std::string& key, const std::string& value);
    int init();
    // Fills result; returns its error code.
    int analyse(const NexoVizorImage& image, NexoVizorResult* result, NexoVizorFaceBox* box);

private:
    std::mutex mutex_;
    std::string modelConf_;
    int instanceCount_ = 1;
    int minFaceWidth_ = 40;
    int minFaceHeight_ = 40;
    std::unique_ptr<vizor::FaceDetector> detector_;  // null until a successful init
};
