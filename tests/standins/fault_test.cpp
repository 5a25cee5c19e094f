// Faults on demand, oversized bodies and slow deletions: what the SDK's failure paths meet.
#include <gtest/gtest.h>

#include <chrono>

#include "support/camera_fixture.h"
#include "support/http_client.h"

namespace {

using testsupport::HttpClient;
using Clock = std::chrono::steady_clock;

class FaultTest : public testsupport::CameraTest {
protected:
    void SetUp() override {
        camsim::CameraConfig config;
        config.maxBodyBytes = 64 * 1024;
        camera_ = &startCamera(config);
        client_ = std::make_unique<HttpClient>(camera_->config().address, "admin", "admin");
    }
    camsim::Camera* camera_ = nullptr;
    std::unique_ptr<HttpClient> client_;
    const std::string list_ = "/api/v1/recognize/list_fdlib";
};

TEST(FaultSpec, ParsesKindValuePathAndCount) {
    auto f = camsim::parseFault("status:500@/common/config#2");
    ASSERT_TRUE(f);
    EXPECT_EQ(f->kind, camsim::FaultKind::Status);
    EXPECT_EQ(f->value, 500);
    EXPECT_EQ(f->path, "/common/config");
    EXPECT_EQ(f->times, 2);
    EXPECT_EQ(camsim::parseFault("drop")->path, "*");
    for (const char* bad :
         {"", "explode", "status", "status:42", "latency:-5", "drop@", "drop#0", "latency:abc"})
        EXPECT_FALSE(camsim::parseFault(bad)) << bad;
}

TEST_F(FaultTest, ForcedStatusMalformedAndTruncatedReplies) {
    camera_->addFault(*camsim::parseFault("status:500@" + list_ + "#1"));
    EXPECT_EQ(client_->get(list_).status, 500);
    EXPECT_EQ(client_->get(list_).status, 200);  // used up

    camera_->addFault(*camsim::parseFault("malformed@" + list_ + "#1"));
    auto malformed = client_->get(list_);
    EXPECT_EQ(malformed.status, 200);
    EXPECT_TRUE(malformed.json().isNull());

    camsim::HttpFault cut{list_, camsim::FaultKind::Truncated, 0, 1};
    camera_->addFault(cut);
    auto whole = std::string("{\"code\":0,\"data\":[],\"msg\":\"success\"}");
    EXPECT_EQ(client_->get(list_).body, whole.substr(0, whole.size() / 2));
    // Other paths were never touched.
    EXPECT_EQ(client_->get("/common/smart_log").status, 200);
}

TEST_F(FaultTest, DroppedAndUnansweredRequestsFailTheClient) {
    camera_->addFault(*camsim::parseFault("drop@" + list_ + "#1"));
    auto dropped = client_->get(list_);
    EXPECT_EQ(dropped.status, 0);
    EXPECT_NE(dropped.curlCode, 0);

    camera_->addFault(*camsim::parseFault("noanswer@" + list_ + "#1"));
    auto held = client_->post(list_, "", 500);
    EXPECT_EQ(held.curlCode, 28);  // the client's own time-out
    EXPECT_EQ(client_->get(list_).status, 200);
}

TEST_F(FaultTest, StoppingTheCameraReleasesHeldRequests) {
    camera_->addFault(*camsim::parseFault("noanswer"));
    std::thread client([this] { client_->post(list_, "", 30000); });
    // The request is held once the journal has it.
    for (int i = 0; i < 500 && camera_->journal().on(list_).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_FALSE(camera_->journal().on(list_).empty());
    auto before = Clock::now();
    camera_->stop();
    EXPECT_LT(Clock::now() - before, std::chrono::seconds(10));
    client.join();
}

TEST_F(FaultTest, OversizedBodiesAre413AndTheCameraGoesOn) {
    auto big = client_->post("/api/v1/recognize/add_fdlib", std::string(65 * 1024, 'x'));
    EXPECT_EQ(big.status, 413);
    auto upload = client_->upload("/api/v1/recognize/fdlib/add_img", std::string(200 * 1024, 'y'),
                                  {"name:eA==", "md5:00", "libid:1"});
    EXPECT_EQ(upload.status, 413);
    EXPECT_EQ(client_->get(list_).status, 200);
}

TEST_F(FaultTest, SlowDeletionStillDeletes) {
    std::string libid = camera_->faces().createLibrary("staff", 80).data["libid"].asString();
    camera_->setDeleteDelay(std::chrono::milliseconds(600));
    auto timedOut =
        client_->post("/api/v1/recognize/del_fdlib", "{\"libid\":\"" + libid + "\"}", 200);
    EXPECT_EQ(timedOut.curlCode, 28);
    // A retry after the deletion finished finds the library gone.
    auto retry =
        client_->post("/api/v1/recognize/del_fdlib", "{\"libid\":\"" + libid + "\"}", 5000);
    EXPECT_EQ(retry.json()["code"].asInt(), 2012);
    EXPECT_TRUE(camera_->faces().snapshot().empty());
}

}  // namespace

// A slow camera is slow before it has seen a password too: a steady latency delays the digest
// challenge and the login check's refusal; a counted one is kept for authenticated requests.
TEST_F(FaultTest, SteadyLatencyDelaysChallengesAndRefusals) {
    using std::chrono::milliseconds;
    auto took = [](const camsim::JournalEntry& entry) {
        return std::chrono::duration_cast<milliseconds>(entry.answered - entry.received);
    };
    auto entriesWith = [this](int status) {
        std::vector<camsim::JournalEntry> hits;
        for (const camsim::JournalEntry& entry : camera_->journal().entries())
            if (entry.status == status) hits.push_back(entry);
        return hits;
    };
    camera_->addFault(*camsim::parseFault("latency:150#1"));
    EXPECT_EQ(client_->get(list_).status, 200);
    ASSERT_EQ(entriesWith(401).size(), 1u);
    ASSERT_EQ(entriesWith(200).size(), 1u);
    EXPECT_GE(took(entriesWith(200)[0]), milliseconds(150));  // not used up by the challenge

    camera_->journal().clear();
    camera_->addFault(*camsim::parseFault("latency:150"));
    HttpClient wrong(camera_->config().address, "admin", "wrong-password");
    EXPECT_EQ(wrong.post("/digest/config", "{}").status, 403);
    const auto challenges = entriesWith(401), refusals = entriesWith(403);
    ASSERT_EQ(challenges.size(), 1u);
    ASSERT_EQ(refusals.size(), 1u);
    EXPECT_GE(took(challenges[0]), milliseconds(150));
    EXPECT_GE(took(refusals[0]), milliseconds(150));
}
