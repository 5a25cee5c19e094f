// One session with a camera: its address and credentials, the binary channel, the reply
// buffer. Every session call of the C interface is a member operation of this class; the
// operations of each subsystem live in that subsystem's folder.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "core/http_transport.h"
#include "core/reply_buffer.h"
#include "core/tcp_login.h"

namespace camlink {
struct SearchState;
}

namespace LumenControl {

class LumenControlClient {
public:
    LumenControlClient();
    ~LumenControlClient();
    LumenControlClient(const LumenControlClient&) = delete;
    LumenControlClient& operator=(const LumenControlClient&) = delete;

    // Login and logout.
    int login(const char* address, const char* user, const char* password, char* reply128);
    void logout();

    // "<address>:8089<path>", the URL form of every request to the camera.
    std::string url(const char* path) const;
    // One exchange with the session's credentials; the transport's result.
    int httpPost(const char* path, const std::string& body, std::string& response);
    int httpGet(const char* path, std::string& response);
    const std::string& credentials() const { return credentials_; }
    // The session's transport: a fresh handle per request, or, when sessions run side by
    // side, one handle kept open for the session's life.
    LumenNetwork::LumenNetworkHttp& http() { return http_; }
    camlink::ReplyBuffer& replyBuffer() { return reply_; }
    camlink::TcpLoginRecord* tcpLogin() { return tcp_.get(); }
    // Session 0 only: the search areas and indexes, made by the first search, so a camera
    // session never pays for them. Shared, so a running search keeps them alive.
    std::shared_ptr<camlink::SearchState>& searchState() { return search_; }

private:
    int httpCheck(char* reply128);

    std::unique_ptr<camlink::TcpLoginRecord> tcp_;
    camlink::ReplyBuffer reply_;
    bool loggedIn_ = false;
    std::string address_;
    std::string user_;
    std::string password_;
    std::string credentials_;
    std::shared_ptr<camlink::SearchState> search_;
    LumenNetwork::LumenNetworkHttp http_;
};

}  // namespace LumenControl
