// The configuration calls that read and write their module through the envelope: device
// information and control, backlight, defog, video streams, privacy zones, liveness detection.
// Most are one table each, run by readModule / writeModule.
#pragma once

#include "camlink.h"
#include "config/param_table.h"
#include "core/client.h"

namespace camlink {

// Device information and control.
int readDeviceAttr(LumenControl::LumenControlClient& client, vcam_device_attr& record);
int rebootDevice(LumenControl::LumenControlClient& client);
int resetDeviceConfig(LumenControl::LumenControlClient& client);
extern const ModuleCall<vcam_device_status> kDeviceStatusCall;
extern const ModuleCall<vcam_device_diagnoses> kDeviceDiagnosesCall;
extern const ModuleCall<vcam_time_config> kTimeCall;
extern const ModuleCall<vcam_network_config> kNetworkCall;
extern const ModuleCall<vcam_transfer_protocol> kTransferProtocolCall;

// Image and smart settings kept in envelope modules.
extern const ModuleCall<vcam_image_backlight> kBacklightCall;
extern const ModuleCall<vcam_image_defog> kDefogCall;
extern const ModuleCall<vcam_privacy_zone> kPrivacyZoneCall;
extern const ModuleCall<vcam_living_detect> kLivingDetectCall;
// The stream field picks the module; a stream above 2 is 18 without a request.
int readVideoConfig(LumenControl::LumenControlClient& client, vcam_video_config& record);
int writeVideoConfig(LumenControl::LumenControlClient& client, vcam_video_config& record);

}  // namespace camlink
