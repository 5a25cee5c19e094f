// History, statistics and log queries through the C interface against a simulated camera:
// the bodies on the wire, how replies fill the fixed records, the log text block and the
// analysis-log download.
#include <gtest/gtest.h>
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "support/temp_dir.h"
#include "util/crypto.h"

namespace {

namespace fs = std::filesystem;
using testsupport::parseJson;
using testsupport::TempDir;

class HistoryTest : public testsupport::CameraTest {
protected:
    // A camera and a session on it.
    int open(camsim::CameraConfig config = {}) {
        camera_ = &startCamera(config);
        char reply[VCAM_LOGIN_REPLY_SIZE];
        int result = vcam_control_login_v2(&session_, camera_->config().address.c_str(), "admin",
                                           "admin", reply);
        EXPECT_EQ(result, 0);
        return session_;
    }
    void TearDown() override {
        if (session_ > 0) vcam_control_logout(session_);
        CameraTest::TearDown();
    }

    void cannedJson(const std::string& path, const std::string& body, int status = 200) {
        camera_->setCannedReply(path, camsim::HttpResponse{status, body, "application/json", {}});
    }
    std::vector<camsim::JournalEntry> sent(const std::string& path) {
        return camera_->journal().on(path);
    }

    camsim::Camera* camera_ = nullptr;
    int session_ = -1;
};

// Fills every byte of a record, so untouched and cleared parts can be told apart.
template <typename T>
void scribble(T& record, unsigned char byte = 0xAB) {
    std::memset(static_cast<void*>(&record), byte, sizeof record);
}

template <typename T>
bool allBytes(const T& part, unsigned char byte) {
    const auto* p = reinterpret_cast<const unsigned char*>(&part);
    return std::all_of(p, p + sizeof part, [byte](unsigned char b) { return b == byte; });
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// "Ä" is two bytes: a cut that ignored characters would leave half of one.
const std::string kLongName = std::string(62, 'n') + "\xC3\x84" + "tail";

// Three flow events: a full one, one whose members have the wrong kinds, and one that is
// nearly empty.
const char kFlowReply[] = R"({"code":0,"msg":"success","data":{
  "pagination":{"page_num":2,"page_size":10,"total":57},
  "smartdata":[
    {"Feature":{"MatchedImgUrl":"http://cam/img/7.jpg","MatchedName":"Alice","MatchedRate":0.875,
                "Exclude":true,"DatabaseId":"lib-1","Ext1":"a","Ext2":"b","Ext3":"c","Ext4":"d",
                "Ext5":"e"},
     "FlowEvent":{"TimeStamp":18446744073709551615,"LineId":-3,"Type":1,"PersonId":4294967295,
                  "CropImgUrl":"http://cam/snap/1.jpg","Gender":2,"Age":31}},
    {"Feature":{"MatchedName":"LONGNAME","MatchedRate":"high","Exclude":1,"DatabaseId":7},
     "FlowEvent":{"TimeStamp":-5,"LineId":"7","Type":4294967296,"PersonId":-1,"Age":1e300}},
    {"FlowEvent":{"TimeStamp":300}}
  ]}})";

std::string flowReply() {
    std::string text = kFlowReply;
    text.replace(text.find("LONGNAME"), 8, kLongName);
    return text;
}

