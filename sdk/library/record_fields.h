// The person fields that image records and whole records share: uid, libid, name and the five
// attribute texts, checked and written the same way wherever they travel.
#pragma once

#include <json/json.h>

#include "core/json_text.h"

namespace camlink {

// Each has a NUL within its width, checked in record order: uid, libid, name, ext1 .. ext5.
template <typename Record>
bool personFieldsTerminated(const Record& r) {
    return terminated(r.uid) && terminated(r.libid) && terminated(r.name) && terminated(r.ext1) &&
           terminated(r.ext2) && terminated(r.ext3) && terminated(r.ext4) && terminated(r.ext5);
}

// "imgid", "uid", "libid", "name", "ext1" .. "ext5" into a body.
template <typename Record>
void putPersonFields(Json::Value& body, const Record& r) {
    body["imgid"] = static_cast<Json::Int64>(r.imgid);
    body["uid"] = fieldText(r.uid);
    body["libid"] = fieldText(r.libid);
    body["name"] = fieldText(r.name);
    body["ext1"] = fieldText(r.ext1);
    body["ext2"] = fieldText(r.ext2);
    body["ext3"] = fieldText(r.ext3);
    body["ext4"] = fieldText(r.ext4);
    body["ext5"] = fieldText(r.ext5);
}

}  // namespace camlink
