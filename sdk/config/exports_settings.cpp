// The exports of the settings groups with their own reply parser: each runs its group's read
// or write under the session frame.
#include "camlink.h"
#include "config/own_parser.h"
#include "core/session_call.h"

namespace {

using camlink::SettingsGroup;
using Client = LumenControl::LumenControlClient;

template <typename Record>
int readCall(int session, Record* record, const SettingsGroup<Record>& group) {
    return camlink::sessionCall(
        session, record, [&](Client& c, Record& r) { return camlink::readSettings(c, group, r); });
}

template <typename Record>
int writeCall(int session, Record* record, const SettingsGroup<Record>& group) {
    return camlink::sessionCall(
        session, record, [&](Client& c, Record& r) { return camlink::writeSettings(c, group, r); });
}

}  // namespace

extern "C" {

// ---- Image settings ----

CAMLINK_API int vcam_control_get_face_exposure(int session, vcam_face_exposure* record) {
    return readCall(session, record, camlink::kFaceExposure);
}
CAMLINK_API int vcam_control_set_face_exposure(int session, vcam_face_exposure* record) {
    return writeCall(session, record, camlink::kFaceExposure);
}
CAMLINK_API int vcam_control_get_image_lighting(int session, vcam_image_lighting* record) {
    return readCall(session, record, camlink::kImageLighting);
}
CAMLINK_API int vcam_control_set_image_lighting(int session, vcam_image_lighting* record) {
    return writeCall(session, record, camlink::kImageLighting);
}
CAMLINK_API int vcam_control_get_image_adjust(int session, vcam_image_adjust* record) {
    return readCall(session, record, camlink::kImageAdjust);
}
CAMLINK_API int vcam_control_set_image_adjust(int session, vcam_image_adjust* record) {
    return writeCall(session, record, camlink::kImageAdjust);
}
CAMLINK_API int vcam_control_get_image_exposure(int session, vcam_image_exposure* record) {
    return readCall(session, record, camlink::kImageExposure);
}
CAMLINK_API int vcam_control_set_image_exposure(int session, vcam_image_exposure* record) {
    return writeCall(session, record, camlink::kImageExposure);
}
CAMLINK_API int vcam_control_get_image_focus(int session, vcam_image_focus* record) {
    return readCall(session, record, camlink::kImageFocus);
}
CAMLINK_API int vcam_control_set_image_focus(int session, vcam_image_focus* record) {
    return writeCall(session, record, camlink::kImageFocus);
}
CAMLINK_API int vcam_control_get_image_dnr(int session, vcam_image_dnr* record) {
    return readCall(session, record, camlink::kImageDnr);
}
CAMLINK_API int vcam_control_set_image_dnr(int session, vcam_image_dnr* record) {
    return writeCall(session, record, camlink::kImageDnr);
}
CAMLINK_API int vcam_control_get_image_enhance(int session, vcam_image_enhance* record) {
    return readCall(session, record, camlink::kImageEnhance);
}
CAMLINK_API int vcam_control_set_image_enhance(int session, vcam_image_enhance* record) {
    return writeCall(session, record, camlink::kImageEnhance);
}
CAMLINK_API int vcam_control_get_image_whitebalance(int session, vcam_image_whitebalance* record) {
    return readCall(session, record, camlink::kImageWhitebalance);
}
CAMLINK_API int vcam_control_set_image_whitebalance(int session, vcam_image_whitebalance* record) {
    return writeCall(session, record, camlink::kImageWhitebalance);
}

// ---- Smart settings ----

CAMLINK_API int vcam_control_get_capture(int session, vcam_capture_config* record) {
    return readCall(session, record, camlink::kCaptureConfig);
}
CAMLINK_API int vcam_control_set_capture(int session, vcam_capture_config* record) {
    return writeCall(session, record, camlink::kCaptureConfig);
}
CAMLINK_API int vcam_control_get_recognize(int session, vcam_recognize_config* record) {
    return readCall(session, record, camlink::kRecognizeConfig);
}
CAMLINK_API int vcam_control_set_recognize(int session, vcam_recognize_config* record) {
    return writeCall(session, record, camlink::kRecognizeConfig);
}
CAMLINK_API int vcam_control_get_linkage(int session, vcam_linkage_config* record) {
    return readCall(session, record, camlink::kLinkageConfig);
}
CAMLINK_API int vcam_control_set_linkage(int session, vcam_linkage_config* record) {
    return writeCall(session, record, camlink::kLinkageConfig);
}
CAMLINK_API int vcam_control_get_passflow(int session, vcam_passflow_config* record) {
    return readCall(session, record, camlink::kPassflowConfig);
}
CAMLINK_API int vcam_control_set_passflow(int session, vcam_passflow_config* record) {
    return writeCall(session, record, camlink::kPassflowConfig);
}
CAMLINK_API int vcam_control_get_smart_capability(int session, vcam_smart_capability* record) {
    return readCall(session, record, camlink::kSmartCapability);
}

}  // extern "C"
