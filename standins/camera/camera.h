// One simulated face-recognition camera: its HTTP interface on the address's port 8089, its
// binary channel on port 80, its state, and the handles tests use to inspect and disturb it.
#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "camera_config.h"
#include "channel/binary_channel.h"
#include "http/digest_gate.h"
#include "http/faults.h"
#include "http/journal.h"
#include "routes/router.h"
#include "search/search_responder.h"
#include "state/face_store.h"
#include "state/feature_store.h"
#include "state/history.h"
#include "state/modules.h"

namespace camsim {

class HttpServer;

class Camera {
public:
    explicit Camera(CameraConfig config);
    ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // Starts both services; false with a readable message when the address cannot be bound.
    // The state survives stop() and start().
    bool start(std::string* error);
    void stop();
    bool running() const { return running_; }

    const CameraConfig& config() const { return config_; }
    SearchIdentity identity() const;

    // Faults on demand.
    void addFault(const HttpFault& fault) { faults_.add(fault); }
    void clearFaults();
    void setDeleteDelay(std::chrono::milliseconds delay) {
        deleteDelayMs_ = static_cast<int>(delay.count());
    }
    ChannelState& channel() { return channelState_; }
    // Closes or reopens the binary channel's port of a running camera while HTTP keeps
    // serving: a closed port refuses connections, and open connections close with it. false
    // when it cannot reopen.
    bool setChannelPortOpen(bool open, std::string* error = nullptr);
    // Test hook: answers `path` with exactly this reply (after authentication) until cleared,
    // for replies no real route gives (bad digests, hostile announcements, huge bodies).
    void setCannedReply(const std::string& path, HttpResponse reply);
    void clearCannedReplies();

    // Inspection.
    Journal& journal() { return journal_; }
    FaceStore& faces() { return faces_; }
    ModuleStore& modules() { return modules_; }

    // Creates the configured libraries and their pictures; an error text when a file is bad.
    std::string preload();

private:
    HttpResponse handle(const HttpRequest& request);

    const CameraConfig config_;
    FaceStore faces_;
    FeatureStore features_;
    ModuleStore modules_;
    History history_;
    Journal journal_;
    FaultPlan faults_;
    Sleeper sleeper_;
    LoginGuard guard_;
    ChannelState channelState_;
    std::atomic<int> deleteDelayMs_{0};
    Router router_;
    std::mutex cannedMutex_;
    std::map<std::string, HttpResponse> canned_;
    CameraContext context_;
    std::unique_ptr<HttpServer> http_;
    std::unique_ptr<BinaryChannel> channel_;
    bool running_ = false;
};

}  // namespace camsim