TEST_F(HistoryTest, FlowHistoryFillsTheDeliveredSlotsAndClearsTheOthers) {
    const int s = open();
    cannedJson("/api/v1/passflow/log", flowReply());
    vcam_flow_history h;
    scribble(h);
    h.start_time = 1700000000123ULL;
    h.end_time = UINT64_MAX;
    h.page_num = 2;
    h.page_size = 10;
    ASSERT_EQ(vcam_control_get_flow_history(s, &h), 0);

    auto requests = sent("/api/v1/passflow/log");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].body,
              "{\"end_time\":18446744073709551615,\"page_num\":2,\"page_size\":10,"
              "\"start_time\":1700000000123}");
    EXPECT_EQ(h.page_size, 3);
    EXPECT_EQ(h.total, 57);
    EXPECT_EQ(h.start_time, 1700000000123ULL);  // the query stays as it was
    EXPECT_EQ(h.page_num, 2);

    const vcam_flow_entry& full = h.entries[0];
    EXPECT_STREQ(full.MatchedImgUrl, "http://cam/img/7.jpg");
    EXPECT_STREQ(full.MatchedName, "Alice");
    EXPECT_FLOAT_EQ(full.MatchedRate, 0.875f);
    EXPECT_TRUE(full.Exclude);
    EXPECT_STREQ(full.DatabaseId, "lib-1");
    EXPECT_STREQ(full.Ext1, "a");
    EXPECT_STREQ(full.Ext5, "e");
    EXPECT_EQ(full.TimeStamp, UINT64_MAX);
    EXPECT_EQ(full.LineId, -3);
    EXPECT_EQ(full.Type, 1);
    EXPECT_EQ(full.PersonId, 4294967295u);
    EXPECT_STREQ(full.CropImgUrl, "http://cam/snap/1.jpg");
    EXPECT_EQ(full.Gender, 2);
    EXPECT_EQ(full.Age, 31u);

    // Cut to 63 bytes without splitting the two-byte character at bytes 62-63.
    const vcam_flow_entry& odd = h.entries[1];
    EXPECT_EQ(std::string(odd.MatchedName), std::string(62, 'n'));
    // Wrong kinds and out-of-range numbers count as absent: the cleared slot shows through.
    EXPECT_EQ(odd.MatchedRate, 0.0f);
    EXPECT_FALSE(odd.Exclude);
    EXPECT_STREQ(odd.DatabaseId, "");
    EXPECT_EQ(odd.TimeStamp, 0u);
    EXPECT_EQ(odd.LineId, 0);
    EXPECT_EQ(odd.Type, 0);
    EXPECT_EQ(odd.PersonId, 0u);
    EXPECT_EQ(odd.Age, 0u);

    vcam_flow_entry expected{};
    expected.TimeStamp = 300;
    EXPECT_EQ(std::memcmp(&h.entries[2], &expected, sizeof expected), 0);
    for (int i = 3; i < VCAM_FLOW_HISTORY_SLOTS; ++i)
        EXPECT_TRUE(allBytes(h.entries[i], 0)) << "slot " << i;
}

TEST_F(HistoryTest, SnapshotGenderTextsBecomeCodes) {
    const int s = open();
    cannedJson("/api/v1/snap/log", R"({"code":0,"data":{"pagination":{"total":4},"smartdata":[
        {"SnapShot":{"SysTime":-7,"CropImgUrl":"u1","Age":40,"Gender":"female"}},
        {"SnapShot":{"Gender":"unknow"}},
        {"SnapShot":{"Gender":"male"}},
        {"SnapShot":{"Gender":1}}]}})");
    vcam_snap_history h;
    scribble(h);
    h.start_time = 0;
    h.end_time = 100;
    h.page_num = 1;
    h.page_size = 100;
    ASSERT_EQ(vcam_control_get_snap_history(s, &h), 0);
    EXPECT_EQ(h.page_size, 4);
    EXPECT_EQ(h.total, 4);
    EXPECT_EQ(h.entries[0].SysTime, -7);
    EXPECT_STREQ(h.entries[0].CropImgUrl, "u1");
    EXPECT_EQ(h.entries[0].Age, 40u);
    EXPECT_EQ(h.entries[0].Gender, 2);
    EXPECT_EQ(h.entries[1].Gender, 0);
    EXPECT_EQ(h.entries[2].Gender, 1);
    EXPECT_EQ(h.entries[3].Gender, 0);  // a number is not a gender text
    EXPECT_TRUE(allBytes(h.entries[VCAM_SNAP_HISTORY_SLOTS - 1], 0));
}

// Each line carries five buckets; the third line and the fifth buckets have nowhere to go.
std::string statisticsReply() {
    Json::Value root;
    root["code"] = 0;
    root["data"]["Interval"] = 900;
    for (int line = 0; line < 3; ++line) {
        Json::Value l;
        l["LineType"] = 10 + line;
        l["InNumber"] = 100 + line;
        l["OutNumber"] = 200 + line;
        l["InFemaleNum"] = 300 + line;
        l["OutFemaleNum"] = 400 + line;
        l["InMaleNum"] = 500 + line;
        if (line != 1) l["OutMaleNum"] = 600 + line;
        for (int b = 0; b < 5; ++b) {
            Json::Value bucket;
            bucket["Sex"] = b % 2;
            bucket["FlowType"] = 1000 * line + b;
            bucket["Num_0_6"] = b;
            bucket["Num_gt_55"] = 55 + b;
            l["Bucket"].append(bucket);
        }
        root["data"]["smartdata"].append(l);
    }
    return testsupport::compact(root);
}

