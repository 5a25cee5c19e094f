// Cameras that never answer: loopback listeners on the HTTP port that accept every connection
// and hold it without a byte back, so a client waits for its own time-out. One thread serves
// every listener and every connection.
#pragma once

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace testsupport {

class SilentCameras {
public:
    static constexpr int kHttpPort = 8089;

    SilentCameras() = default;
    ~SilentCameras() { stop(); }
    SilentCameras(const SilentCameras&) = delete;
    SilentCameras& operator=(const SilentCameras&) = delete;

    // Listens on count fresh loopback addresses; false (with error) when one cannot be bound.
    bool start(int count, std::string* error);
    // Closes every listener and connection.
    void stop();

    const std::vector<std::string>& addresses() const { return addresses_; }
    // Connections accepted so far, and those the clients have not closed yet.
    int accepted() const { return accepted_.load(); }
    int open() const { return open_.load(); }

private:
    void serve();

    std::vector<int> listeners_;
    std::vector<std::string> addresses_;
    std::thread thread_;
    int wake_[2] = {-1, -1};
    std::atomic<int> accepted_{0};
    std::atomic<int> open_{0};
};

}  // namespace testsupport
