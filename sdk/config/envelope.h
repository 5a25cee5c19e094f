// The module configuration envelope: every configuration call reads or writes named modules of
// the camera through one JSON request on "/common/config"; reboot and reset post fixed envelopes
// on "/common/control".
#pragma once

#include <json/json.h>

#include <string>
#include <vector>

#include "core/client.h"

namespace camlink {

// Failure codes of the envelope operations (negative; a call hands back their opposite).
constexpr int kEnvelopeBadArgument = -1000;
constexpr int kEnvelopeNotJson = -13;
constexpr int kEnvelopeRefused = -4000;

// Reads the named modules. `modules` receives one document per name: the reply's module object
// ({"name", "ret", "parm"}) of each name the camera answered with "ret" 0, null otherwise.
// Returns the number of modules found, or a negative failure code.
int getModuleConfig(LumenControl::LumenControlClient& client, const std::vector<std::string>& names,
                    std::vector<Json::Value>& modules);

// Writes one parameter array per named module. Returns the number of modules the camera
// confirmed with "ret" 0, or a negative failure code.
int setModuleConfig(LumenControl::LumenControlClient& client, const std::vector<std::string>& names,
                    const std::vector<Json::Value>& parms);

// The reply text of a module read or write after a 200, taken apart as the two calls above do:
// the same results.
int readModuleReply(const std::string& response, const std::vector<std::string>& names,
                    std::vector<Json::Value>& modules);
int countConfirmedModules(const std::string& response, const std::vector<std::string>& names);

enum class DeviceAction { Reboot, Reset };

// Reboots the device or resets its settings: 0, 13 for a reply that is not JSON, 4000 when the
// camera refused, or the transport's result. `method` tags the log lines.
int controlDevice(LumenControl::LumenControlClient& client, DeviceAction action,
                  const char* method);

// How a per-module call turns an envelope count into its result: a failure code c gives -c, a
// count other than `expected` logs `failText` under the call's tag and gives 13, else 0.
int moduleResult(int count, int expected, const char* method, const char* failText);

}  // namespace camlink
