#include "app_cameras.h"

#include <QtGlobal>

namespace testsupport {

SDeviceInfo deviceOf(const camsim::Camera& camera) {
    const auto& c = camera.config();
    return SDeviceInfo(QString::fromStdString(c.address), QString::fromStdString(c.user),
                       QString::fromStdString(c.password));
}

camsim::Camera* mustStart(CameraSet& cameras, camsim::CameraConfig config) {
    camsim::Camera* camera = cameras.start(config);
    if (!camera) qFatal("camera did not start: %s", cameras.error().c_str());
    return camera;
}

}  // namespace testsupport
