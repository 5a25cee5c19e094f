// The whole run of the program behind main(): start-up, the single-instance guard, the window,
// and the end, which never waits for a worker longer than the exit grace.
#pragma once

#include <QString>
#include <functional>

class MainWindow;

namespace program {

struct Options {
    QString instanceKey;                       // the single-instance guard's name
    std::function<void(MainWindow&)> onShown;  // called once the window is shown (probes)
};

Options defaults();
int run(int argc, char* argv[], const Options& options);

}  // namespace program
