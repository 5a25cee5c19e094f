// The busy overlay as pages and dialogs drive it: through the program-wide job control, and
// nothing happens when there is none (a page on its own in a test).
#pragma once

namespace busy {

enum Mode { ProgressBar = 0, Animation = 1, ProgressCancel = 2, ItemTable = 3 };

void begin(Mode mode);
void end();
// The overlay's bar: current of total.
void progress(int current, int total);
// The bar with the text "done / total".
void count(int done, int total);
// The main window is closing: finished handlers show nothing.
bool closing();

}  // namespace busy
