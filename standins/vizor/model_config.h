// The configuration file that names the face model and the detector's settings.
#pragma once

#include <string>

namespace vizor {

struct DetectorConfig {
    std::string modelFile;  // resolved against the configuration file's folder
    double scaleFactor = 1.1;
    int minNeighbors = 5;
    int workingMaxSide = 640;
    bool equalizeHistogram = true;
};

// Reads and checks the file; returns 0 or NEXO_VIZOR_ERR_CONFIG.
int readModelConfig(const std::string& path, DetectorConfig* config);

}  // namespace vizor
