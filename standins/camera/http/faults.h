// Faults a test or the command asks a camera to show, per path, and an interruptible sleep
// for the ones that take time.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace camsim {

enum class FaultKind {
    Latency,    // answer after `value` ms
    NoAnswer,   // hold the request `value` ms (default long enough for any client time-out), then
                // drop
    Drop,       // close the connection without an answer
    Status,     // answer with HTTP status `value`
    Malformed,  // answer 200 with a body that is not JSON
    Truncated,  // answer 200 with the first half of the real body
    Overrun,    // the real answer, then filler bytes without end, `value` ms between 4 KiB pieces
};

struct HttpFault {
    std::string path = "*";  // "*" matches every path
    FaultKind kind = FaultKind::Latency;
    int value = 0;
    int times = -1;  // how many requests it hits; -1 for all
};

// Parses "kind[:value][@path][#times]", e.g. "status:500@/common/config#2". nullopt if bad.
std::optional<HttpFault> parseFault(const std::string& text);

class FaultPlan {
public:
    void add(const HttpFault& fault);
    void clear();
    // The first fault that matches the path; counts one use of it.
    std::optional<HttpFault> take(const std::string& path);
    // The delay of a latency without a count that the first matching fault sets, 0 if none; used
    // up by nothing. A slow camera is slow in its challenges and refusals too.
    int steadyLatencyMs(const std::string& path);

private:
    std::mutex mutex_;
    std::vector<HttpFault> faults_;
};

// Sleeps that end early when the camera stops.
class Sleeper {
public:
    // false when woken by stop().
    bool sleepFor(std::chrono::milliseconds duration);
    void stop();
    void reset();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool stopped_ = false;
};

}  // namespace camsim
