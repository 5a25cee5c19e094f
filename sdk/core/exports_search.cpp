// The exports of the LAN search: no session needed, a pointer into session 0's areas back.
#include "camlink.h"
#include "core/search.h"

extern "C" {

CAMLINK_API const vcam_search_area* vcam_scan(int search_time_ms) {
    return camlink::scanFirstGeneration(search_time_ms);
}

CAMLINK_API const vcam_search_area_v2* vcam_scan_v2(int search_time_ms) {
    return camlink::scanSecondGeneration(search_time_ms);
}

}  // extern "C"
