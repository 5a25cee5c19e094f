#include "simulator.h"

#include "state/persistence.h"

namespace camsim {

namespace {
constexpr auto kSaveInterval = std::chrono::seconds(1);
}

Simulator::~Simulator() {
    stopAll();
}

Camera& Simulator::add(const CameraConfig& config) {
    cameras_.push_back(std::make_unique<Camera>(config));
    return *cameras_.back();
}

std::string Simulator::prepare(Camera& camera) {
    if (!stateDir_.empty()) {
        const std::string dir = stateDir_ + "/" + camera.config().address;
        std::string error = loadState(dir, camera.faces(), camera.modules());
        if (!error.empty()) return error;
        if (!camera.faces().snapshot().empty() || camera.faces().nextLibno() > 1) return "";
    }
    return camera.preload();
}

bool Simulator::startAll(std::string* error) {
    bool anySearch = false;
    for (auto& camera : cameras_) {
        std::string problem = prepare(*camera);
        if (problem.empty() && !camera->start(&problem))
            problem = problem.empty() ? "start failed" : problem;
        if (!problem.empty()) {
            if (error) *error = camera->config().address + ": " + problem;
            stopAll();
            return false;
        }
        anySearch = anySearch || camera->config().search;
    }
    if (anySearch) {
        search_ = std::make_unique<SearchResponder>([this] {
            std::vector<SearchIdentity> ids;
            for (auto& camera : cameras_)
                if (camera->config().search && camera->running()) ids.push_back(camera->identity());
            return ids;
        });
        if (!search_->start(error)) {
            stopAll();
            return false;
        }
    }
    if (!stateDir_.empty()) {
        stopping_ = false;
        saver_ = std::thread(&Simulator::saverLoop, this);
    }
    return true;
}

void Simulator::stopAll() {
    {
        std::lock_guard<std::mutex> lock(saverMutex_);
        stopping_ = true;
    }
    saverCv_.notify_all();
    if (saver_.joinable()) saver_.join();
    if (search_) search_->stop();
    search_.reset();
    for (auto& camera : cameras_)
        camera->stop();
    saveAll();
}

void Simulator::saveAll() {
    if (stateDir_.empty()) return;
    for (auto& camera : cameras_) {
        bool facesChanged = camera->faces().takeDirty();
        bool modulesChanged = camera->modules().takeDirty();
        if (!facesChanged && !modulesChanged) continue;
        std::string error = saveState(stateDir_ + "/" + camera->config().address, camera->faces(),
                                      camera->modules());
        if (!error.empty()) std::fprintf(stderr, "camsim: %s\n", error.c_str());
    }
}

void Simulator::saverLoop() {
    std::unique_lock<std::mutex> lock(saverMutex_);
    while (!saverCv_.wait_for(lock, kSaveInterval, [this] { return stopping_; })) {
        lock.unlock();
        saveAll();
        lock.lock();
    }
}

}  // namespace camsim
