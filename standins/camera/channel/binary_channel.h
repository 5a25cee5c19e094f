// The camera's binary TCP channel (port 80): handshake, DES-enciphered login, logout and
// firmware upgrade, with 32-byte little-endian packet headers.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
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

// One packet as it crossed the channel, seen from the camera. An upgrade's file bytes are not
// kept here: its header is, and the file's size and digest are in the UpgradeRecord.
struct ChannelPacket {
    enum class Direction { In, Out };
    Direction direction = Direction::In;
    int connection = 0;    // numbered from 1 in the order the camera accepted them
    std::string bytes;     // exactly what was received or sent
    bool refused = false;  // an incoming packet whose fixed bytes do not fit the layout
};

// Misbehaviour of the channel on demand, for the client's failure paths.
enum class ChannelFault {
    None,
    SilentHandshake,  // read the handshake, never answer it
    ShortReply,       // send only the first half of every answer, then nothing
    CloseMidUpgrade,  // close the connection when half of the announced file has arrived
};

// State shared between the channel and whoever inspects the camera (tests, the command).
struct ChannelState {
    static constexpr size_t kJournalCapacity = 4096;  // oldest packets are dropped beyond it

    std::atomic<bool> refuseLogin{false};
    std::atomic<bool> refuseUpgrade{false};
    std::atomic<bool> silentUpgrade{false};  // take the file, never answer
    std::atomic<ChannelFault> fault{ChannelFault::None};

    mutable std::mutex mutex;
    int logins = 0;         // accepted logins
    int refusedLogins = 0;  // wrong credentials or refused on demand
    int logouts = 0;
    std::vector<UpgradeRecord> upgrades;
    std::deque<ChannelPacket> packets;

    void record(ChannelPacket packet);
    std::vector<ChannelPacket> journal() const;
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
