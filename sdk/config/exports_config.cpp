// The configuration exports that go through the module envelope: each runs its call under the
// session frame.
#include "camlink.h"
#include "config/envelope_calls.h"
#include "core/session_call.h"

namespace {

using camlink::ModuleCall;
using camlink::sessionCall;
using Client = LumenControl::LumenControlClient;

template <typename Record>
int readCall(int session, Record* record, const ModuleCall<Record>& call) {
    return sessionCall(session, record,
                       [&](Client& c, Record& r) { return camlink::readModule(c, call, r); });
}

template <typename Record>
int writeCall(int session, Record* record, const ModuleCall<Record>& call) {
    return sessionCall(session, record,
                       [&](Client& c, Record& r) { return camlink::writeModule(c, call, r); });
}

}  // namespace

extern "C" {

CAMLINK_API int vcam_control_device_attr(int session, vcam_device_attr* record) {
    return sessionCall(session, record, &camlink::readDeviceAttr);
}
CAMLINK_API int vcam_control_device_status(int session, vcam_device_status* record) {
    return readCall(session, record, camlink::kDeviceStatusCall);
}
CAMLINK_API int vcam_control_diagnoses(int session, vcam_device_diagnoses* record) {
    return readCall(session, record, camlink::kDeviceDiagnosesCall);
}
CAMLINK_API int vcam_control_reboot(int session) {
    return sessionCall(session, &camlink::rebootDevice);
}
CAMLINK_API int vcam_control_reset_config(int session) {
    return sessionCall(session, &camlink::resetDeviceConfig);
}
CAMLINK_API int vcam_control_get_time(int session, vcam_time_config* record) {
    return readCall(session, record, camlink::kTimeCall);
}
CAMLINK_API int vcam_control_set_time(int session, vcam_time_config* record) {
    return writeCall(session, record, camlink::kTimeCall);
}
CAMLINK_API int vcam_control_get_network(int session, vcam_network_config* record) {
    return readCall(session, record, camlink::kNetworkCall);
}
CAMLINK_API int vcam_control_set_network(int session, vcam_network_config* record) {
    return writeCall(session, record, camlink::kNetworkCall);
}
CAMLINK_API int vcam_control_get_transfer_protocol(int session, vcam_transfer_protocol* record) {
    return readCall(session, record, camlink::kTransferProtocolCall);
}
CAMLINK_API int vcam_control_set_transfer_protocol(int session, vcam_transfer_protocol* record) {
    return writeCall(session, record, camlink::kTransferProtocolCall);
}

CAMLINK_API int vcam_control_get_backlight(int session, vcam_image_backlight* record) {
    return readCall(session, record, camlink::kBacklightCall);
}
CAMLINK_API int vcam_control_set_backlight(int session, vcam_image_backlight* record) {
    return writeCall(session, record, camlink::kBacklightCall);
}
CAMLINK_API int vcam_control_get_defog(int session, vcam_image_defog* record) {
    return readCall(session, record, camlink::kDefogCall);
}
CAMLINK_API int vcam_control_set_defog(int session, vcam_image_defog* record) {
    return writeCall(session, record, camlink::kDefogCall);
}
CAMLINK_API int vcam_control_get_video_config(int session, vcam_video_config* record) {
    return sessionCall(session, record, &camlink::readVideoConfig);
}
CAMLINK_API int vcam_control_set_video_config(int session, vcam_video_config* record) {
    return sessionCall(session, record, &camlink::writeVideoConfig);
}
CAMLINK_API int vcam_control_get_privacy_zone(int session, vcam_privacy_zone* record) {
    return readCall(session, record, camlink::kPrivacyZoneCall);
}
CAMLINK_API int vcam_control_set_privacy_zone(int session, vcam_privacy_zone* record) {
    return writeCall(session, record, camlink::kPrivacyZoneCall);
}
CAMLINK_API int vcam_control_get_living_detect(int session, vcam_living_detect* record) {
    return readCall(session, record, camlink::kLivingDetectCall);
}
CAMLINK_API int vcam_control_set_living_detect(int session, vcam_living_detect* record) {
    return writeCall(session, record, camlink::kLivingDetectCall);
}

}  // extern "C"
