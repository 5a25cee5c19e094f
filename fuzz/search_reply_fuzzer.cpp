// LAN search replies of both generations, handed to the receiver's handlers as the receive loop
// does: a zeroed buffer of kDatagramSize bytes holding the received ones. The two generations'
// magic numbers differ, so every input goes to both handlers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/search.h"

namespace {

using camlink::SearchState;

// Made once: its areas are 36 MB.
SearchState& state() {
    static SearchState* const made = new SearchState;
    return *made;
}

template <typename Area>
void clear(Area& area) {
    std::memset(area.records, 0, sizeof area.records[0] * static_cast<size_t>(area.count));
    area.count = 0;
}

void check(bool condition) {
    if (!condition) std::abort();
}

template <size_t N>
bool terminated(const char (&text)[N]) {
    return strnlen(text, N) < N;
}

void checkFirst(const vcam_search_record& r) {
    check(r.LocalIp[0] != '\0');  // a reply without an address is no camera
    for (const char* text :
         {r.VERSION,    r.TYPE,     r.CODE,    r.SerialNo,  r.DeviceType,  r.Sensor,
          r.User,       r.Password, r.Version, r.Date,      r.OldPrograms, r.MacAddress,
          r.LocalIp,    r.NetMask,  r.GateWay, r.Dns1,      r.Dns2,        r.Attribute,
          r.Attribute2, r.IpcType,  r.SubType, r.swVersion, r.HwVersion}) {
        check(strnlen(text, sizeof r.SerialNo) < sizeof r.SerialNo);
    }
}

void checkSecond(const vcam_search_record_v2& r) {
    check(terminated(r.device_key) && terminated(r.device_name) && terminated(r.build_date) &&
          terminated(r.build_number) && terminated(r.hardware_version) &&
          terminated(r.firmware_version) && terminated(r.device_type) && terminated(r.ip_address) &&
          terminated(r.netmask) && terminated(r.gateway) && terminated(r.mac_address) &&
          terminated(r.dns));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SearchState& s = state();
    clear(*s.firstArea);
    clear(*s.secondArea);
    s.firstIndex.clear();
    s.secondIndex.clear();

    // A longer datagram is cut by the receive call.
    const size_t received = size < camlink::kDatagramSize ? size : camlink::kDatagramSize;
    std::vector<uint8_t> buffer(camlink::kDatagramSize, 0);
    if (received > 0) std::memcpy(buffer.data(), data, received);

    // The same reply twice: the second is a duplicate and must not add a record.
    for (int copy = 0; copy < 2; ++copy) {
        camlink::handleFirstGenerationReply(s, buffer.data(), received);
        camlink::handleSecondGenerationReply(s, buffer.data(), received);
        check(s.firstArea->count <= 1 && s.secondArea->count <= 1);
        check(s.firstIndex.size() == static_cast<size_t>(s.firstArea->count));
        check(s.secondIndex.size() == static_cast<size_t>(s.secondArea->count));
    }
    if (s.firstArea->count == 1) checkFirst(s.firstArea->records[0]);
    if (s.secondArea->count == 1) checkSecond(s.secondArea->records[0]);
    return 0;
}
