// First-generation search: an XML request broadcast to UDP 10000 from every adapter, XML replies
// heard on UDP 10000.
#include <mxml.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/call_support.h"
#include "core/log.h"
#include "core/search.h"

namespace camlink {

namespace {

constexpr uint16_t kListenPort = 10000;
constexpr uint16_t kSendPort = 10001;
constexpr uint32_t kAnyAddress = 0;
constexpr uint32_t kLimitedBroadcast = 0xFFFFFFFFu;

constexpr uint8_t kMagic[4] = {0x00, 0x00, 0x01, 0xCA};
constexpr size_t kHeaderSize = 8;
constexpr char kRequestText[] =
    "<MESSAGE VERSION=\"1\">\n\t<HEADER TYPE=\"4117\" />\n\t<DeviceID />\n</MESSAGE>\n";
constexpr size_t kRequestTextSize = sizeof kRequestText - 1;  // the NUL is not sent
static_assert(kRequestTextSize == 71, "request text length");

using Request = std::array<uint8_t, kHeaderSize + kRequestTextSize>;

Request request() {
    Request datagram{};
    std::memcpy(datagram.data(), kMagic, sizeof kMagic);
    for (size_t i = 0; i < 4; ++i) {  // text length, little-endian
        datagram[4 + i] = static_cast<uint8_t>(kRequestTextSize >> (8 * i));
    }
    std::memcpy(datagram.data() + kHeaderSize, kRequestText, kRequestTextSize);
    return datagram;
}

// Where the search for a field's element starts. Network fields are read only when the reply
// has an Eth0 element; the MAC address is searched from Eth0 on, the others from PARAMETERS on.
enum class Origin { Root, Parameters, Network, Eth0 };
enum class Kind { Text, Port };

struct XmlField {
    size_t offset;  // in vcam_search_record
    Kind kind;
    Origin origin;
    const char* element;    // null: the root element itself
    const char* attribute;  // null: the element's text
};

#define CAMLINK_FIELD(field) offsetof(vcam_search_record, field)
constexpr XmlField kFields[] = {
    {CAMLINK_FIELD(VERSION), Kind::Text, Origin::Root, nullptr, "VERSION"},
    {CAMLINK_FIELD(TYPE), Kind::Text, Origin::Root, "HEADER", "TYPE"},
    {CAMLINK_FIELD(CODE), Kind::Text, Origin::Root, "Result", "CODE"},
    {CAMLINK_FIELD(SerialNo), Kind::Text, Origin::Parameters, "SerialNo", nullptr},
    {CAMLINK_FIELD(DeviceType), Kind::Text, Origin::Parameters, "DeviceType", nullptr},
    {CAMLINK_FIELD(Sensor), Kind::Text, Origin::Parameters, "Sensor", nullptr},
    {CAMLINK_FIELD(User), Kind::Text, Origin::Parameters, "User", nullptr},
    {CAMLINK_FIELD(Password), Kind::Text, Origin::Parameters, "Password", nullptr},
    {CAMLINK_FIELD(Version), Kind::Text, Origin::Parameters, "Version", "Version"},
    {CAMLINK_FIELD(Date), Kind::Text, Origin::Parameters, "Version", "Date"},
    {CAMLINK_FIELD(OldPrograms), Kind::Text, Origin::Parameters, "Programs", "OldPrograms"},
    {CAMLINK_FIELD(MacAddress), Kind::Text, Origin::Eth0, "MacAddress", nullptr},
    {CAMLINK_FIELD(LocalIp), Kind::Text, Origin::Network, "LocalIp", nullptr},
    {CAMLINK_FIELD(NetMask), Kind::Text, Origin::Network, "NetMask", nullptr},
    {CAMLINK_FIELD(GateWay), Kind::Text, Origin::Network, "GateWay", nullptr},
    {CAMLINK_FIELD(Dns1), Kind::Text, Origin::Network, "Dns1", nullptr},
    {CAMLINK_FIELD(Dns2), Kind::Text, Origin::Network, "Dns2", nullptr},
    {CAMLINK_FIELD(Attribute), Kind::Text, Origin::Parameters, "ServiceAbility", "Attribute"},
    {CAMLINK_FIELD(Attribute2), Kind::Text, Origin::Parameters, "ServiceAbility", "Attribute2"},
    {CAMLINK_FIELD(PrivatePort), Kind::Port, Origin::Parameters, "PrivatePort", nullptr},
    {CAMLINK_FIELD(HttpPort), Kind::Port, Origin::Parameters, "HttpPort", nullptr},
    {CAMLINK_FIELD(RtspPort), Kind::Port, Origin::Parameters, "RtspPort", nullptr},
    {CAMLINK_FIELD(OnvifPort), Kind::Port, Origin::Parameters, "OnvifPort", nullptr},
    {CAMLINK_FIELD(OnvifHttpPort), Kind::Port, Origin::Parameters, "OnvifHttpPort", nullptr},
    {CAMLINK_FIELD(IpcType), Kind::Text, Origin::Parameters, "IpcType", nullptr},
    {CAMLINK_FIELD(SubType), Kind::Text, Origin::Parameters, "SubType", nullptr},
    {CAMLINK_FIELD(swVersion), Kind::Text, Origin::Parameters, "OvfsVersion", "swVersion"},
    {CAMLINK_FIELD(HwVersion), Kind::Text, Origin::Parameters, "OvfsVersion", "HwVersion"},
};
#undef CAMLINK_FIELD

constexpr size_t kTextWidth = sizeof(vcam_search_record::SerialNo);

struct XmlDelete {
    void operator()(mxml_node_t* node) const { mxmlDelete(node); }
};
using XmlTree = std::unique_ptr<mxml_node_t, XmlDelete>;

// Hostile replies are common on a LAN; the parser's complaints would only flood the console.
void quietParser(const char*) {}

// The document node's name holds a blank, which no closing tag can: a reply that could close
// our node would leave what follows without a parent, leaked by the parser.
constexpr char kDocumentName[] = "camlink reply";

// The reply's text as a document under a node of our own, which owns everything parsed (even
// several top-level elements); null when it is no XML.
XmlTree parse(const uint8_t* datagram, size_t size) {
    const std::string text(reinterpret_cast<const char*>(datagram) + kHeaderSize,
                           size - kHeaderSize);
    // Bytes 0xFE and 0xFF occur in no UTF-8 text. The parser takes them, wherever they stand,
    // for a UTF-16 byte order mark and then reads two bytes at a time, past the text's end.
    if (text.find_first_of("\xFE\xFF") != std::string::npos) return nullptr;
    mxmlSetErrorCallback(quietParser);
    XmlTree document(mxmlNewElement(MXML_NO_PARENT, kDocumentName));
    if (!document || !mxmlLoadString(document.get(), text.c_str(), MXML_OPAQUE_CALLBACK)) {
        return nullptr;
    }
    return document;
}

// The first real element: neither the declaration nor a comment.
mxml_node_t* rootElement(mxml_node_t* document) {
    for (mxml_node_t* node =
             mxmlFindElement(document, document, nullptr, nullptr, nullptr, MXML_DESCEND);
         node; node = mxmlFindElement(node, document, nullptr, nullptr, nullptr, MXML_DESCEND)) {
        const char* name = mxmlGetElement(node);
        if (name && name[0] != '?' && name[0] != '!') return node;
    }
    return nullptr;
}

mxml_node_t* findFrom(mxml_node_t* start, mxml_node_t* document, const char* name) {
    return start ? mxmlFindElement(start, document, name, nullptr, nullptr, MXML_DESCEND) : nullptr;
}

void store(vcam_search_record& record, const XmlField& field, const char* value) {
    char* target = reinterpret_cast<char*>(&record) + field.offset;
    if (field.kind == Kind::Text) {
        std::memcpy(target, value, strnlen(value, kTextWidth - 1));
        return;
    }
    char* end = nullptr;
    const long number = std::strtol(value, &end, 10);
    const uint16_t port = end == value ? 0 : static_cast<uint16_t>(number);
    std::memcpy(target, &port, sizeof port);
}

// The record by the field table; false when the reply has no PARAMETERS.
bool readRecord(mxml_node_t* document, vcam_search_record& record) {
    mxml_node_t* root = rootElement(document);
    mxml_node_t* parameters = findFrom(root, document, "PARAMETERS");
    if (!parameters) return false;
    mxml_node_t* eth0 = findFrom(parameters, document, "Eth0");
    for (const XmlField& field : kFields) {
        mxml_node_t* start = field.origin == Origin::Root         ? root
                             : field.origin == Origin::Parameters ? parameters
                             : field.origin == Origin::Network    ? (eth0 ? parameters : nullptr)
                                                                  : eth0;
        mxml_node_t* node = field.element ? findFrom(start, document, field.element) : start;
        if (!node) continue;
        const char* value =
            field.attribute ? mxmlElementGetAttr(node, field.attribute) : mxmlGetOpaque(node);
        if (value) store(record, field, value);
    }
    return true;
}

void accept(SearchState& state, const vcam_search_record& record) {
    vcam_search_area& area = *state.firstArea;
    if (area.count >= MAX_DEVICE_NUMBER) return;  // the rest are dropped
    const std::string key(record.SerialNo, strnlen(record.SerialNo, kTextWidth));
    if (!state.firstIndex.emplace(key, record).second) return;
    area.records[area.count++] = record;
}

}  // namespace

void handleFirstGenerationReply(SearchState& state, const uint8_t* datagram, size_t size) {
    if (size <= kHeaderSize || datagram[2] != kMagic[2] || datagram[3] != kMagic[3]) return;
    XmlTree document = parse(datagram, size);
    if (!document) return;
    vcam_search_record record{};
    if (!readRecord(document.get(), record) || record.LocalIp[0] == '\0') return;
    accept(state, record);
}

void searchFirstGeneration(SearchState& state, const std::vector<platform::Adapter>& adapters) {
    platform::UdpSocket receiver;
    if (!receiver.valid()) return;
    if (!receiver.bind(kAnyAddress, kListenPort)) {
        CAMLINK_LOG(kLogWarning, methodTag("searchDevice")) << "cannot listen on UDP 10000";
    }
    const Request datagram = request();
    runSearch(state, receiver, handleFirstGenerationReply, [&] {
        for (const platform::Adapter& adapter : adapters) {
            platform::UdpSocket sender;
            if (!sender.valid()) continue;
            sender.bind(adapter.address, kSendPort);
            sender.sendTo(kLimitedBroadcast, kListenPort, datagram.data(), datagram.size());
        }
    });
}

}  // namespace camlink
