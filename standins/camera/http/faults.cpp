#include "http/faults.h"

#include <cstdlib>
#include <map>

namespace camsim {

namespace {
bool parseInt(const std::string& text, int* out) {
    if (text.empty() || text.size() > 9) return false;
    char* end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (*end != '\0' || v < 0) return false;
    *out = static_cast<int>(v);
    return true;
}
}  // namespace

std::optional<HttpFault> parseFault(const std::string& text) {
    static const std::map<std::string, FaultKind> kinds = {
        {"latency", FaultKind::Latency},     {"noanswer", FaultKind::NoAnswer},
        {"drop", FaultKind::Drop},           {"status", FaultKind::Status},
        {"malformed", FaultKind::Malformed}, {"truncated", FaultKind::Truncated},
        {"overrun", FaultKind::Overrun}};
    HttpFault fault;
    std::string rest = text;
    if (auto hash = rest.find('#'); hash != std::string::npos) {
        if (!parseInt(rest.substr(hash + 1), &fault.times) || fault.times == 0) return std::nullopt;
        rest.resize(hash);
    }
    if (auto at = rest.find('@'); at != std::string::npos) {
        fault.path = rest.substr(at + 1);
        if (fault.path.empty()) return std::nullopt;
        rest.resize(at);
    }
    if (auto colon = rest.find(':'); colon != std::string::npos) {
        if (!parseInt(rest.substr(colon + 1), &fault.value)) return std::nullopt;
        rest.resize(colon);
    }
    auto kind = kinds.find(rest);
    if (kind == kinds.end()) return std::nullopt;
    fault.kind = kind->second;
    if (fault.kind == FaultKind::Status && (fault.value < 100 || fault.value > 599))
        return std::nullopt;
    return fault;
}

void FaultPlan::add(const HttpFault& fault) {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.push_back(fault);
}

void FaultPlan::clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    faults_.clear();
}

std::optional<HttpFault> FaultPlan::take(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = faults_.begin(); it != faults_.end(); ++it) {
        if (it->path != "*" && it->path != path) continue;
        HttpFault hit = *it;
        if (it->times > 0 && --it->times == 0) faults_.erase(it);
        return hit;
    }
    return std::nullopt;
}

int FaultPlan::steadyLatencyMs(const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const HttpFault& fault : faults_) {
        if (fault.path != "*" && fault.path != path) continue;
        return fault.kind == FaultKind::Latency && fault.times < 0 ? fault.value : 0;
    }
    return 0;
}

bool Sleeper::sleepFor(std::chrono::milliseconds duration) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !cv_.wait_for(lock, duration, [this] { return stopped_; });
}

void Sleeper::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    cv_.notify_all();
}

void Sleeper::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    stopped_ = false;
}

}  // namespace camsim