TEST_F(HistoryTest, FlowStatisticsFillTwoLinesOfFourBuckets) {
    const int s = open();
    cannedJson("/api/v1/passflowstats/log", statisticsReply());
    vcam_flow_statistics st;
    scribble(st);
    st.start_time = 3600;
    st.end_time = 7200;
    ASSERT_EQ(vcam_control_get_flow_statistics(s, &st), 0);
    auto requests = sent("/api/v1/passflowstats/log");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "{\"end_time\":7200,\"start_time\":3600}");

    EXPECT_EQ(st.Interval, 900);
    for (int line = 0; line < VCAM_FLOW_STAT_LINES; ++line) {
        const vcam_flow_line_stat& l = st.lines[line];
        EXPECT_EQ(l.LineType, 10 + line);
        EXPECT_EQ(l.InNumber, 100 + line);
        EXPECT_EQ(l.OutFemaleNum, 400 + line);
        EXPECT_EQ(l.InMaleNum, 500 + line);
        for (int b = 0; b < VCAM_FLOW_STAT_BUCKETS; ++b) {
            EXPECT_EQ(l.buckets[b].Sex, b % 2);
            EXPECT_EQ(l.buckets[b].FlowType, 1000 * line + b);
            EXPECT_EQ(l.buckets[b].Num_0_6, b);
            EXPECT_EQ(l.buckets[b].Num_7_12, 0);  // absent: cleared
            EXPECT_EQ(l.buckets[b].Num_gt_55, 55 + b);
        }
    }
    EXPECT_EQ(st.lines[0].OutMaleNum, 600);
    EXPECT_EQ(st.lines[1].OutMaleNum, 0);
}

TEST_F(HistoryTest, RecognitionFillsAtMostPageSizeSlotsEachClearedFirst) {
    const int s = open();
    Json::Value root;
    root["code"] = 0;
    root["data"]["pagination"]["total"] = 12;
    for (int i = 0; i < 12; ++i) {
        Json::Value f;
        f["TimeStamp"] = static_cast<Json::Int64>(1000 + i);
        f["TrackId"] = i;
        if (i != 1) f["MatchedName"] = "person " + std::to_string(i);
        f["FeatureInfo"] = std::string(2000, 'f');
        root["data"]["smartdata"].append(Json::Value(Json::objectValue))["Feature"] = f;
    }
    cannedJson("/api/v1/recognize/log", testsupport::compact(root));

    vcam_recognize_history h;
    scribble(h);
    h.start_time = 5;
    h.end_time = 6;
    h.page_num = 1;
    h.page_size = 3;
    ASSERT_EQ(vcam_recognize_get_history(s, &h), 0);
    EXPECT_EQ(sent("/api/v1/recognize/log").at(0).body,
              "{\"end_time\":6,\"page_num\":1,\"page_size\":3,\"start_time\":5}");
    EXPECT_EQ(h.page_size, 3);  // the caller's page size stays
    EXPECT_EQ(h.entry_count, 12);
    EXPECT_EQ(h.total, 12);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(h.entries[i].TimeStamp, 1000 + i);
        EXPECT_EQ(h.entries[i].TrackId, i);
        EXPECT_EQ(std::strlen(h.entries[i].FeatureInfo), 1023u);
        EXPECT_EQ(h.entries[i].SysTime, 0);  // absent, and the slot was cleared
    }
    EXPECT_STREQ(h.entries[0].MatchedName, "person 0");
    EXPECT_STREQ(h.entries[1].MatchedName, "");
    for (int i = 3; i < VCAM_RECOGNIZE_HISTORY_SLOTS; ++i)
        EXPECT_TRUE(allBytes(h.entries[i], 0xAB)) << "slot " << i << " beyond page_size";

    // A page size above the slots still fills only the slots the record has.
    scribble(h);
    h.page_size = 50;
    ASSERT_EQ(vcam_recognize_get_history(s, &h), 0);
    EXPECT_EQ(h.entry_count, 12);
    EXPECT_EQ(h.entries[VCAM_RECOGNIZE_HISTORY_SLOTS - 1].TrackId,
              VCAM_RECOGNIZE_HISTORY_SLOTS - 1);
}

