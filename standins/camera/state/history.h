// What the camera has recorded: people-counting events, recognitions, snapshots, its own log
// and the analysis log. Generated from the time range, so paging and totals are always
// consistent and nothing needs storing.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <string>

namespace camsim {

struct HistoryQuery {
    uint64_t start = 0;  // seconds, inclusive
    uint64_t end = 0;    // seconds, inclusive
    int pageNum = 1;
    int pageSize = 10;
};

constexpr int kMaxHistoryPageSize = 1000;

class History {
public:
    explicit History(std::string urlPrefix) : urlPrefix_(std::move(urlPrefix)) {}

    // Each returns the reply's "data": {"pagination": {...,"total"}, "smartdata": [...]}.
    Json::Value flowEvents(const HistoryQuery& q) const;
    Json::Value recognitions(const HistoryQuery& q) const;
    Json::Value snapshots(const HistoryQuery& q) const;
    // {"Interval", "smartdata": [two lines, each with four "Bucket" entries]}.
    Json::Value flowStatistics(uint64_t start, uint64_t end) const;
    // {"total", "log": [{"time", "type", "text"}, ...]}, at most 200 entries.
    Json::Value cameraLog(uint64_t start, uint64_t end, int type) const;
    // The analysis log file the camera offers for download.
    std::string smartLog() const;

    // Number of events of one period in [start, end].
    static uint64_t eventsIn(uint64_t start, uint64_t end, uint64_t period);

private:
    template <typename MakeEntry>
    Json::Value page(const HistoryQuery& q, uint64_t period, MakeEntry make) const;

    std::string urlPrefix_;
};

}  // namespace camsim
