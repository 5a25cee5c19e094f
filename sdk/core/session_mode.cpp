#include "core/session_mode.h"

#include <atomic>
#include <cstdlib>
#include <cstring>

namespace camlink {

namespace {

SessionMode modeFromEnvironment() {
    const char* text = std::getenv("CAMLINK_SESSIONS");
    return text && std::strcmp(text, "parallel") == 0 ? SessionMode::Parallel
                                                      : SessionMode::Serial;
}

std::atomic<SessionMode>& currentMode() {
    static std::atomic<SessionMode> mode{modeFromEnvironment()};
    return mode;
}

}  // namespace

SessionMode sessionMode() {
    return currentMode().load(std::memory_order_relaxed);
}

void setSessionModeForTest(SessionMode mode) {
    currentMode().store(mode);
}

}  // namespace camlink
