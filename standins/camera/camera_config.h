// What one simulated camera is: its address, credentials, identity and behaviour settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace camsim {

struct PreloadedImage {
    std::string path;  // local JPEG file
    std::string name;
    std::string uid;
};

struct PreloadedLibrary {
    std::string name;
    int threshold = 80;
    std::vector<PreloadedImage> images;
};

struct CameraConfig {
    std::string address = "127.0.0.2";
    std::string user = "admin";
    std::string password = "admin";
    uint64_t serial = 0x5a17c0de00000001ULL;  // 64-bit key of the binary login
    std::string serialNo;  // device serial text; derived from the address if empty
    std::string firmware = "QX-IPC2019-01B-V1.2.1-RECOG-beta.pb3";  // "ota" text
    std::string deviceType = "IPC-FR200";
    std::string mac;  // derived from the address if empty
    uint16_t httpPort = 8089;
    uint16_t tcpPort = 80;
    bool search = false;  // answer LAN search requests (only ever inside a private namespace)
    int extractMsPerImage = 20;
    int lockoutSeconds = 60;
    bool staleChallenges = true;  // false: a worn-out nonce gets a plain 401 challenge
    size_t maxBodyBytes = 24u * 1024 * 1024;  // larger requests are answered 413
    size_t maxImageBytes = 2u * 1024 * 1024;  // larger pictures are refused as unusable
    // Identifier of the first picture stored; values beyond 32 bits exercise callers' widths.
    int64_t firstImgid = 1001;
    static constexpr int64_t kMaxFirstImgid = 100000000000000000LL;  // 10^17: 18 digits in URLs
    std::vector<PreloadedLibrary> libraries;

    // Fills the derived fields (serialNo, mac) from the address when they are empty.
    void complete();
};

// Reads cameras from a JSON document: {"cameras":[{"address":..,"user":..,...}, ...]}.
// Throws std::runtime_error with a readable message on bad input.
std::vector<CameraConfig> parseCameraConfigs(const std::string& jsonText);

}  // namespace camsim
