// What the scale run reads about its own process and the machine.
#pragma once

#include <QString>

namespace measures {

// A "VmHWM:"-style line of /proc/self/status in KiB, -1 when missing.
long statusKiB(const char* key);
// Resident memory after giving freed heap back to the system, so that only live data counts.
long trimmedResidentKiB();
// Milliseconds since this process was started by the kernel (10 ms resolution).
double processAgeMs();
// The three load averages of /proc/loadavg.
QString loadAverage();

}  // namespace measures
