// Simulated cameras as the application sees them.
#pragma once

#include "camsim.h"
#include "dbutil/records.h"
#include "support/camera_set.h"

namespace testsupport {

// The camera's address and credentials as a device record.
SDeviceInfo deviceOf(const camsim::Camera& camera);
// Starts a camera on a fresh address; one that cannot start ends the test program.
camsim::Camera* mustStart(CameraSet& cameras, camsim::CameraConfig config = {});

}  // namespace testsupport
