// The camsim command's options.
#pragma once

#include <string>
#include <vector>

#include "camera_config.h"
#include "channel/binary_channel.h"
#include "http/faults.h"

namespace camsim {

struct CommandOptions {
    std::vector<CameraConfig> cameras;
    std::string stateDir;
    std::vector<HttpFault> faults;
    bool refuseLogin = false;
    bool refuseUpgrade = false;
    bool silentUpgrade = false;
    ChannelFault channelFault = ChannelFault::None;
    int deleteDelayMs = 0;
    bool help = false;
};

// Throws std::runtime_error with a message for the user when the arguments are wrong.
CommandOptions parseCommandLine(const std::vector<std::string>& args);

extern const char* const kUsage;

}  // namespace camsim
