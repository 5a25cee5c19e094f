// Simulated cameras on fresh loopback addresses for test programs that do not use the
// GoogleTest fixture (the Qt Test programs of the application).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "camsim.h"

namespace testsupport {

class CameraSet {
public:
    CameraSet() = default;
    ~CameraSet() { stopAll(); }
    CameraSet(const CameraSet&) = delete;
    CameraSet& operator=(const CameraSet&) = delete;

    // Starts a camera on a fresh loopback address; nullptr (and error()) when it cannot start.
    camsim::Camera* start(camsim::CameraConfig config = {});
    void stopAll();
    const std::string& error() const { return error_; }

private:
    std::vector<std::unique_ptr<camsim::Camera>> cameras_;
    std::string error_;
};

}  // namespace testsupport