TEST_F(HistoryTest, UnsuccessfulRepliesLeaveTheRecordAsItWas) {
    const int s = open();
    struct Case {
        std::string body;
        int status;
        int result;
    };
    const Case cases[] = {
        {R"({"code":1,"msg":"busy","data":{"pagination":{"total":5},"smartdata":[{}]}})", 200, 1},
        {R"({"code":-1,"msg":"bad request"})", 200, -1},
        {"<html>not json</html>", 200, 200},
        {R"({"msg":"no code","data":{"smartdata":[{}]}})", 200, VCAM_ERR_REPLY},
        {R"({"code":"0","data":{"smartdata":[{}]}})", 200, VCAM_ERR_REPLY},
        {R"([0])", 200, VCAM_ERR_REPLY},
        {R"({"code":0,"data":{}})", 503, 503},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.body);
        for (const char* path : {"/api/v1/passflow/log", "/api/v1/recognize/log",
                                 "/api/v1/snap/log", "/api/v1/passflowstats/log"})
            cannedJson(path, c.body, c.status);
        vcam_flow_history flow, flowBefore;
        vcam_recognize_history recog, recogBefore;
        vcam_snap_history snap, snapBefore;
        vcam_flow_statistics stats, statsBefore;
        scribble(flow, 0x11);
        scribble(recog, 0x22);
        scribble(snap, 0x33);
        scribble(stats, 0x44);
        flowBefore = flow;
        recogBefore = recog;
        snapBefore = snap;
        statsBefore = stats;
        EXPECT_EQ(vcam_control_get_flow_history(s, &flow), c.result);
        EXPECT_EQ(vcam_recognize_get_history(s, &recog), c.result);
        EXPECT_EQ(vcam_control_get_snap_history(s, &snap), c.result);
        EXPECT_EQ(vcam_control_get_flow_statistics(s, &stats), c.result);
        EXPECT_EQ(std::memcmp(&flow, &flowBefore, sizeof flow), 0);
        EXPECT_EQ(std::memcmp(&recog, &recogBefore, sizeof recog), 0);
        EXPECT_EQ(std::memcmp(&snap, &snapBefore, sizeof snap), 0);
        EXPECT_EQ(std::memcmp(&stats, &statsBefore, sizeof stats), 0);
    }
}

