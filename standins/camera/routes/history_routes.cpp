// History and log queries, and the analysis-log download.
#include <limits>

#include "routes/reply.h"
#include "routes/router.h"
#include "util/crypto.h"

namespace camsim {

namespace {

constexpr int64_t kMaxTime = std::numeric_limits<int64_t>::max();

struct Range {
    uint64_t start = 0;
    uint64_t end = 0;
};

Range readRange(BodyReader& body) {
    Range r;
    r.start = static_cast<uint64_t>(body.integer("start_time", 0, kMaxTime));
    r.end = static_cast<uint64_t>(body.integer("end_time", 0, kMaxTime));
    return r;
}

template <Json::Value (History::*Page)(const HistoryQuery&) const>
HttpResponse pagedHistory(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    Range range = readRange(body);
    HistoryQuery q;
    q.start = range.start;
    q.end = range.end;
    q.pageNum = static_cast<int>(body.integer("page_num", 1, std::numeric_limits<int>::max()));
    q.pageSize = static_cast<int>(body.integer("page_size", 1, kMaxHistoryPageSize));
    if (!body.ok()) return body.failure();
    return jsonReply(0, "success", (ctx.history.*Page)(q));
}

HttpResponse flowStatistics(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    Range range = readRange(body);
    if (!body.ok()) return body.failure();
    return jsonReply(0, "success", ctx.history.flowStatistics(range.start, range.end));
}

HttpResponse cameraLog(CameraContext& ctx, const HttpRequest& req) {
    BodyReader body(req.body);
    Range range = readRange(body);
    int type = static_cast<int>(body.integer("type", 0, 255));
    body.integer("source", 0, 255);
    if (!body.ok()) return body.failure();
    return jsonReply(0, "success", ctx.history.cameraLog(range.start, range.end, type));
}

// The file travels as the body, announced by three header lines that carry its name,
// length and digest.
HttpResponse smartLog(CameraContext& ctx, const HttpRequest&) {
    HttpResponse r;
    r.body = ctx.history.smartLog();
    r.contentType = "application/octet-stream";
    r.headers = {{"smartLogName", "smart_" + ctx.config.serialNo + ".log"},
                 {"smartLogLen", std::to_string(r.body.size())},
                 {"smartLogMD5", md5HexUpper(r.body)}};
    return r;
}

}  // namespace

void registerHistoryRoutes(Router& router) {
    router.add("/api/v1/passflow/log", &pagedHistory<&History::flowEvents>);
    router.add("/api/v1/recognize/log", &pagedHistory<&History::recognitions>);
    router.add("/api/v1/snap/log", &pagedHistory<&History::snapshots>);
    router.add("/api/v1/passflowstats/log", &flowStatistics);
    router.add("/api/v1/log", &cameraLog);
    router.add("/common/smart_log", &smartLog, kFetch);
}

}  // namespace camsim
