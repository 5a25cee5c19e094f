// The camera's binary TCP channel (port 80): handshake, DES-enciphered login, logout and
// firmware upgrade, with 32-byte little-endian packet headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace camsim {

struct UpgradeRecord {
    uint32_t announcedSize = 0;
    uint64_t receivedSize = 0;
    std::string md5;  // upper-case hex of the bytes received
    bool accepted = false;
};

// State shared between the channel and whoever inspects the camera (tests, the command).
struct ChannelState {
    std::atomic<bool> refuseLogin{false};
    std::atomic<bool> refuseUpgrade{false};
    std::atomic<bool> silentUpgrade{false};  // take the file, never answer

    mutable std::mutex mutex;
    int logins = 0;         // accepted logins
    int refusedLogins = 0;  // wrong credentials or refused on demand
    int logouts = 0;
    std::vector<UpgradeRecord> upgrades;
};

struct ChannelSettings {
    std::string address;
    uint16_t port = 80;
    uint64_t serial = 0;
    std::string user;
    std::string password;
};

class BinaryChannel {
public:
    BinaryChannel(ChannelSettings settings, ChannelState& state);
    ~BinaryChannel();
    BinaryChannel(const BinaryChannel&) = delete;
    BinaryChannel& operator=(const BinaryChannel&) = delete;

    // Binds and listens; false with a readable message when the address or port cannot be bound.
    bool start(std::string* error);
    // Closes the listener and every open connection; joins the thread. Idempotent.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace camsim
