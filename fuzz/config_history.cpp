// The history queries' replies into their paged records, and the flow statistics.
#include <algorithm>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>

#include "config/history_calls.h"
#include "config_parsers.h"

namespace {

using fuzzconfig::check;

void checkTexts(const camlink::FieldTable& table, const void* slot) {
    for (size_t i = 0; i < table.count; ++i) {
        const camlink::FieldRow& row = table.rows[i];
        if (row.kind != camlink::ReplyFieldKind::Text) continue;
        const char* text = static_cast<const char*>(slot) + row.offset;
        check(strnlen(text, row.width) < row.width, "text unterminated");
    }
}

// The caller's page size comes from the input, negative and above the slots included.
template <typename Record>
void paged(const camlink::PagedQuery<Record>& query, const std::string& reply, uint8_t option) {
    auto record = std::make_unique<Record>();
    record->page_size = static_cast<int32_t>(option) - 16;
    const int result = camlink::readPagedReply(query, 200, reply, *record);
    if (result != VCAM_OK) return;
    check((*record).*query.count >= 0, "negative count");
    for (const auto& slot : record->entries)
        checkTexts(query.fields, &slot);
}

template <const auto& Query>
void pagedQuery(const std::string& reply, uint8_t option) {
    paged(Query, reply, option);
}

void flowStatistics(const std::string& reply, uint8_t) {
    auto record = std::make_unique<vcam_flow_statistics>();
    camlink::readFlowStatisticsReply(200, reply, *record);
}

const fuzzconfig::Parser kParsers[] = {
    &pagedQuery<camlink::kFlowHistory>,
    &pagedQuery<camlink::kRecognizeHistory>,
    &pagedQuery<camlink::kSnapHistory>,
    &flowStatistics,
};

}  // namespace

fuzzconfig::ParserList fuzzconfig::historyParsers() {
    return {kParsers, sizeof kParsers / sizeof kParsers[0]};
}
