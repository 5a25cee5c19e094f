// The simulated cameras of the scale run: addresses, the camsim configuration file (one large
// library on the first camera, an empty library on the batch cameras) and small JPEG pictures.
#pragma once

#include <QString>

namespace fleet {

// Camera i of the run: 127.1.0.2, 127.1.0.3, ... (250 to a /24).
QString cameraAddress(int index);

// Every camera's credentials (the program wants passwords of 6 characters or more).
constexpr char kUser[] = "admin";
constexpr char kPassword[] = "admin123";

// A width x height JPEG of one colour, varied by seed; false when it could not be written.
bool writePicture(const QString& path, int width, int height, int seed);

struct Plan {
    int cameras = 500;
    int libraryPictures = 50000;  // in library "people" of camera 0
    int firstBatchCamera = 1;     // these cameras hold an empty library "batch"
    int batchCameras = 50;
    QString sharedPicture;        // every record of "people" is this file
};

// Writes camsim's --config file for the plan, every camera answering the LAN search.
bool writeCamsimConfig(const QString& path, const Plan& plan);

}  // namespace fleet
