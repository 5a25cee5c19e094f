#include "state/history.h"

#include <algorithm>

namespace camsim {

namespace {

constexpr uint64_t kFlowPeriod = 300;
constexpr uint64_t kRecognitionPeriod = 600;
constexpr uint64_t kSnapshotPeriod = 120;
constexpr uint64_t kLogPeriod = 3600;
constexpr int kMaxLogEntries = 200;

// Stable pseudo-random value per event, so a page reads the same every time.
uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

const char* const kNames[] = {"Alice", "Bob", "Chen", "Dana", "Emre", "Fatima", "Goran", "Hana"};

}  // namespace

uint64_t History::eventsIn(uint64_t start, uint64_t end, uint64_t period) {
    if (end < start) return 0;
    uint64_t first = (start + period - 1) / period;
    uint64_t last = end / period;
    return last >= first ? last - first + 1 : 0;
}

template <typename MakeEntry>
Json::Value History::page(const HistoryQuery& q, uint64_t period, MakeEntry make) const {
    const uint64_t total = eventsIn(q.start, q.end, period);
    const uint64_t firstIndex = (q.start + period - 1) / period;
    Json::Value data(Json::objectValue);
    data["pagination"]["page_num"] = q.pageNum;
    data["pagination"]["page_size"] = q.pageSize;
    data["pagination"]["total"] = static_cast<Json::UInt64>(total);
    data["smartdata"] = Json::Value(Json::arrayValue);
    const uint64_t skip = static_cast<uint64_t>(q.pageNum - 1) * static_cast<uint64_t>(q.pageSize);
    for (uint64_t i = skip; i < total && i < skip + static_cast<uint64_t>(q.pageSize); ++i) {
        uint64_t index = firstIndex + i;
        data["smartdata"].append(make(index * period, mix(index)));
    }
    return data;
}

Json::Value History::flowEvents(const HistoryQuery& q) const {
    return page(q, kFlowPeriod, [this](uint64_t time, uint64_t r) {
        Json::Value e(Json::objectValue);
        Json::Value& f = e["Feature"];
        bool matched = r % 3 == 0;
        f["MatchedImgUrl"] =
            matched ? urlPrefix_ + "/images/" + std::to_string(1001 + r % 50) + ".jpg" : "";
        f["MatchedName"] = matched ? kNames[r % 8] : "";
        f["MatchedRate"] = matched ? 0.80 + static_cast<double>(r % 19) / 100.0 : 0.0;
        f["Exclude"] = false;
        f["DatabaseId"] = matched ? "1" : "";
        for (int i = 1; i <= 5; ++i)
            f["Ext" + std::to_string(i)] = "";
        Json::Value& ev = e["FlowEvent"];
        ev["TimeStamp"] = static_cast<Json::UInt64>(time);
        ev["LineId"] = 1;
        ev["Type"] = static_cast<int>(r % 2);
        ev["PersonId"] = static_cast<Json::UInt>(r % 100000);
        ev["CropImgUrl"] = urlPrefix_ + "/snap/" + std::to_string(time) + ".jpg";
        ev["Gender"] = static_cast<int>(r % 3);
        ev["Age"] = static_cast<Json::UInt>(5 + r % 70);
        return e;
    });
}

Json::Value History::recognitions(const HistoryQuery& q) const {
    return page(q, kRecognitionPeriod, [this](uint64_t time, uint64_t r) {
        Json::Value e(Json::objectValue);
        Json::Value& f = e["Feature"];
        f["TimeStamp"] = static_cast<Json::Int64>(time);
        f["SysTime"] = static_cast<Json::Int64>(time);
        f["CropImgUrl"] = urlPrefix_ + "/snap/" + std::to_string(time) + ".jpg";
        f["MatchedImgUrl"] = urlPrefix_ + "/images/" + std::to_string(1001 + r % 50) + ".jpg";
        f["FeatureInfo"] = "quality=" + std::to_string(60 + r % 40);
        f["MatchedId"] = std::to_string(1001 + r % 50);
        f["MatchedRate"] = 0.80 + static_cast<double>(r % 19) / 100.0;
        f["DatabaseId"] = "1";
        f["TrackId"] = static_cast<int>(r % 10000);
        f["MatchedName"] = kNames[r % 8];
        f["Ext1"] = "";
        return e;
    });
}

Json::Value History::snapshots(const HistoryQuery& q) const {
    static const char* const kGenders[] = {"unknow", "male", "female"};
    return page(q, kSnapshotPeriod, [this](uint64_t time, uint64_t r) {
        Json::Value e(Json::objectValue);
        Json::Value& s = e["SnapShot"];
        s["SysTime"] = static_cast<Json::Int64>(time);
        s["CropImgUrl"] = urlPrefix_ + "/snap/" + std::to_string(time) + ".jpg";
        s["Age"] = static_cast<Json::UInt>(5 + r % 70);
        s["Gender"] = kGenders[r % 3];
        return e;
    });
}

Json::Value History::flowStatistics(uint64_t start, uint64_t end) const {
    const uint64_t events = eventsIn(start, end, kFlowPeriod);
    Json::Value data(Json::objectValue);
    data["Interval"] = 3600;
    data["smartdata"] = Json::Value(Json::arrayValue);
    for (int line = 0; line < 2; ++line) {
        Json::Value l(Json::objectValue);
        const int in = static_cast<int>(std::min<uint64_t>(events / (line + 2), 1000000));
        const int out = in / 2;
        l["LineType"] = line;
        l["InNumber"] = in;
        l["OutNumber"] = out;
        l["InFemaleNum"] = in / 2;
        l["OutFemaleNum"] = out / 2;
        l["InMaleNum"] = in - in / 2;
        l["OutMaleNum"] = out - out / 2;
        l["Bucket"] = Json::Value(Json::arrayValue);
        static const char* const kAges[] = {"Num_0_6",   "Num_7_12",  "Num_13_18", "Num_19_28",
                                            "Num_29_35", "Num_36_45", "Num_46_55", "Num_gt_55"};
        for (int b = 0; b < 4; ++b) {
            Json::Value bucket(Json::objectValue);
            bucket["Sex"] = b % 2;
            bucket["FlowType"] = b / 2;
            for (int a = 0; a < 8; ++a)
                bucket[kAges[a]] = (in / 8 + a + b) % 50;
            l["Bucket"].append(bucket);
        }
        data["smartdata"].append(l);
    }
    return data;
}

Json::Value History::cameraLog(uint64_t start, uint64_t end, int type) const {
    static const char* const kTexts[] = {"system started", "face library updated",
                                         "network link up", "configuration saved"};
    const uint64_t total = eventsIn(start, end, kLogPeriod);
    const uint64_t first = (start + kLogPeriod - 1) / kLogPeriod;
    Json::Value data(Json::objectValue);
    data["total"] = static_cast<Json::UInt64>(total);
    data["log"] = Json::Value(Json::arrayValue);
    for (uint64_t i = 0; i < total && i < static_cast<uint64_t>(kMaxLogEntries); ++i) {
        Json::Value entry(Json::objectValue);
        entry["time"] = static_cast<Json::UInt64>((first + i) * kLogPeriod);
        entry["type"] = type;
        entry["text"] = kTexts[mix(first + i) % 4];
        data["log"].append(entry);
    }
    return data;
}

std::string History::smartLog() const {
    std::string text;
    for (int i = 0; i < 64; ++i) {
        text += "[analysis] frame " + std::to_string(i * 25) + " faces " +
                std::to_string(mix(i) % 4) + " score " + std::to_string(50 + mix(i + 7) % 50) +
                "\n";
    }
    return text;
}

}  // namespace camsim
