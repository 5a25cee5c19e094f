// History pages, statistics, the camera log and the analysis-log download.
#include <gtest/gtest.h>

#include "state/history.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "util/crypto.h"

namespace {

using testsupport::HttpClient;

class HistoryTest : public testsupport::CameraTest {
protected:
    void SetUp() override {
        camsim::Camera& cam = startCamera();
        client_ = std::make_unique<HttpClient>(cam.config().address, "admin", "admin");
    }
    Json::Value query(const std::string& path, uint64_t start, uint64_t end, int page, int size) {
        Json::Value body;
        body["start_time"] = static_cast<Json::UInt64>(start);
        body["end_time"] = static_cast<Json::UInt64>(end);
        body["page_num"] = page;
        body["page_size"] = size;
        return client_->postJson(path, body).json();
    }
    std::unique_ptr<HttpClient> client_;
};

TEST(HistoryCount, EventsInARangeCountBothEnds) {
    EXPECT_EQ(camsim::History::eventsIn(0, 0, 300), 1u);
    EXPECT_EQ(camsim::History::eventsIn(1, 299, 300), 0u);
    EXPECT_EQ(camsim::History::eventsIn(300, 900, 300), 3u);
    EXPECT_EQ(camsim::History::eventsIn(900, 300, 300), 0u);
}

TEST_F(HistoryTest, PagesTileTheRangeWithoutGapsOrOverlap) {
    const uint64_t start = 1700000000, end = start + 3600 * 5;  // 61 flow events (every 300 s)
    Json::Value first = query("/api/v1/passflow/log", start, end, 1, 25)["data"];
    const int total = first["pagination"]["total"].asInt();
    EXPECT_EQ(total, static_cast<int>(camsim::History::eventsIn(start, end, 300)));
    std::vector<uint64_t> times;
    for (int page = 1; page <= 4; ++page) {
        Json::Value data = query("/api/v1/passflow/log", start, end, page, 25)["data"];
        for (const auto& e : data["smartdata"])
            times.push_back(e["FlowEvent"]["TimeStamp"].asUInt64());
    }
    ASSERT_EQ(static_cast<int>(times.size()), total);
    for (size_t i = 1; i < times.size(); ++i)
        EXPECT_EQ(times[i], times[i - 1] + 300);
    EXPECT_GE(times.front(), start);
    EXPECT_LE(times.back(), end);
    // The same page reads the same twice.
    EXPECT_EQ(query("/api/v1/passflow/log", start, end, 2, 25),
              query("/api/v1/passflow/log", start, end, 2, 25));
}

TEST_F(HistoryTest, RecognitionAndSnapshotEntriesCarryTheirMembers) {
    Json::Value rec = query("/api/v1/recognize/log", 0, 6000, 1, 3)["data"];
    ASSERT_EQ(rec["smartdata"].size(), 3u);
    EXPECT_TRUE(rec["smartdata"][0]["Feature"].isMember("MatchedName"));
    EXPECT_EQ(rec["pagination"]["total"].asInt(), 11);
    Json::Value snap = query("/api/v1/snap/log", 0, 1200, 1, 100)["data"];
    EXPECT_EQ(snap["smartdata"].size(), 11u);
    for (const auto& e : snap["smartdata"]) {
        const std::string g = e["SnapShot"]["Gender"].asString();
        EXPECT_TRUE(g == "male" || g == "female" || g == "unknow") << g;
    }
    EXPECT_EQ(query("/api/v1/snap/log", 0, 1200, 0, 10)["code"].asInt(), -1);
    EXPECT_EQ(query("/api/v1/snap/log", 0, 1200, 1, 0)["code"].asInt(), -1);
}

TEST_F(HistoryTest, StatisticsAndCameraLog) {
    Json::Value body;
    body["start_time"] = 0;
    body["end_time"] = 86400;
    Json::Value stats = client_->postJson("/api/v1/passflowstats/log", body).json()["data"];
    ASSERT_EQ(stats["smartdata"].size(), 2u);
    EXPECT_EQ(stats["smartdata"][0]["Bucket"].size(), 4u);
    EXPECT_GT(stats["smartdata"][0]["InNumber"].asInt(), 0);
    body["type"] = 3;
    body["source"] = 2;
    Json::Value log = client_->postJson("/api/v1/log", body).json();
    EXPECT_EQ(log["code"].asInt(), 0);
    EXPECT_EQ(log["data"]["total"].asInt(), 25);
    EXPECT_EQ(log["data"]["log"][0]["type"].asInt(), 3);
}

TEST_F(HistoryTest, SmartLogIsAnnouncedByItsHeaders) {
    testsupport::Reply r = client_->get("/common/smart_log");
    EXPECT_EQ(r.status, 200);
    EXPECT_FALSE(r.body.empty());
    EXPECT_EQ(r.header("smartLogLen"), std::to_string(r.body.size()));
    EXPECT_EQ(r.header("smartLogMD5"), camsim::md5HexUpper(r.body));
    EXPECT_EQ(r.header("smartLogName").rfind("smart_", 0), 0u);
}

}  // namespace
