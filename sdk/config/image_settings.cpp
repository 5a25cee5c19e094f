// The image settings groups with their own reply parser: each record field is a parameter of
// the same name, written in record order.
#include "config/own_parser.h"

namespace camlink {

namespace {

// Every image group but lighting logs its reply under the adjust label.
constexpr char kImageLabel[] = "Get image_adjust response: ";
constexpr char kLightingLabel[] = "Get image_lighting response: ";

constexpr GroupRow imageGroup(const char* module, const char* getMethod, const char* setMethod,
                              const char* parser, const char* label, ReadStart readStart,
                              GroupFieldList fields) {
    return GroupRow{module,    getMethod,
                    setMethod, parser,
                    label,     RequestLog::Logged,
                    readStart, AbsentModule::Success,
                    fields,    fields,
                    nullptr,   nullptr};
}

using FaceExposure = vcam_face_exposure;
constexpr GroupField kFaceExposureFields[] = {
    field<FaceExposure, &FaceExposure::enable>("enable"),
    field<FaceExposure, &FaceExposure::luminance>("luminance"),
    field<FaceExposure, &FaceExposure::duration>("duration"),
};

using Lighting = vcam_image_lighting;
constexpr GroupField kLightingFields[] = {
    field<Lighting, &Lighting::lighting_mode>("lighting_mode"),
    field<Lighting, &Lighting::lg_sensitivity>("lg_sensitivity"),
    field<Lighting, &Lighting::lg_filtrationtime>("lg_filtrationtime"),
    field<Lighting, &Lighting::lg_gain>("lg_gain"),
    field<Lighting, &Lighting::lg_lighthour>("lg_lighthour"),
    field<Lighting, &Lighting::lg_lightmin>("lg_lightmin"),
    field<Lighting, &Lighting::lg_darkhour>("lg_darkhour"),
    field<Lighting, &Lighting::lg_darkmin>("lg_darkmin"),
};

using Adjust = vcam_image_adjust;
constexpr GroupField kAdjustFields[] = {
    field<Adjust, &Adjust::brightness>("brightness"),
    field<Adjust, &Adjust::contrast>("contrast"),
    field<Adjust, &Adjust::saturation>("saturation"),
    field<Adjust, &Adjust::sharpness>("sharpness"),
};

using Exposure = vcam_image_exposure;
constexpr GroupField kExposureFields[] = {
    field<Exposure, &Exposure::exposure_mode>("exposure_mode"),
    field<Exposure, &Exposure::aegain>("aegain"),
    field<Exposure, &Exposure::shutter>("shutter"),
};

using Focus = vcam_image_focus;
constexpr GroupField kFocusFields[] = {
    field<Focus, &Focus::focus_mode>("focus_mode"),
    field<Focus, &Focus::focus_control>("focus_control"),
};

using Dnr = vcam_image_dnr;
constexpr GroupField kDnrFields[] = {
    field<Dnr, &Dnr::dnr_mode>("dnr_mode"),
    field<Dnr, &Dnr::dnr_3d_value>("dnr_3d_value"),
    field<Dnr, &Dnr::dnr_2d_value>("dnr_2d_value"),
};

using Enhance = vcam_image_enhance;
constexpr GroupField kEnhanceFields[] = {
    field<Enhance, &Enhance::flicker_control>("flicker_control"),
    field<Enhance, &Enhance::wdr_enable>("wdr_enable"),
    field<Enhance, &Enhance::drc_strength>("drc_strength"),
};

using WhiteBalance = vcam_image_whitebalance;
constexpr GroupField kWhiteBalanceFields[] = {
    field<WhiteBalance, &WhiteBalance::whitebalance_mode>("whitebalance_mode"),
    field<WhiteBalance, &WhiteBalance::wbred_gain>("wbred_gain"),
    field<WhiteBalance, &WhiteBalance::wbgreen_gain>("wbgreen_gain"),
    field<WhiteBalance, &WhiteBalance::wbblue_gain>("wbblue_gain"),
};

}  // namespace

const SettingsGroup<vcam_face_exposure> kFaceExposure = {
    imageGroup("face_exposure", "getFaceExposure", "setFaceExposure", "FaceExposurePaser",
               kImageLabel, ReadStart::AsGiven, kFaceExposureFields)};
// The only image read that starts from a cleared record.
const SettingsGroup<vcam_image_lighting> kImageLighting = {
    imageGroup("image_lighting", "getImageLighting", "setImageLighting", "ImageLightingPaser",
               kLightingLabel, ReadStart::Cleared, kLightingFields)};
const SettingsGroup<vcam_image_adjust> kImageAdjust = {
    imageGroup("image_adjust", "getImageAdjust", "setImageAdjust", "ImageAdjustPaser", kImageLabel,
               ReadStart::AsGiven, kAdjustFields)};
const SettingsGroup<vcam_image_exposure> kImageExposure = {
    imageGroup("image_exposure", "getImageExposure", "setImageExposure", "ImageExposurePaser",
               kImageLabel, ReadStart::AsGiven, kExposureFields)};
const SettingsGroup<vcam_image_focus> kImageFocus = {
    imageGroup("image_focus", "getImageFocus", "setImageFocus", "ImageFocusPaser", kImageLabel,
               ReadStart::AsGiven, kFocusFields)};
const SettingsGroup<vcam_image_dnr> kImageDnr = {
    imageGroup("image_dnr", "getImageDnr", "setImageDnr", "ImageDnrPaser", kImageLabel,
               ReadStart::AsGiven, kDnrFields)};
const SettingsGroup<vcam_image_enhance> kImageEnhance = {
    imageGroup("image_enhance", "getImageEnhance", "setImageEnhance", "ImageEnhancePaser",
               kImageLabel, ReadStart::AsGiven, kEnhanceFields)};
const SettingsGroup<vcam_image_whitebalance> kImageWhitebalance = {
    imageGroup("image_whitebalance", "getImageWhitebalance", "setImageWhitebalance",
               "ImageWhitebalancePaser", kImageLabel, ReadStart::AsGiven, kWhiteBalanceFields)};

}  // namespace camlink
