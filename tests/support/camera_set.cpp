#include "support/camera_set.h"

#include "support/camera_fixture.h"

namespace testsupport {

camsim::Camera* CameraSet::start(camsim::CameraConfig config) {
    config.address = freshLoopbackAddress();
    auto camera = std::make_unique<camsim::Camera>(config);
    if (!camera->start(&error_)) return nullptr;
    cameras_.push_back(std::move(camera));
    return cameras_.back().get();
}

void CameraSet::stopAll() {
    for (auto& camera : cameras_) camera->stop();
    cameras_.clear();
}

}  // namespace testsupport
