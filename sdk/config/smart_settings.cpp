// The analysis settings groups with their own reply parser: capture, recognition, linkage,
// people counting and the capability list. The parameters that are arrays of objects (linkage
// entries, counting lines, module names) and the counting schedule have converters of their
// own; everything else is a plain row.
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>

#include "config/own_parser.h"
#include "core/json_text.h"

namespace camlink {

namespace {

// ---- Capture ----

using Capture = vcam_capture_config;
constexpr GroupField kCaptureFields[] = {
    field<Capture, &Capture::snapsizethr>("snapsizethr"),
    field<Capture, &Capture::frontthr>("frontthr"),
    field<Capture, &Capture::beginpostframethr>("beginpostframethr"),
    field<Capture, &Capture::snapscale>("snapscale"),
    field<Capture, &Capture::resnapthr>("resnapthr"),
    field<Capture, &Capture::firstnumavailthr>("firstnumavailthr"),
    field<Capture, &Capture::numaftervanish>("numaftervanish"),
    field<Capture, &Capture::switchregion>("switchregion"),
    field<Capture, &Capture::capture_region>("captregion"),
    field<Capture, &Capture::captbackground>("captbackground"),
    field<Capture, &Capture::track_score_eliminate>("track_score_eliminate"),
    field<Capture, &Capture::snap_mode>("snap_mode"),
    field<Capture, &Capture::sel_face_mode>("sel_face_mode"),
};

// The camera takes these thresholds only from fixed lists.
constexpr int64_t kFrontThresholds[] = {-2000, -1000, 0, 500, 1000, 1200, 1400, 1600, 1700, 1800};
constexpr int64_t kBeginPostFrames[] = {10, 25, 50, 75, 100, 125, 250, 500, 750, 1000};
constexpr int64_t kResnapThresholds[] = {1, 10, 25, 50, 75, 100, 125, 250, 500, 750, 1000};
constexpr int64_t kTrackScores[] = {57, 58, 59, 60, 61, 62, 63, 64, 66, 70};

template <size_t N>
bool oneOf(int64_t value, const int64_t (&allowed)[N]) {
    return std::find(allowed, allowed + N, value) != allowed + N;
}

const char* captureRejected(const void* record) {
    const Capture& c = *static_cast<const Capture*>(record);
    if (!oneOf(c.frontthr, kFrontThresholds)) return "frontthr";
    if (!oneOf(c.beginpostframethr, kBeginPostFrames)) return "beginpostframethr";
    if (!oneOf(c.resnapthr, kResnapThresholds)) return "resnapthr";
    if (!oneOf(c.track_score_eliminate, kTrackScores)) return "track_score_eliminate";
    return nullptr;
}

// ---- Recognition ----

using Recognize = vcam_recognize_config;
constexpr GroupField kRecognizeReads[] = {
    field<Recognize, &Recognize::recog_switch>("recog_switch"),
    field<Recognize, &Recognize::recog_snap>("recog_snap"),
    field<Recognize, &Recognize::send_origin_img>("send_origin_img"),
    field<Recognize, &Recognize::recog_freq>("recog_freq"),
    field<Recognize, &Recognize::similar_thres>("similar_thres"),
};
// The thresholds are the camera's to keep: a write carries the three switches only.
constexpr GroupField kRecognizeWrites[] = {
    field<Recognize, &Recognize::recog_snap>("recog_snap"),
    field<Recognize, &Recognize::send_origin_img>("send_origin_img"),
    field<Recognize, &Recognize::recog_switch>("recog_switch"),
};

// ---- Shared by the array parameters ----

int32_t countOf(const Json::Value& array) {
    return static_cast<int32_t>(std::min<Json::ArrayIndex>(array.size(), INT32_MAX));
}

// How many of `count` entries a write sends: none for a negative count, at most `capacity`.
size_t entriesToSend(int32_t count, size_t capacity) {
    return count <= 0 ? 0 : std::min(static_cast<size_t>(count), capacity);
}

// Fills up to `capacity` records from the objects of the array; other elements stay zero.
template <typename Entry, size_t N>
void readEntries(const Json::Value& array, GroupFieldList fields, Entry (&entries)[N]) {
    const Json::ArrayIndex n = std::min<Json::ArrayIndex>(array.size(), N);
    for (Json::ArrayIndex i = 0; i < n; ++i)
        if (array[i].isObject()) readObject(fields, array[i], &entries[i]);
}

// ---- Linkage ----

using Entry = vcam_linkage_entry;
constexpr GroupField kEntryReads[] = {
    field<Entry, &Entry::repoId>("repoId"),
    field<Entry, &Entry::repoName>("repoName"),
    field<Entry, &Entry::searchOrder>("searchOrder"),
    field<Entry, &Entry::isAlarm>("isAlarm", "alarm"),
    field<Entry, &Entry::duration>("duration", "alarm"),
    field<Entry, &Entry::isRs485>("isRs485", "rs485"),
    field<Entry, &Entry::protocol>("protocol", "rs485"),
    field<Entry, &Entry::consoleId>("consoleId", "rs485"),
    field<Entry, &Entry::exclude>("exclude"),
    field<Entry, &Entry::isNetworkRelay>("isNetworkRelay", "networkRelay"),
    field<Entry, &Entry::ip>("ip", "networkRelay"),
    field<Entry, &Entry::port>("port", "networkRelay"),
    field<Entry, &Entry::delay>("delay", "networkRelay"),
};
// The camera names the library itself and works out exclusions on its own.
constexpr GroupField kEntryWrites[] = {
    field<Entry, &Entry::repoId>("repoId"),
    field<Entry, &Entry::searchOrder>("searchOrder"),
    field<Entry, &Entry::isAlarm>("isAlarm", "alarm"),
    field<Entry, &Entry::duration>("duration", "alarm"),
    field<Entry, &Entry::isRs485>("isRs485", "rs485"),
    field<Entry, &Entry::protocol>("protocol", "rs485"),
    field<Entry, &Entry::consoleId>("consoleId", "rs485"),
    field<Entry, &Entry::isNetworkRelay>("isNetworkRelay", "networkRelay"),
    field<Entry, &Entry::ip>("ip", "networkRelay"),
    field<Entry, &Entry::port>("port", "networkRelay"),
    field<Entry, &Entry::delay>("delay", "networkRelay"),
};

void readLinkage(const Json::Value& value, void* record) {
    if (!value.isArray()) return;
    auto& linkage = *static_cast<vcam_linkage_config*>(record);
    linkage.count = countOf(value);
    readEntries(value, kEntryReads, linkage.entries);
}

Json::Value writeLinkage(const void* record) {
    const auto& linkage = *static_cast<const vcam_linkage_config*>(record);
    Json::Value entries(Json::arrayValue);
    const size_t n = entriesToSend(linkage.count, VCAM_LINKAGE_ENTRIES);
    for (size_t i = 0; i < n; ++i) {
        Json::Value entry = writeObject(kEntryWrites, &linkage.entries[i]);
        entry["repoName"] = "";
        entries.append(entry);
    }
    return entries;
}

constexpr GroupField kLinkageFields[] = {
    customField("repolinkage", ParamType::LinkageConfig, &readLinkage, &writeLinkage),
};

// ---- People counting ----

using Line = vcam_passflow_line;
constexpr GroupField kLineFields[] = {
    field<Line, &Line::id>("id"),
    field<Line, &Line::x1>("x1"),
    field<Line, &Line::y1>("y1"),
    field<Line, &Line::x2>("x2"),
    field<Line, &Line::y2>("y2"),
    field<Line, &Line::type>("type"),
    field<Line, &Line::linetype>("linetype"),
};

void readLines(const Json::Value& value, void* record) {
    if (!value.isArray()) return;
    auto& flow = *static_cast<vcam_passflow_config*>(record);
    flow.line_count = countOf(value);
    readEntries(value, kLineFields, flow.lines);
}

Json::Value writeLines(const void* record) {
    const auto& flow = *static_cast<const vcam_passflow_config*>(record);
    Json::Value lines(Json::arrayValue);
    const size_t n = entriesToSend(flow.line_count, VCAM_PASSFLOW_LINES);
    for (size_t i = 0; i < n; ++i)
        lines.append(writeObject(kLineFields, &flow.lines[i]));
    return lines;
}

// The crontab's clock runs 8 hours behind the day that start and end count in; floored
// division keeps negative and out-of-day values on the same clock both ways.
constexpr int64_t kCrontabOffsetHours = 8;

int64_t floorDiv(int64_t a, int64_t b) {
    return a / b - (a % b < 0 ? 1 : 0);
}
int64_t floorMod(int64_t a, int64_t b) {
    return a - floorDiv(a, b) * b;
}

// The first three space-separated fields of the crontab as integers; false when there are
// fewer or one is not a decimal integer.
bool crontabClock(const std::string& text, int32_t (&clock)[3]) {
    size_t from = 0;
    for (int i = 0; i < 3; ++i) {
        if (from > text.size()) return false;
        size_t to = text.find(' ', from);
        if (to == std::string::npos) {
            if (i < 2) return false;
            to = text.size();
        }
        const char* first = text.data() + from;
        const char* last = text.data() + to;
        const auto parsed = std::from_chars(first, last, clock[i]);
        if (parsed.ec != std::errc() || parsed.ptr != last || first == last) return false;
        from = to + 1;
    }
    return true;
}

bool fitsInt32(int64_t v) {
    return v >= INT32_MIN && v <= INT32_MAX;
}

// start = second + 60 minute + 3600 ((hour + 8) mod 24), end = start + duration; a schedule
// that does not decode or does not fit leaves both as they were.
void decodeSchedule(const Json::Value& parm, void* record) {
    const Json::Value* crontab = paramValue(parm, "crontab");
    int32_t clock[3];
    if (!crontab || !crontab->isString() || !crontabClock(crontab->asString(), clock)) return;
    int64_t duration = 0;
    if (const Json::Value* value = paramValue(parm, "duration")) integerOf(*value, &duration);
    const int64_t start = int64_t{clock[0]} + 60 * int64_t{clock[1]} +
                          3600 * floorMod(int64_t{clock[2]} + kCrontabOffsetHours, 24);
    // |start| stays below 2^39, so a duration within 2^62 cannot overflow the sum.
    constexpr int64_t kDurationLimit = int64_t{1} << 62;
    if (duration > kDurationLimit || duration < -kDurationLimit) return;
    const int64_t end = start + duration;
    if (!fitsInt32(start) || !fitsInt32(end)) return;
    auto& flow = *static_cast<vcam_passflow_config*>(record);
    flow.start = static_cast<int32_t>(start);
    flow.end = static_cast<int32_t>(end);
}

Json::Value writeCrontab(const void* record) {
    const int64_t start = static_cast<const vcam_passflow_config*>(record)->start;
    const int64_t second = floorMod(start, 60);
    const int64_t minute = floorMod(start, 3600) / 60;
    const int64_t hour = floorMod(floorDiv(start, 3600) + 24 - kCrontabOffsetHours, 24);
    return std::to_string(second) + " " + std::to_string(minute) + " " + std::to_string(hour) +
           " ? * *";
}

Json::Value writeDuration(const void* record) {
    const auto& flow = *static_cast<const vcam_passflow_config*>(record);
    return Json::Int64(int64_t{flow.end} - int64_t{flow.start});
}

using Flow = vcam_passflow_config;
constexpr GroupField kFlowReads[] = {
    field<Flow, &Flow::type>("type"),
    customField("lines", ParamType::Line, &readLines, nullptr),
    field<Flow, &Flow::upload_interval>("upload_interval"),
    field<Flow, &Flow::upload_event>("upload_event"),
};
constexpr GroupField kFlowWrites[] = {
    field<Flow, &Flow::type>("type"),
    customField("lines", ParamType::Line, nullptr, &writeLines),
    customField("crontab", ParamType::String, nullptr, &writeCrontab),
    customField("duration", ParamType::Int32, nullptr, &writeDuration),
    field<Flow, &Flow::upload_interval>("upload_interval"),
    field<Flow, &Flow::upload_event>("upload_event"),
};

// ---- Capability list ----

void readModuleList(const Json::Value& value, void* record) {
    if (!value.isArray()) return;
    auto& capability = *static_cast<vcam_smart_capability*>(record);
    capability.count = countOf(value);
    const Json::ArrayIndex n = std::min<Json::ArrayIndex>(value.size(), VCAM_CAPABILITY_MODULES);
    for (Json::ArrayIndex i = 0; i < n; ++i) {
        vcam_capability_entry& entry = capability.entries[i];
        if (value[i].isString()) copyField(entry.name, value[i].asString());
        entry.reserved = 0;
    }
}

constexpr GroupField kCapabilityFields[] = {
    customField("module_list", ParamType::ModuleArray, &readModuleList, nullptr),
};

constexpr char kCaptureLabel[] = "CaptureConfig response: ";
constexpr char kRecogLabel[] = "Get RecogConfig response: ";
constexpr char kLinkageLabel[] = "Get feature response: ";

}  // namespace

const SettingsGroup<vcam_capture_config> kCaptureConfig = {
    GroupRow{"capecfg", "getCaptureConfig", "setCaptureConfig", "CaptureConfigPaser", kCaptureLabel,
             RequestLog::Logged, ReadStart::Cleared, AbsentModule::ReplyCode, kCaptureFields,
             kCaptureFields, nullptr, &captureRejected}};
const SettingsGroup<vcam_recognize_config> kRecognizeConfig = {
    GroupRow{"RecogApp", "getRecogConfig", "setRecogConfig", "RecogConfigPaser", kRecogLabel,
             RequestLog::Silent, ReadStart::AsGiven, AbsentModule::Success, kRecognizeReads,
             kRecognizeWrites, nullptr, nullptr}};
const SettingsGroup<vcam_linkage_config> kLinkageConfig = {
    GroupRow{"recoglinkage", "getLinkageConfig", "setLinkageConfig", "linkageResponsePaser",
             kLinkageLabel, RequestLog::Silent, ReadStart::Cleared, AbsentModule::ReplyCode,
             kLinkageFields, kLinkageFields, nullptr, nullptr}};
const SettingsGroup<vcam_passflow_config> kPassflowConfig = {
    GroupRow{"passflow", "getFlowConfig", "setFlowConfig", "FlowConfigPaser", kRecogLabel,
             RequestLog::Silent, ReadStart::Cleared, AbsentModule::Success, kFlowReads, kFlowWrites,
             &decodeSchedule, nullptr}};
// Read only: no write method.
const SettingsGroup<vcam_smart_capability> kSmartCapability = {
    GroupRow{"capabi", "getSmartCapability", nullptr, "SmartCapabilityPaser", kCaptureLabel,
             RequestLog::Logged, ReadStart::Cleared, AbsentModule::ReplyCode, kCapabilityFields,
             GroupFieldList(), nullptr, nullptr}};

}  // namespace camlink
