// The end of the process after its window has closed: queued camera work is dropped, calls still
// running get a short while to end, then the process leaves without them rather than live on
// hidden.
#pragma once

namespace programexit {

// What the operator may wait after the window closed, with room for the store and the log, when
// no exit grace has begun (an exit during a refresh, which the exit guard does not ask about).
constexpr int kCameraCallWaitMs = 2000;

// After the window has gone: drops the queued camera work, waits for the running calls (the
// rest of the exit grace, or kCameraCallWaitMs) and logs the sessions out; returns code, or
// ends the process at once through the exit grace when a call outlasts the wait.
int finish(int code);

// Drops the camera work not started yet and waits for the running calls, within waitMs.
// True when none is left.
bool endCameraCalls(int waitMs);

}  // namespace programexit
