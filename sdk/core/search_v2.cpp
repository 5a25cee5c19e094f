// Second-generation search: a fixed binary request on UDP 6789, binary replies whose fields
// lie at fixed offsets.
#include <array>
#include <cstddef>
#include <cstring>
#include <string>

#include "core/call_support.h"
#include "core/log.h"
#include "core/search.h"

namespace camlink {

namespace {

constexpr uint16_t kPort = 6789;
constexpr uint32_t kAnyAddress = 0;
constexpr uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

constexpr char kMagic[] = "searching..";  // compared and sent with its NUL: 12 bytes
constexpr size_t kKindOffset = 12;
constexpr uint8_t kRequestKind = 10;
constexpr uint8_t kReplyKind = 11;
constexpr size_t kRequestSize = 114;
constexpr size_t kKeyOffset = 448;

using Request = std::array<uint8_t, kRequestSize>;

Request request() {
    Request datagram{};
    std::memcpy(datagram.data(), kMagic, sizeof kMagic);
    datagram[kKindOffset] = kRequestKind;
    // Placeholder texts of the protocol, NUL-padded to 16 bytes each.
    std::memcpy(datagram.data() + 16, "Fuck_Ip", 7);
    std::memcpy(datagram.data() + 32, "Fuck_Mac", 8);
    return datagram;
}

struct Copy {
    size_t record;  // offset in vcam_search_record_v2
    size_t reply;   // offset in the reply
};

#define CAMLINK_FIELD(field) offsetof(vcam_search_record_v2, field)
constexpr Copy kTexts[] = {
    {CAMLINK_FIELD(device_key), kKeyOffset},
    {CAMLINK_FIELD(device_name), 304},
    {CAMLINK_FIELD(build_date), 480},
    {CAMLINK_FIELD(build_number), 496},
    {CAMLINK_FIELD(hardware_version), 384},
    {CAMLINK_FIELD(firmware_version), 320},
    {CAMLINK_FIELD(device_type), 104},
    {CAMLINK_FIELD(ip_address), 24},
    {CAMLINK_FIELD(netmask), 40},
    {CAMLINK_FIELD(gateway), 56},
    {CAMLINK_FIELD(mac_address), 72},
    {CAMLINK_FIELD(dns), 88},
};
// Copied as they stand: the byte order is the camera's.
constexpr Copy kValues[] = {{CAMLINK_FIELD(http_port), 240}, {CAMLINK_FIELD(private_port), 244}};
#undef CAMLINK_FIELD
constexpr size_t kValueSize = sizeof(vcam_search_record_v2::http_port);
constexpr size_t kTextMax = sizeof(vcam_search_record_v2::device_key) - 1;

constexpr bool copiesInsideBuffer() {
    for (const Copy& text : kTexts) {
        if (text.reply + kTextMax > kDatagramSize) return false;
    }
    for (const Copy& value : kValues) {
        if (value.reply + kValueSize > kDatagramSize) return false;
    }
    return kKeyOffset < kKeptReplySize;
}
static_assert(copiesInsideBuffer(), "a reply field lies beyond the receive buffer");

// The record is zero on entry; a text without NUL gives its first 63 bytes.
void fill(vcam_search_record_v2& record, const uint8_t* datagram) {
    auto* out = reinterpret_cast<char*>(&record);
    for (const Copy& text : kTexts) {
        const auto* source = reinterpret_cast<const char*>(datagram + text.reply);
        std::memcpy(out + text.record, source, strnlen(source, kTextMax));
    }
    for (const Copy& value : kValues) {
        std::memcpy(out + value.record, datagram + value.reply, kValueSize);
    }
}

}  // namespace

// Replies only: the program's own request, heard on the same port, carries kind 10.
void handleSecondGenerationReply(SearchState& state, const uint8_t* datagram, size_t) {
    if (std::memcmp(datagram, kMagic, sizeof kMagic) != 0 || datagram[kKindOffset] != kReplyKind) {
        return;
    }
    vcam_search_area_v2& area = *state.secondArea;
    if (area.count >= MAX_DEVICE_NUMBER) return;  // the rest are dropped
    KeptReply kept;
    std::memcpy(kept.bytes, datagram, kKeptReplySize);
    const auto* key = reinterpret_cast<const char*>(kept.bytes + kKeyOffset);
    std::string keyText(key, strnlen(key, kKeptReplySize - kKeyOffset));
    if (!state.secondIndex.emplace(std::move(keyText), kept).second) return;
    // Records past the count are still zero.
    fill(area.records[area.count], datagram);
    ++area.count;
}

void searchSecondGeneration(SearchState& state, const std::vector<platform::Adapter>& adapters) {
    platform::UdpSocket socket;  // sends and listens
    if (!socket.valid()) return;
    if (!socket.bind(kAnyAddress, kPort)) {
        CAMLINK_LOG(kLogWarning, methodTag("searchDeviceV2")) << "cannot listen on UDP 6789";
    }
    const Request datagram = request();
    runSearch(state, socket, handleSecondGenerationReply, [&] {
        socket.sendTo(kLimitedBroadcast, kPort, datagram.data(), datagram.size());
        for (const platform::Adapter& adapter : adapters) {
            const uint32_t directed = adapter.address | ~adapter.mask;
            socket.sendTo(directed, kPort, datagram.data(), datagram.size());
        }
    });
}

}  // namespace camlink