TEST_F(HistoryTest, ArgumentsAndSessionsAreCheckedFirst) {
    const int s = open();
    EXPECT_EQ(vcam_control_get_flow_history(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_recognize_get_history(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_get_snap_history(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_get_flow_statistics(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_get_ipc_log(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_free_ipc_log(s, nullptr), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_get_smart_log(s, nullptr), VCAM_ERR_ARGUMENT);
    vcam_flow_history flow{};
    vcam_flow_statistics stats{};
    vcam_ipc_log log{};
    char path[VCAM_SMART_LOG_PATH_SIZE] = "/tmp/x";
    EXPECT_EQ(vcam_control_get_flow_history(987654, &flow), VCAM_ERR_SESSION);
    EXPECT_EQ(vcam_control_get_flow_statistics(987654, &stats), VCAM_ERR_SESSION);
    EXPECT_EQ(vcam_control_get_ipc_log(987654, &log), VCAM_ERR_SESSION);
    EXPECT_EQ(log.text, nullptr);
    EXPECT_EQ(vcam_control_get_smart_log(987654, path), VCAM_ERR_SESSION);
    EXPECT_TRUE(camera_->journal().on("/api/v1/passflow/log").empty());
}

// Real pages of the camera's generated history: consecutive, and adding up to its total.
TEST_F(HistoryTest, PagesOfRealHistoryAgreeWithTheTotal) {
    const int s = open();
    vcam_flow_history flow{};
    flow.start_time = 300;  // one flow event every 300 s: 25 events in [300, 7500]
    flow.end_time = 7500;
    std::vector<uint64_t> stamps;
    for (int page = 1; page <= 4; ++page) {
        flow.page_num = page;
        flow.page_size = 10;
        ASSERT_EQ(vcam_control_get_flow_history(s, &flow), 0);
        EXPECT_EQ(flow.total, 25);
        EXPECT_EQ(flow.page_size, page < 3 ? 10 : page == 3 ? 5 : 0);
        for (int i = 0; i < flow.page_size; ++i) {
            stamps.push_back(flow.entries[i].TimeStamp);
            EXPECT_NE(std::string(flow.entries[i].CropImgUrl), "");
        }
        for (int i = flow.page_size; i < VCAM_FLOW_HISTORY_SLOTS; ++i)
            EXPECT_TRUE(allBytes(flow.entries[i], 0));
    }
    ASSERT_EQ(stamps.size(), 25u);
    for (size_t i = 0; i < stamps.size(); ++i)
        EXPECT_EQ(stamps[i], 300 * (i + 1));

    vcam_recognize_history recog{};
    recog.start_time = 600;  // one recognition every 600 s: 9 in [600, 5400]
    recog.end_time = 5400;
    recog.page_num = 3;
    recog.page_size = 4;
    ASSERT_EQ(vcam_recognize_get_history(s, &recog), 0);
    EXPECT_EQ(recog.total, 9);
    EXPECT_EQ(recog.entry_count, 1);
    EXPECT_EQ(recog.entries[0].TimeStamp, 5400);
    EXPECT_GT(std::strlen(recog.entries[0].MatchedName), 0u);

    vcam_snap_history snap{};
    snap.start_time = 0;  // one snapshot every 120 s
    snap.end_time = 120 * 200;
    snap.page_num = 1;
    snap.page_size = 150;  // more than the record holds
    ASSERT_EQ(vcam_control_get_snap_history(s, &snap), 0);
    EXPECT_EQ(snap.total, 201);
    EXPECT_EQ(snap.page_size, 150);
    EXPECT_EQ(snap.entries[VCAM_SNAP_HISTORY_SLOTS - 1].SysTime, 120 * 99);
    for (const auto& e : snap.entries)
        EXPECT_TRUE(e.Gender >= 0 && e.Gender <= 2);

    // A range far wider than an int can count saturates the total.
    snap.start_time = 0;
    snap.end_time = INT64_MAX;
    snap.page_size = 1;
    ASSERT_EQ(vcam_control_get_snap_history(s, &snap), 0);
    EXPECT_EQ(snap.total, INT32_MAX);

    vcam_flow_statistics stats{};
    stats.start_time = 300;
    stats.end_time = 7500;
    ASSERT_EQ(vcam_control_get_flow_statistics(s, &stats), 0);
    EXPECT_EQ(stats.Interval, 3600);
    EXPECT_EQ(stats.lines[0].InNumber, 25 / 2);
    EXPECT_EQ(stats.lines[1].InNumber, 25 / 3);
    EXPECT_EQ(stats.lines[1].LineType, 1);
}

TEST_F(HistoryTest, CameraLogQueriesReuseAndResizeOneBlock) {
    const int s = open();
    vcam_ipc_log log{};
    log.start_time = 3600;
    log.end_time = 3600 * 3;  // three entries, one per hour
    log.type = 4;
    ASSERT_EQ(vcam_control_get_ipc_log(s, &log), 0);
    ASSERT_NE(log.text, nullptr);
    auto requests = sent("/api/v1/log");
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].body, "{\"end_time\":10800,\"source\":2,\"start_time\":3600,\"type\":4}");
    Json::Value first = parseJson(log.text);
    EXPECT_EQ(first["code"].asInt(), 0);
    EXPECT_EQ(first["data"]["log"].size(), 3u);
    const std::string firstText = log.text;

    log.end_time = 3600 * 150;  // a longer reply: the block grows
    ASSERT_EQ(vcam_control_get_ipc_log(s, &log), 0);
    ASSERT_NE(log.text, nullptr);
    EXPECT_GT(std::strlen(log.text), firstText.size());
    EXPECT_EQ(parseJson(log.text)["data"]["log"].size(), 150u);

    log.end_time = 3600;  // and shrinks to a one-entry reply
    ASSERT_EQ(vcam_control_get_ipc_log(s, &log), 0);
    EXPECT_EQ(parseJson(log.text)["data"]["log"].size(), 1u);

    // A failed exchange is reported, and the block then holds what the camera said.
    camera_->setCannedReply("/api/v1/log", camsim::HttpResponse{503, "busy", "text/plain", {}});
    EXPECT_EQ(vcam_control_get_ipc_log(s, &log), 503);
    ASSERT_NE(log.text, nullptr);
    EXPECT_STREQ(log.text, "busy");

    EXPECT_EQ(vcam_control_free_ipc_log(s, &log), 0);
    EXPECT_EQ(log.text, nullptr);
    EXPECT_EQ(vcam_control_free_ipc_log(s, &log), 0);  // nothing left to free
}

TEST_F(HistoryTest, LogBlocksTheLibraryDidNotHandOutAreRefused) {
    const int s = open();
    vcam_ipc_log log{};
    ASSERT_EQ(vcam_control_get_ipc_log(s, &log), 0);
    char* block = log.text;
    // An unknown session frees nothing.
    EXPECT_EQ(vcam_control_free_ipc_log(987654, &log), VCAM_ERR_SESSION);
    EXPECT_EQ(log.text, block);
    EXPECT_EQ(vcam_control_free_ipc_log(s, &log), 0);

    // Neither a stale pointer nor one of the caller's own reaches realloc or free.
    log.text = block;
    EXPECT_EQ(vcam_control_get_ipc_log(s, &log), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_free_ipc_log(s, &log), VCAM_ERR_ARGUMENT);
    char own[8] = "mine";
    log.text = own;
    EXPECT_EQ(vcam_control_get_ipc_log(s, &log), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(vcam_control_free_ipc_log(s, &log), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(log.text, own);
    EXPECT_STREQ(own, "mine");
    EXPECT_EQ(sent("/api/v1/log").size(), 1u);
}

TEST_F(HistoryTest, SmartLogIsWrittenUnderTheCallersPrefix) {
    const int s = open();
    TempDir dir{"camlink-history"};
    ASSERT_FALSE(dir.path().empty());
    const std::string prefix = dir.path() + "/cam1_";
    char path[VCAM_SMART_LOG_PATH_SIZE];
    std::memset(path, 'z', sizeof path);
    std::memcpy(path, prefix.c_str(), prefix.size() + 1);
    ASSERT_EQ(vcam_control_get_smart_log(s, path), 0);

    const std::string expected = prefix + "smart_" + camera_->config().serialNo + ".log";
    EXPECT_EQ(std::string(path), expected);
    EXPECT_TRUE(
        std::all_of(path + expected.size(), path + sizeof path, [](char c) { return c == '\0'; }));
    // The same bytes an independent client fetches.
    testsupport::HttpClient direct(camera_->config().address, "admin", "admin");
    testsupport::Reply served = direct.get("/common/smart_log");
    ASSERT_EQ(served.status, 200);
    ASSERT_FALSE(served.body.empty());
    EXPECT_EQ(readFile(expected), served.body);
    auto requests = sent("/common/smart_log");
    ASSERT_GE(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
}

TEST_F(HistoryTest, SmartLogWithAWrongDigestLeavesAnEmptyFile) {
    const int s = open();
    TempDir dir{"camlink-history"};
    const std::string body = "analysis line\n";
    camera_->setCannedReply(
        "/common/smart_log",
        camsim::HttpResponse{200,
                             body,
                             "application/octet-stream",
                             {{"smartLogName", "bad.log"},
                              {"smartLogLen", std::to_string(body.size())},
                              {"smartLogMD5", camsim::md5HexUpper("something else")}}});
    char path[VCAM_SMART_LOG_PATH_SIZE] = {};
    const std::string prefix = dir.path() + "/";
    std::memcpy(path, prefix.c_str(), prefix.size());
    ASSERT_EQ(vcam_control_get_smart_log(s, path), 0);
    EXPECT_EQ(std::string(path), prefix + "bad.log");
    ASSERT_TRUE(fs::exists(path));
    EXPECT_EQ(fs::file_size(path), 0u);

    // Not found is the camera's status; the path is still the prefix the transport used.
    camera_->setCannedReply("/common/smart_log", camsim::HttpResponse{404, "", "text/plain", {}});
    std::memcpy(path, prefix.c_str(), prefix.size() + 1);
    EXPECT_EQ(vcam_control_get_smart_log(s, path), 404);
    EXPECT_EQ(std::string(path), prefix);

    // Without a prefix, or without its NUL, nothing is asked.
    const size_t asked = sent("/common/smart_log").size();
    char empty[VCAM_SMART_LOG_PATH_SIZE] = {};
    EXPECT_EQ(vcam_control_get_smart_log(s, empty), VCAM_ERR_ARGUMENT);
    char unterminated[VCAM_SMART_LOG_PATH_SIZE];
    std::memset(unterminated, 'a', sizeof unterminated);
    EXPECT_EQ(vcam_control_get_smart_log(s, unterminated), VCAM_ERR_ARGUMENT);
    EXPECT_EQ(sent("/common/smart_log").size(), asked);
}

}  // namespace
