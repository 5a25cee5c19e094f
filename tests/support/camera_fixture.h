// Simulated cameras on loopback addresses of their own, started per test.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "camsim.h"

namespace testsupport {

// A loopback address no other camera of this process has used. The second octet comes from
// the process id, so test programs running side by side do not meet.
std::string freshLoopbackAddress();

// A minimal valid JPEG picture of the given size (the camera reads only its headers).
std::string makeJpeg(int width, int height, const std::string& fill = "");

class CameraTest : public ::testing::Test {
protected:
    // Starts a camera on a fresh address; the test fails at once if it cannot start.
    camsim::Camera& startCamera(camsim::CameraConfig config = {});
    void TearDown() override;

    std::vector<std::unique_ptr<camsim::Camera>> cameras_;
};

}  // namespace testsupport
