// camsim: serves simulated face-recognition cameras until SIGINT or SIGTERM.
#include <signal.h>

#include <cstdio>
#include <string>
#include <vector>

#include "camsim.h"
#include "command_line.h"

namespace {

void applyFaults(camsim::Camera& camera, const camsim::CommandOptions& o) {
    for (const auto& fault : o.faults)
        camera.addFault(fault);
    camera.channel().refuseLogin = o.refuseLogin;
    camera.channel().refuseUpgrade = o.refuseUpgrade;
    camera.channel().silentUpgrade = o.silentUpgrade;
    camera.channel().fault = o.channelFault;
    camera.setDeleteDelay(std::chrono::milliseconds(o.deleteDelayMs));
}

}  // namespace

int main(int argc, char** argv) {
    camsim::CommandOptions options;
    try {
        options = camsim::parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "camsim: %s\n%s", e.what(), camsim::kUsage);
        return 1;
    }
    if (options.help) {
        std::fputs(camsim::kUsage, stdout);
        return 0;
    }
    // Signals are taken by sigwait below, never by a server thread.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    camsim::Simulator simulator;
    for (const auto& config : options.cameras)
        applyFaults(simulator.add(config), options);
    if (!options.stateDir.empty()) simulator.setStateDir(options.stateDir);
    std::string error;
    if (!simulator.startAll(&error)) {
        std::fprintf(stderr, "camsim: %s\n", error.c_str());
        return 2;
    }
    std::printf("ready: %zu camera%s on", simulator.size(), simulator.size() == 1 ? "" : "s");
    for (size_t i = 0; i < simulator.size(); ++i)
        std::printf(" %s", simulator.camera(i).config().address.c_str());
    std::printf(" (HTTP %u, binary %u)\n", options.cameras[0].httpPort, options.cameras[0].tcpPort);
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    std::printf("stopping on %s\n", signal == SIGINT ? "SIGINT" : "SIGTERM");
    simulator.stopAll();
    return 0;
}
