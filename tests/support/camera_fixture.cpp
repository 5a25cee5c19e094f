#include "support/camera_fixture.h"

#include <unistd.h>

#include <atomic>

namespace testsupport {

std::string freshLoopbackAddress() {
    static std::atomic<int> counter{0};
    const int n = counter++;
    const int block = 20 + static_cast<int>(getpid() % 200);
    return "127." + std::to_string(block) + "." + std::to_string(n / 250) + "." +
           std::to_string(2 + n % 250);
}

std::string makeJpeg(int width, int height, const std::string& fill) {
    std::string j = "\xFF\xD8";
    j += std::string("\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 18);
    // Baseline frame header: length 11, precision 8, height, width, one component.
    j += std::string("\xFF\xC0\x00\x0B\x08", 5);
    j += static_cast<char>(height >> 8);
    j += static_cast<char>(height & 0xFF);
    j += static_cast<char>(width >> 8);
    j += static_cast<char>(width & 0xFF);
    j += std::string("\x01\x01\x11\x00", 4);
    j += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    j += fill.empty() ? std::string(64, '\x55') : fill;
    j += "\xFF\xD9";
    return j;
}

camsim::Camera& CameraTest::startCamera(camsim::CameraConfig config) {
    config.address = freshLoopbackAddress();
    cameras_.push_back(std::make_unique<camsim::Camera>(config));
    std::string error;
    bool started = cameras_.back()->start(&error);
    EXPECT_TRUE(started) << error;
    if (!started) throw std::runtime_error(error);
    return *cameras_.back();
}

void CameraTest::TearDown() {
    for (auto& camera : cameras_)
        camera->stop();
    cameras_.clear();
}

}  // namespace testsupport
