// LAN search responders of both generations: UDP 10000 (XML) and UDP 6789 (binary).
// One responder serves every camera of the process; replies are broadcast to the port the
// request was sent to. Only ever started inside a private network namespace.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace camsim {

struct SearchIdentity {
    std::string address;   // IPv4 text of the camera
    std::string serialNo;  // device key (second generation offset 448, first generation SerialNo)
    std::string firmware;  // contains "RECOG" for face-recognition cameras
    std::string deviceType;
    std::string mac;
    std::string netmask = "255.0.0.0";
    std::string gateway = "127.0.0.1";
    uint16_t httpPort = 8089;
    uint16_t privatePort = 80;
};

class SearchResponder {
public:
    // `cameras` is asked on every request, so cameras started or stopped later are reflected.
    explicit SearchResponder(std::function<std::vector<SearchIdentity>()> cameras,
                             uint16_t binaryPort = 6789, uint16_t xmlPort = 10000);
    ~SearchResponder();
    SearchResponder(const SearchResponder&) = delete;
    SearchResponder& operator=(const SearchResponder&) = delete;

    bool start(std::string* error);
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace camsim
