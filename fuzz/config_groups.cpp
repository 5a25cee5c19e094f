// The settings groups with their own reply parser, each into its record.
#include <cstring>
#include <memory>
#include <string>

#include "config/own_parser.h"
#include "config_parsers.h"

namespace {

using fuzzconfig::check;

// The record starts zeroed; every text row the parser read must still end inside its field.
template <typename Record>
void parse(const camlink::SettingsGroup<Record>& group, const std::string& reply) {
    auto record = std::make_unique<Record>();
    const int result = camlink::parseGroupReply(group.row, reply, record.get());
    check(result >= 0 || result == camlink::kGroupReplyNotJson, "group result");
    for (const camlink::GroupField& field : group.row.reads) {
        if (field.kind != camlink::GroupFieldKind::Text) continue;
        const char* text = static_cast<const char*>(field.locate(record.get()));
        check(strnlen(text, field.size) < field.size, "text unterminated");
    }
}

template <const auto& Group>
void parseGroup(const std::string& reply, uint8_t) {
    parse(Group, reply);
}

const fuzzconfig::Parser kParsers[] = {
    &parseGroup<camlink::kFaceExposure>,    &parseGroup<camlink::kImageLighting>,
    &parseGroup<camlink::kImageAdjust>,     &parseGroup<camlink::kImageExposure>,
    &parseGroup<camlink::kImageFocus>,      &parseGroup<camlink::kImageDnr>,
    &parseGroup<camlink::kImageEnhance>,    &parseGroup<camlink::kImageWhitebalance>,
    &parseGroup<camlink::kCaptureConfig>,   &parseGroup<camlink::kRecognizeConfig>,
    &parseGroup<camlink::kLinkageConfig>,   &parseGroup<camlink::kPassflowConfig>,
    &parseGroup<camlink::kSmartCapability>,
};

}  // namespace

fuzzconfig::ParserList fuzzconfig::groupParsers() {
    return {kParsers, sizeof kParsers / sizeof kParsers[0]};
}
