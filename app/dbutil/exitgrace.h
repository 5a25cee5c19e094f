// The last seconds of the program after the operator confirmed the exit. Workers were told to
// stop; one still inside a camera call may need its whole time-out. Once the exit guard has
// waited, teardown waits only a short grace for each worker; when that runs out the process
// ends at once, after removing the partial files registered here and running the early-end
// steps (the single-instance guard is given back), so a restart works at once.
#pragma once

#include <QString>
#include <functional>

class QThread;

namespace exitgrace {

constexpr int kGraceMs = 2000;

// From now on, waits for workers end at now + ms. Safe from any thread.
void begin(int ms = kGraceMs);
bool active();
// Milliseconds left of the grace (0 when it ran out), or -1 when no grace has begun.
int remainingMs();

// Waits for thread to end: without bound before the grace, until the grace ends during it.
// A thread still running then ends the process here.
void join(QThread* thread);

// A file or folder a worker is writing that must not outlive an early end. Safe from any thread.
void keepPath(const QString& path);
void forgetPath(const QString& path);

// Runs before an early end, in the order added (GUI thread, at start-up).
void atEarlyEnd(std::function<void()> step);

// Removes the registered paths, runs the early-end steps, flushes the program log and ends the
// process with code, without running any destructor of objects workers may still use.
[[noreturn]] void endNow(int code);

}  // namespace exitgrace
