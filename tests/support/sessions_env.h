// Whether the environment runs the SDK's sessions side by side (CAMLINK_SESSIONS=parallel), for
// tests of the C interface that see the difference.
#pragma once

#include <cstdlib>
#include <cstring>

namespace testsupport {

inline bool sessionsSideBySide() {
    const char* mode = std::getenv("CAMLINK_SESSIONS");
    return mode && std::strcmp(mode, "parallel") == 0;
}

}  // namespace testsupport
