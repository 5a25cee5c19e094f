// The end of the process after its window has closed: camera calls still running get a short
// while to end, then the process leaves without them rather than live on hidden.
#pragma once

class InstanceGuard;

namespace programexit {

// What the operator may wait after the window closed, with room for the store and the log.
constexpr int kCameraCallWaitMs = 2000;

// After the window has gone: drops the queued camera work, waits a short while for the running
// calls and logs the sessions out; returns code, or leaves at once when a call outlasts the wait.
int finish(InstanceGuard& guard, int code);

// Drops the camera work not started yet and waits for the running calls, within waitMs.
// True when none is left.
bool endCameraCalls(int waitMs = kCameraCallWaitMs);

// Leaves at once with code, the calls still running abandoned: the instance guard is released
// first, so that the next start works.
[[noreturn]] void leaveWithCallsRunning(InstanceGuard& guard, int code);

}  // namespace programexit
