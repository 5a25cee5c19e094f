// What every call that hands the camera's reply back has in common.
#pragma once

#include <string>

#include "core/client.h"

namespace camlink {

// "LumenControl::LumenControlClient::<method>", the tag of a call's log lines.
std::string methodTag(const char* method);

// Status 200: the reply text goes into the session's reply buffer and `*reply` points at it;
// the result is 0. Otherwise `*reply` is null, the failure is logged at error level under
// the method's tag and the transport's result is returned.
int handBackText(LumenControl::LumenControlClient& client, int status, const std::string& response,
                 char** reply, const char* method);

// The error line of a failed exchange.
void logRequestFailed(const char* method, int status);

}  // namespace camlink
