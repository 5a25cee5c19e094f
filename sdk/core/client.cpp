#include "core/client.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "camlink.h"
#include "core/session_mode.h"

namespace LumenControl {

namespace {
// The device-status read proves the credentials and reports a lock-out.
const char kLoginCheckBody[] =
    "{\"config\":{\"action\":\"get_reqt\",\"module\":[{\"name\":\"device_status\"}]}}";
constexpr size_t kLoginReplySize = VCAM_LOGIN_REPLY_SIZE;
}  // namespace

LumenControlClient::LumenControlClient()
    : http_(camlink::sessionMode() == camlink::SessionMode::Parallel
                ? LumenNetwork::HandleUse::Kept
                : LumenNetwork::HandleUse::PerRequest) {}

LumenControlClient::~LumenControlClient() {
    if (loggedIn_ && tcp_) tcp_->steps->logout(*tcp_);
}

std::string LumenControlClient::url(const char* path) const {
    return address_ + ":8089" + path;
}

int LumenControlClient::httpPost(const char* path, const std::string& body, std::string& response) {
    LumenNetwork::HttpRequest request;
    request.url = url(path);
    request.userpwd = credentials_;
    request.body = body;
    return http_.post(response, request);
}

int LumenControlClient::httpGet(const char* path, std::string& response) {
    LumenNetwork::HttpRequest request;
    request.url = url(path);
    request.userpwd = credentials_;
    return http_.get(response, request);
}

int LumenControlClient::httpCheck(char* reply128) {
    std::string response;
    int status = httpPost("/digest/config", kLoginCheckBody, response);
    std::memset(reply128, 0, kLoginReplySize);
    std::memcpy(reply128, response.data(), std::min(response.size(), kLoginReplySize - 1));
    return status;
}

int LumenControlClient::login(const char* address, const char* user, const char* password,
                              char* reply128) {
    address_ = address;
    user_ = user;
    password_ = password;
    credentials_ = user_ + ":" + password_;
    int status = httpCheck(reply128);
    if (status != 200) return status;
    tcp_ = camlink::makeTcpLoginRecord(address, user, password);
    if (tcp_->steps->login(*tcp_) != 0) {
        std::printf("login failed.\n");
        tcp_.reset();  // closes the socket
        return VCAM_ERR_ARGUMENT;
    }
    loggedIn_ = true;
    return 0;
}

void LumenControlClient::logout() {
    loggedIn_ = false;
    if (tcp_) {
        tcp_->steps->logout(*tcp_);
        tcp_.reset();
    }
}

}  // namespace LumenControl
