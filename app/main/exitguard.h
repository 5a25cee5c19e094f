// The question before the main window closes while jobs run, and the stop of those jobs.
#pragma once

#include <QString>

class JobControl;
class QWidget;

namespace exitguard {

constexpr int kWaitMs = 10000;
constexpr int kTickMs = 20;

// "The following tasks are being executed:\n", each running task's name + " \n" in bit order,
// "Exit anyhow?"; translated in the main window's context.
QString question(quint16 tasks);
// The "Information" box with OK and Cancel; true for OK.
bool confirm(QWidget* parent, quint16 tasks);
// Marks the program as closing (finished handlers stay silent), stops every job and waits for
// the task bits to clear, at most timeoutMs. The event loop keeps running without user input,
// so jobs whose end is counted on this thread can finish. Then the exit grace begins: teardown
// waits for no worker longer than it. True when all ended.
bool stopAndWait(JobControl& jobs, int timeoutMs);

}  // namespace exitguard
