// A simulated camera and a session of the C interface logged in to it, per test.
#pragma once

#include <string>

#include "support/camera_fixture.h"

namespace testsupport {

class SdkSessionTest : public CameraTest {
protected:
    // Starts the camera and logs in as admin; a failed login is a fatal failure.
    void SetUp() override;
    // Logs out, then stops the cameras.
    void TearDown() override;

    const std::string& address() const { return camera_->config().address; }

    camsim::Camera* camera_ = nullptr;
    int session_ = -1;
};

}  // namespace testsupport
