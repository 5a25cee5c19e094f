// A set of simulated cameras in one process, with the LAN search responders and optional
// persistence of their state.
#pragma once

#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "camera.h"

namespace camsim {

class Simulator {
public:
    Simulator() = default;
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    Camera& add(const CameraConfig& config);
    // Keeps every camera's state in "<dir>/<address>/"; call before startAll.
    void setStateDir(const std::string& dir) { stateDir_ = dir; }

    // Loads saved state (or the preloaded libraries), starts every camera and, for cameras
    // that answer searches, the search responders. Stops what it started on failure.
    bool startAll(std::string* error);
    // Stops every camera and saves their state.
    void stopAll();

    size_t size() const { return cameras_.size(); }
    Camera& camera(size_t index) { return *cameras_.at(index); }

private:
    std::string prepare(Camera& camera);
    void saveAll();
    void saverLoop();

    std::vector<std::unique_ptr<Camera>> cameras_;
    std::unique_ptr<SearchResponder> search_;
    std::string stateDir_;
    std::thread saver_;
    std::mutex saverMutex_;
    std::condition_variable saverCv_;
    bool stopping_ = false;
};

}  // namespace camsim
