// Device information and control: identity, load, counters, clock, network and service ports,
// each a table of the module's parameters; reboot and reset.
#include <string>

#include "config/envelope_calls.h"
#include "core/call_support.h"
#include "core/log.h"

namespace camlink {

namespace {

using Attr = vcam_device_attr;
using Status = vcam_device_status;
using Diagnoses = vcam_device_diagnoses;
using Time = vcam_time_config;
using Network = vcam_network_config;
using Ports = vcam_transfer_protocol;

const Param<Attr> kDeviceInfoParams[] = {
    {"SerialNo", ParamType::String, &Attr::SerialNo},
    {"DeviceType", ParamType::String, &Attr::DeviceType},
    {"FirmwareVersion", ParamType::String, &Attr::FirmwareVersion},
};

const Param<Attr> kSmartInfoParams[] = {
    {"ota", ParamType::String, &Attr::ota},           {"model", ParamType::String, &Attr::model},
    {"firmware", ParamType::String, &Attr::firmware}, {"sdk", ParamType::String, &Attr::sdk},
    {"smart", ParamType::String, &Attr::smart},
};

const Param<Status> kStatusParams[] = {
    {"cpu_rate", ParamType::Int32, &Status::cpu_rate},
    {"memory", ParamType::Int32, &Status::memory},
};

const Param<Diagnoses> kDiagnosesParams[] = {
    {"snapcnt", ParamType::UInt32, &Diagnoses::snapcnt},
    {"sendcnt", ParamType::UInt32, &Diagnoses::sendcnt},
};

// The camera names its clock source; 3 stands for a name this library does not know.
const char* const kSyncModes[] = {"manual", "pc", "ntp"};
constexpr int32_t kUnknownSyncMode = 3;

void readSyncModel(const Json::Value& value, Time& record) {
    if (!value.isString()) return;
    const std::string mode = value.asString();
    for (int32_t i = 0; i < kUnknownSyncMode; ++i) {
        if (mode == kSyncModes[i]) {
            record.sync_model = i;
            return;
        }
    }
    record.sync_model = kUnknownSyncMode;
    CAMLINK_LOG(kLogWarning, methodTag("controlDeviceGetTime"))
        << "Sync mode parameter is not recognized!";
}

Json::Value writeSyncModel(const Time& record) {
    const bool known = record.sync_model >= 0 && record.sync_model < kUnknownSyncMode;
    return kSyncModes[known ? record.sync_model : 0];
}

// The zone offset goes along only when the clock is not set by hand, in the caller's unit.
bool zoneInHours(const Time& record) {
    return record.sync_model != 0 && record.zone_unit;
}
bool zoneInSeconds(const Time& record) {
    return record.sync_model != 0 && !record.zone_unit;
}

// Only manual (0) and network time (2) are accepted for writing; "pc" (1) is read back but
// deliberately refused here, since the managing computer does not drive the camera's clock.
bool timeWritable(const Time& record) {
    return record.time_zone >= -24 && record.time_zone <= 24 && record.time_zone_second >= -43200 &&
           record.time_zone_second <= 43200 && (record.sync_model == 0 || record.sync_model == 2);
}

const Param<Time> kTimeParams[] = {
    {"cur_time", ParamType::UInt64, &Time::cur_time},
    {"sync_model", ParamType::String, ParamCodec<Time>{&readSyncModel, &writeSyncModel}},
    {"time_zone", ParamType::Int32, &Time::time_zone, &zoneInHours},
    {"time_zone_second", ParamType::Int32, &Time::time_zone_second, &zoneInSeconds},
    {"no_nvr_modify", ParamType::Bool, &Time::no_nvr_modify},
    {"sntp_server", ParamType::String, &Time::sntp_server},
};

const Param<Network> kNetworkParams[] = {
    {"MacAddress", ParamType::String, &Network::MacAddress},
    {"LocalIp", ParamType::String, &Network::LocalIp},
    {"NetMask", ParamType::String, &Network::NetMask},
    {"GateWay", ParamType::String, &Network::GateWay},
    {"Dns1", ParamType::String, &Network::Dns1},
    {"Dns2", ParamType::String, &Network::Dns2},
};

const Param<Ports> kPortParams[] = {
    {"http_port", ParamType::UInt32, &Ports::http_port},
    {"https_port", ParamType::UInt32, &Ports::https_port},
    {"rtsp_port", ParamType::UInt32, &Ports::rtsp_port},
    {"onvif_port", ParamType::UInt32, &Ports::onvif_port},
};

bool portsWritable(const Ports& r) {
    return r.http_port != 0 && r.https_port != 0 && r.rtsp_port != 0 && r.onvif_port != 0;
}

}  // namespace

const ModuleCall<Status> kDeviceStatusCall = {
    "device_status", kStatusParams, "controlDeviceStatus", "cant get device_status.", nullptr,
};

const ModuleCall<Diagnoses> kDeviceDiagnosesCall = {
    "device_diagnose",           kDiagnosesParams, "controlDeviceDiagnoses",
    "cant get device_diagnose.", nullptr,
};

const ModuleCall<Time> kTimeCall = {
    "time",        kTimeParams, "controlDeviceGetTime", "cant get time.", "controlDeviceSetTime",
    &timeWritable, true,
};

const ModuleCall<Network> kNetworkCall = {
    "network",
    kNetworkParams,
    "controlDeviceGetNetwork",
    "cant get network.",
    "controlDeviceSetNetwork",
    nullptr,
    true,
};

const ModuleCall<Ports> kTransferProtocolCall = {
    "transfer_protocol",
    kPortParams,
    "controlDeviceGetTransProtocol",
    "cant get transfer_protocol.",
    "controlDeviceSetTransProtocol",
    &portsWritable,
};

int readDeviceAttr(LumenControl::LumenControlClient& client, Attr& record) {
    const ModuleParams<Attr> modules[] = {{"deviceInfo", kDeviceInfoParams},
                                          {"smartinfo", kSmartInfoParams}};
    return readModules(client, modules, "controlDeviceAttr",
                       "cant get deviceInfo and smartinfo config.", record);
}

int rebootDevice(LumenControl::LumenControlClient& client) {
    return controlDevice(client, DeviceAction::Reboot, "controlDeviceReboot");
}

int resetDeviceConfig(LumenControl::LumenControlClient& client) {
    return controlDevice(client, DeviceAction::Reset, "controlDeviceResetConfig");
}

}  // namespace camlink
