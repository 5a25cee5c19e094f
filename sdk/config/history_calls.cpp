#include "config/history_calls.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <iterator>
#include <string>

#include "core/call_support.h"
#include "core/json_text.h"
#include "core/log.h"

namespace camlink {

namespace {

using Client = LumenControl::LumenControlClient;

constexpr FieldRow kFlowFields[] = {
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", MatchedImgUrl),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", MatchedName),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", MatchedRate),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Exclude),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", DatabaseId),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Ext1),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Ext2),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Ext3),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Ext4),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "Feature", Ext5),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", TimeStamp),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", LineId),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", Type),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", PersonId),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", CropImgUrl),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", Gender),
    CAMLINK_REPLY_FIELD(vcam_flow_entry, "FlowEvent", Age),
};

constexpr FieldRow kRecognizeFields[] = {
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", TimeStamp),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", SysTime),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", CropImgUrl),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", MatchedImgUrl),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", FeatureInfo),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", MatchedId),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", MatchedRate),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", DatabaseId),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", TrackId),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", MatchedName),
    CAMLINK_REPLY_FIELD(vcam_recognize_entry, "Feature", Ext1),
};

constexpr FieldRow kSnapFields[] = {
    CAMLINK_REPLY_FIELD(vcam_snap_entry, "SnapShot", SysTime),
    CAMLINK_REPLY_FIELD(vcam_snap_entry, "SnapShot", CropImgUrl),
    CAMLINK_REPLY_FIELD(vcam_snap_entry, "SnapShot", Age),
    genderText(CAMLINK_REPLY_FIELD(vcam_snap_entry, "SnapShot", Gender)),
};

constexpr FieldRow kLineFields[] = {
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, LineType),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, InNumber),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, OutNumber),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, InFemaleNum),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, OutFemaleNum),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, InMaleNum),
    CAMLINK_REPLY_FIELD(vcam_flow_line_stat, nullptr, OutMaleNum),
};

constexpr FieldRow kIntervalField[] = {
    CAMLINK_REPLY_FIELD(vcam_flow_statistics, nullptr, Interval),
};

constexpr FieldRow kBucketFields[] = {
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Sex),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, FlowType),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_0_6),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_7_12),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_13_18),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_19_28),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_29_35),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_36_45),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_46_55),
    CAMLINK_REPLY_FIELD(vcam_flow_bucket, nullptr, Num_gt_55),
};

Json::Value rangeBody(uint64_t start, uint64_t end) {
    Json::Value body(Json::objectValue);
    body["start_time"] = static_cast<Json::UInt64>(start);
    body["end_time"] = static_cast<Json::UInt64>(end);
    return body;
}

// The reply's root when the exchange succeeded with "code" 0; otherwise the call's result.
int acceptedReply(int status, const std::string& response, const char* method, Json::Value& root) {
    if (status != 200) {
        logRequestFailed(method, status);
        return status;
    }
    std::optional<Json::Value> parsed = parseJson(response);
    if (!parsed) return status;  // a body that is not JSON: the camera did answer 200
    const Json::Value& code = memberOf(*parsed, "code");
    if (!code.isInt()) return VCAM_ERR_REPLY;
    if (code.asInt() != 0) return code.asInt();
    root = std::move(*parsed);
    return VCAM_OK;
}

// A count as an int, saturated: the camera counts events in 64 bits. 0 when absent.
int32_t saturatedInt(const Json::Value& value) {
    if (value.isInt64())
        return static_cast<int32_t>(std::clamp<Json::Int64>(value.asInt64(), INT32_MIN, INT32_MAX));
    if (value.isUInt64()) return INT32_MAX;
    return 0;
}

// The elements of an array member, or none.
const Json::Value& arrayOf(const Json::Value& object, const char* key) {
    static const Json::Value kNone(Json::arrayValue);
    const Json::Value& v = memberOf(object, key);
    return v.isArray() ? v : kNone;
}

size_t lesser(size_t a, Json::ArrayIndex b) {
    return std::min(a, static_cast<size_t>(b));
}

}  // namespace

// clang-format off
const PagedQuery<vcam_flow_history> kFlowHistory = {
    "getFlowHistory", "/api/v1/passflow/log", fieldTable(kFlowFields),
    &vcam_flow_history::page_size, SlotFill::ClearAll, false};
