// The camera's configuration modules: named parameter lists with sane defaults, read and
// written through the module envelope.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

#include "camera_config.h"

namespace camsim {

// "ret" values of a module in an envelope reply.
namespace ret {
constexpr int kOk = 0;
constexpr int kUnknownModule = 1;
constexpr int kBadParameter = 2;
constexpr int kReadOnly = 3;
}  // namespace ret

class ModuleStore {
public:
    explicit ModuleStore(const CameraConfig& config);

    // {"name", "ret", "parm": [{"name", "value"}, ...]}; "parm" absent when ret is not 0.
    Json::Value read(const std::string& module) const;
    // Applies a list of typed parameters all or nothing; {"name", "ret"}.
    Json::Value write(const std::string& module, const Json::Value& parms);
    // Back to the defaults (the reset action).
    void reset();
    int reboots() const;
    void countReboot();

    Json::Value snapshot() const;
    void restore(const Json::Value& saved);
    bool takeDirty();

private:
    using Params = std::map<std::string, Json::Value>;
    struct Module {
        bool readOnly = false;
        std::vector<std::string> order;  // parameter order of the replies
        Params values;
    };
    std::map<std::string, Module> defaults() const;
    int validate(const Module& module, const Json::Value& parms) const;
    Json::Value currentValue(const std::string& module, const std::string& name,
                             const Json::Value& stored) const;

    const CameraConfig config_;
    mutable std::mutex mutex_;
    std::map<std::string, Module> modules_;
    int64_t clockOffset_ = 0;  // seconds between the camera's clock and ours
    int reboots_ = 0;
    bool dirty_ = false;
};

}  // namespace camsim
