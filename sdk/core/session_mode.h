// How session calls share the library: one after another under the table's one lock (the
// default), or side by side, each session under a lock of its own, when the environment
// variable CAMLINK_SESSIONS is "parallel".
#pragma once

namespace camlink {

enum class SessionMode { Serial, Parallel };

// Read from the environment once, at the first use.
SessionMode sessionMode();

// For tests linking the library's objects: replaces the mode read from the environment. Only
// while no session call runs.
void setSessionModeForTest(SessionMode mode);

}  // namespace camlink
