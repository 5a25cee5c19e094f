// Whole records out of and into a library, in the camera's two generations.
#pragma once

#include "camlink.h"
#include "core/client.h"

namespace camlink {

int exportRecordV2(LumenControl::LumenControlClient& client, vcam_image_query& query);
int importRecordV2(LumenControl::LumenControlClient& client, vcam_record_v2& record);
int exportRecordV1(LumenControl::LumenControlClient& client, vcam_image_query& query);
int importRecordV1(LumenControl::LumenControlClient& client, vcam_image_record& record);

// Pictures read whole into memory for an import are bounded by this size.
constexpr long kMaxImportPictureBytes = 16L * 1024 * 1024;

}  // namespace camlink
