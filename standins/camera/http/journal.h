// A record of the requests a camera received, so tests assert on what was really sent.
#pragma once

#include <chrono>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

#include "http/http_types.h"

namespace camsim {

struct JournalEntry {
    using Clock = std::chrono::steady_clock;

    std::string method;
    std::string path;
    HeaderList headers;
    std::string body;
    int status = 0;              // what the camera answered (0: no answer)
    bool authenticated = false;  // passed digest authentication
    std::string peer;            // the client's "address:port": one per connection
    Clock::time_point received;  // the request line arrived
    Clock::time_point answered;  // the answer was ready (set when recorded)

    // First header of that name, compared without regard to case; empty when absent.
    std::string header(const std::string& name) const;
};

class Journal {
public:
    static constexpr size_t kCapacity = 20000;  // oldest entries are dropped beyond it

    void record(JournalEntry entry);
    std::vector<JournalEntry> entries() const;
    // Authenticated requests on one path, in arrival order.
    std::vector<JournalEntry> on(const std::string& path) const;
    void clear();

private:
    mutable std::mutex mutex_;
    std::deque<JournalEntry> entries_;
};

}  // namespace camsim