const PagedQuery<vcam_recognize_history> kRecognizeHistory = {
    "RecogHistoryPaser", "/api/v1/recognize/log", fieldTable(kRecognizeFields),
    &vcam_recognize_history::entry_count, SlotFill::UpToPageSize, true};
const PagedQuery<vcam_snap_history> kSnapHistory = {
    "getSnapHistory", "/api/v1/snap/log", fieldTable(kSnapFields),
    &vcam_snap_history::page_size, SlotFill::ClearAll, false};
// clang-format on

template <typename Record>
int runPagedQuery(Client& client, const PagedQuery<Record>& query, Record& record) {
    Json::Value body = rangeBody(record.start_time, record.end_time);
    body["page_num"] = record.page_num;
    body["page_size"] = record.page_size;
    std::string response;
    const int status = client.httpPost(query.path, compactJson(body), response);
    if (query.logReply) {
        CAMLINK_LOG(kLogInfo, methodTag(query.method)) << "Get feature response: " << response;
    }
    return readPagedReply(query, status, response, record);
}

template <typename Record>
int readPagedReply(const PagedQuery<Record>& query, int status, const std::string& response,
                   Record& record) {
    Json::Value root;
    if (int result = acceptedReply(status, response, query.method, root); result != VCAM_OK)
        return result;

    const Json::Value& data = memberOf(root, "data");
    const Json::Value& elements = arrayOf(data, "smartdata");
    size_t slots = std::size(record.entries);
    if (query.fill == SlotFill::ClearAll)
        std::memset(record.entries, 0, sizeof record.entries);
    else
        slots = std::min(slots, static_cast<size_t>(std::max(record.page_size, 0)));
    record.total = saturatedInt(memberOf(memberOf(data, "pagination"), "total"));
    record.*query.count =
        static_cast<int32_t>(std::min<Json::ArrayIndex>(elements.size(), INT32_MAX));
    for (Json::ArrayIndex i = 0; i < lesser(slots, elements.size()); ++i) {
        if (query.fill == SlotFill::UpToPageSize)
            std::memset(&record.entries[i], 0, sizeof record.entries[i]);
        fillFields(elements[i], query.fields, &record.entries[i]);
    }
    return VCAM_OK;
}

template int runPagedQuery(Client&, const PagedQuery<vcam_flow_history>&, vcam_flow_history&);
template int runPagedQuery(Client&, const PagedQuery<vcam_recognize_history>&,
                           vcam_recognize_history&);
template int runPagedQuery(Client&, const PagedQuery<vcam_snap_history>&, vcam_snap_history&);
template int readPagedReply(const PagedQuery<vcam_flow_history>&, int, const std::string&,
                            vcam_flow_history&);
template int readPagedReply(const PagedQuery<vcam_recognize_history>&, int, const std::string&,
                            vcam_recognize_history&);
template int readPagedReply(const PagedQuery<vcam_snap_history>&, int, const std::string&,
                            vcam_snap_history&);

int getFlowStatistics(Client& client, vcam_flow_statistics& record) {
    std::string response;
    const int status =
        client.httpPost("/api/v1/passflowstats/log",
                        compactJson(rangeBody(record.start_time, record.end_time)), response);
    return readFlowStatisticsReply(status, response, record);
}

int readFlowStatisticsReply(int status, const std::string& response, vcam_flow_statistics& record) {
    static const char kMethod[] = "getFlowStatistics";
    Json::Value root;
    if (int result = acceptedReply(status, response, kMethod, root); result != VCAM_OK)
        return result;

    const Json::Value& data = memberOf(root, "data");
    std::memset(record.lines, 0, sizeof record.lines);
    record.Interval = 0;
    fillFields(data, fieldTable(kIntervalField), &record);
    const Json::Value& lines = arrayOf(data, "smartdata");
    for (Json::ArrayIndex i = 0; i < lesser(std::size(record.lines), lines.size()); ++i) {
        vcam_flow_line_stat& line = record.lines[i];
        fillFields(lines[i], fieldTable(kLineFields), &line);
        const Json::Value& buckets = arrayOf(lines[i], "Bucket");
        for (Json::ArrayIndex j = 0; j < lesser(std::size(line.buckets), buckets.size()); ++j)
            fillFields(buckets[j], fieldTable(kBucketFields), &line.buckets[j]);
    }
    return VCAM_OK;
}

}  // namespace camlink
