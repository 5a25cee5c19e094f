// The module envelope: a read reply into the modules asked for, each then into its record
// through the module's parameter table; a write reply into the count of confirmed modules.
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "config/envelope.h"
#include "config/envelope_calls.h"
#include "config/param_table.h"
#include "config_parsers.h"

namespace {

using fuzzconfig::check;

const std::vector<std::string>& moduleNames() {
    static const std::vector<std::string> names = {
        camlink::kDeviceStatusCall.module,
        camlink::kDeviceDiagnosesCall.module,
        camlink::kTimeCall.module,
        camlink::kNetworkCall.module,
        camlink::kTransferProtocolCall.module,
        camlink::kBacklightCall.module,
        camlink::kDefogCall.module,
        camlink::kPrivacyZoneCall.module,
        camlink::kLivingDetectCall.module,
    };
    return names;
}

template <typename R>
void checkTexts(const camlink::ModuleCall<R>& call, const R& record) {
    for (const camlink::Param<R>& param : call.params) {
        std::visit(
            [&](const auto& field) {
                using F = std::decay_t<decltype(field)>;
                if constexpr (!std::is_same_v<F, camlink::ParamCodec<R>>) {
                    const auto& target = record.*field;
                    if constexpr (std::is_array_v<std::remove_reference_t<decltype(target)>>)
                        check(strnlen(target, sizeof target) < sizeof target, "text unterminated");
                }
            },
            param.field);
    }
}

// The record starts zeroed, as a cleared read leaves it.
template <typename R>
void fill(const camlink::ModuleCall<R>& call, const Json::Value& module) {
    auto record = std::make_unique<R>();
    camlink::fillFromModule(module, call.params, *record);
    checkTexts(call, *record);
}

void readModules(const std::string& reply, uint8_t) {
    const std::vector<std::string>& names = moduleNames();
    std::vector<Json::Value> modules;
    const int count = camlink::readModuleReply(reply, names, modules);
    check(count >= 0 || count == camlink::kEnvelopeNotJson || count == camlink::kEnvelopeRefused,
          "read result");
    if (count < 0) return;
    check(modules.size() == names.size(), "one document per name");
    for (size_t i = 0; i < names.size(); ++i)
        check(modules[i].isNull() || modules[i]["name"].asString() == names[i], "wrong module");
    fill(camlink::kDeviceStatusCall, modules[0]);
    fill(camlink::kDeviceDiagnosesCall, modules[1]);
    fill(camlink::kTimeCall, modules[2]);
    fill(camlink::kNetworkCall, modules[3]);
    fill(camlink::kTransferProtocolCall, modules[4]);
    fill(camlink::kBacklightCall, modules[5]);
    fill(camlink::kDefogCall, modules[6]);
    fill(camlink::kPrivacyZoneCall, modules[7]);
    fill(camlink::kLivingDetectCall, modules[8]);
}

void confirmModules(const std::string& reply, uint8_t) {
    const int count = camlink::countConfirmedModules(reply, moduleNames());
    check(count >= 0 || count == camlink::kEnvelopeNotJson || count == camlink::kEnvelopeRefused,
          "write result");
}

const fuzzconfig::Parser kParsers[] = {&readModules, &confirmModules};

}  // namespace

fuzzconfig::ParserList fuzzconfig::moduleParsers() {
    return {kParsers, sizeof kParsers / sizeof kParsers[0]};
}
