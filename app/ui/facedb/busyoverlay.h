// The busy overlay, driven through the program-wide job control (nothing happens without one).
#pragma once

namespace busy {

enum Mode { ProgressBar = 0, Animation = 1, ProgressCancel = 2, ItemTable = 3 };

void begin(Mode mode);
void end();
// The overlay's bar: current of total.
void progress(int current, int total);
// The main window is closing: finished handlers show nothing.
bool closing();

}  // namespace busy
