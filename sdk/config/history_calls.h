// What the camera has recorded: the paged history queries (one runner, one small table per
// query), the flow statistics, the camera's log text and the analysis-log download.
#pragma once

#include <cstdint>
#include <string>

#include "camlink.h"
#include "config/reply_fields.h"
#include "core/client.h"

namespace camlink {

enum class SlotFill {
    ClearAll,      // every slot is cleared, then one per element is filled
    UpToPageSize,  // at most page_size slots, each cleared just before it is filled
};

template <typename Record>
struct PagedQuery {
    const char* method;  // log tag
    const char* path;
    FieldTable fields;       // of one entry slot
    int32_t Record::*count;  // receives the number of elements in the reply
    SlotFill fill;
    bool logReply;  // the reply text goes to the info log
};

extern const PagedQuery<vcam_flow_history> kFlowHistory;
extern const PagedQuery<vcam_recognize_history> kRecognizeHistory;
extern const PagedQuery<vcam_snap_history> kSnapHistory;

// Posts the range and paging, then fills the record: 0; the camera's non-zero "code"; 13 for a
// JSON reply without an integer "code"; the transport's result when the exchange failed or the
// reply was not JSON. The record is changed only when the result is 0.
template <typename Record>
int runPagedQuery(LumenControl::LumenControlClient& client, const PagedQuery<Record>& query,
                  Record& record);

// Same results as the paged queries.
int getFlowStatistics(LumenControl::LumenControlClient& client, vcam_flow_statistics& record);

// The exchange's status and reply text into the record, as the two calls above take them.
template <typename Record>
int readPagedReply(const PagedQuery<Record>& query, int status, const std::string& response,
                   Record& record);
int readFlowStatisticsReply(int status, const std::string& response, vcam_flow_statistics& record);

// The camera's log text into the record's library-owned block (see log_calls.cpp).
int getIpcLog(LumenControl::LumenControlClient& client, vcam_ipc_log& record);
int freeIpcLog(vcam_ipc_log& record);

// Downloads the analysis log under the prefix held in `path` (VCAM_SMART_LOG_PATH_SIZE bytes)
// and leaves the written file's path there.
int getSmartLog(LumenControl::LumenControlClient& client, char* path);

}  // namespace camlink
