#include "camera.h"

#include <fstream>
#include <sstream>

#include "http/http_server.h"
#include "util/crypto.h"

namespace camsim {

namespace {
std::string urlPrefixOf(const CameraConfig& c) {
    return "http://" + c.address + ":" + std::to_string(c.httpPort);
}

CameraConfig completed(CameraConfig c) {
    c.complete();
    return c;
}
}  // namespace

Camera::Camera(CameraConfig config)
    : config_(completed(std::move(config))),
      faces_(urlPrefixOf(config_), config_.extractMsPerImage, config_.maxImageBytes),
      features_(faces_),
      modules_(config_),
      history_(urlPrefixOf(config_)),
      guard_(std::chrono::seconds(config_.lockoutSeconds)),
      context_{config_, faces_, features_, modules_, history_, sleeper_, deleteDelayMs_} {
    faces_.restore({}, config_.firstImgid, faces_.nextLibno());
}

Camera::~Camera() {
    stop();
}

bool Camera::start(std::string* error) {
    if (running_) return true;
    sleeper_.reset();
    HttpServerSettings settings{config_.address,  config_.httpPort, config_.maxBodyBytes,
                                "camsim",         config_.user,     config_.password,
                                "/digest/config", config_.staleChallenges};
    http_ = std::make_unique<HttpServer>(
        settings, HttpServerParts{guard_, faults_, journal_, sleeper_,
                                  [this](const HttpRequest& r) { return handle(r); }});
    channel_ = std::make_unique<BinaryChannel>(
        ChannelSettings{config_.address, config_.tcpPort, config_.serial, config_.user,
                        config_.password},
        channelState_);
    if (!http_->start(error) || !channel_->start(error)) {
        stop();
        running_ = false;
        return false;
    }
    running_ = true;
    return true;
}

void Camera::stop() {
    sleeper_.stop();  // releases held and slow requests first
    if (http_) http_->stop();
    if (channel_) channel_->stop();
    http_.reset();
    channel_.reset();
    faces_.stopExtraction();
    running_ = false;
}

void Camera::clearFaults() {
    faults_.clear();
    deleteDelayMs_ = 0;
    channelState_.refuseLogin = false;
    channelState_.refuseUpgrade = false;
    channelState_.silentUpgrade = false;
    channelState_.fault = ChannelFault::None;
    setChannelPortOpen(true);
}

bool Camera::setChannelPortOpen(bool open, std::string* error) {
    if (!running_) return true;  // start() opens it with the rest
    if (!open) {
        channel_->stop();
        return true;
    }
    return channel_->start(error);
}

SearchIdentity Camera::identity() const {
    SearchIdentity id;
    id.address = config_.address;
    id.serialNo = config_.serialNo;
    id.firmware = config_.firmware;
    id.deviceType = config_.deviceType;
    id.mac = config_.mac;
    id.httpPort = config_.httpPort;
    id.privatePort = config_.tcpPort;
    return id;
}

void Camera::setCannedReply(const std::string& path, HttpResponse reply) {
    std::lock_guard<std::mutex> lock(cannedMutex_);
    canned_[path] = std::move(reply);
}

void Camera::clearCannedReplies() {
    std::lock_guard<std::mutex> lock(cannedMutex_);
    canned_.clear();
}

HttpResponse Camera::handle(const HttpRequest& request) {
    {
        std::lock_guard<std::mutex> lock(cannedMutex_);
        auto canned = canned_.find(request.path);
        if (canned != canned_.end()) return canned->second;
    }
    return router_.dispatch(context_, request);
}

std::string Camera::preload() {
    for (const auto& lib : config_.libraries) {
        StoreResult created = faces_.createLibrary(lib.name, lib.threshold);
        if (created.code != 0) return "library \"" + lib.name + "\": " + created.msg;
        for (const auto& image : lib.images) {
            std::ifstream in(image.path, std::ios::binary);
            if (!in) return "cannot read " + image.path;
            std::ostringstream bytes;
            bytes << in.rdbuf();
            NewImage n;
            n.libid = created.data["libid"].asString();
            n.name = image.name.empty() ? image.path.substr(image.path.find_last_of('/') + 1)
                                        : image.name;
            n.uid = image.uid;
            n.bytes = bytes.str();
            StoreResult added = faces_.addImage(n);
            if (added.code != 0) return image.path + ": " + added.msg;
        }
    }
    return "";
}

}  // namespace camsim
