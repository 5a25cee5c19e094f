// The image and analysis settings that parse the camera's reply themselves, through the C
// interface against a simulated camera: the exact envelopes put on the wire (the camera's
// journal), round trips through the camera's modules, and the reply shapes the camera would
// not produce on its own (canned replies).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "camlink.h"
#include "support/sdk_session.h"

namespace {

const std::string kPath = "/common/config";
const std::string kInt = R"({"@type":"vantor/lumen.type.Int32","name":")";
const std::string kBool = R"({"@type":"vantor/lumen.type.Bool","name":")";

template <size_t N>
void put(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// {"code":0,"config":{"module":[{"name":<module>,"ret":<ret>,"parm":[<parm>]}]}}
std::string reply(const std::string& module, int ret, const std::string& parm) {
    return R"({"code":0,"msg":"success","config":{"module":[{"name":")" + module + R"(","ret":)" +
           std::to_string(ret) + R"(,"parm":[)" + parm + "]}]}}";
}

std::string param(const std::string& name, const std::string& value) {
    return R"({"name":")" + name + R"(","value":)" + value + "}";
}

std::string setBody(const std::string& module, const std::string& parm) {
    return R"({"config":{"action":"set_reqt","module":[{"name":")" + module + R"(","parm":[)" +
           parm + "]}]}}";
}

class SettingsTest : public testsupport::SdkSessionTest {
protected:
    // Runs the call on a clean journal: its result, and the bodies it posted to the envelope path.
    int run(const std::function<int()>& call, std::vector<std::string>* bodies = nullptr) {
        camera_->journal().clear();
        const int rc = call();
        if (bodies) {
            bodies->clear();
            for (const auto& entry : camera_->journal().on(kPath))
                bodies->push_back(entry.body);
        }
        return rc;
    }
    // The one body the call posted (the call must succeed).
    std::string bodyOf(const std::function<int()>& call) {
        std::vector<std::string> bodies;
        EXPECT_EQ(run(call, &bodies), 0);
        EXPECT_EQ(bodies.size(), 1u);
        return bodies.empty() ? "" : bodies[0];
    }
    void canned(const std::string& body, int status = 200) {
        camera_->setCannedReply(kPath, camsim::HttpResponse{status, body, "application/json", {}});
    }
};

// ---- Image settings ----

TEST_F(SettingsTest, FaceExposureWriteSendsTypedFieldsInRecordOrderAndReadsBack) {
    vcam_face_exposure r{};
    r.enable = false;
    r.luminance = -3;
    r.duration = 12;
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_face_exposure(session_, &r); }),
              setBody("face_exposure", kBool + R"(enable","value":false},)" + kInt +
                                           R"(luminance","value":-3},)" + kInt +
                                           R"(duration","value":12})"));
    vcam_face_exposure back{};
    back.enable = true;
    EXPECT_EQ(bodyOf([&] { return vcam_control_get_face_exposure(session_, &back); }),
              R"({"config":{"action":"get_reqt","module":[{"name":"face_exposure"}]}})");
    EXPECT_FALSE(back.enable);
    EXPECT_EQ(back.luminance, -3);
    EXPECT_EQ(back.duration, 12);
}

// Every integer group through the camera: a wrong name or member in any table shows here.
template <typename Record>
void expectRoundTrip(int session, int (*set)(int, Record*), int (*get)(int, Record*), int base) {
    static_assert(sizeof(Record) % sizeof(int32_t) == 0, "integer records only");
    int32_t values[sizeof(Record) / sizeof(int32_t)];
    for (size_t i = 0; i < sizeof values / sizeof values[0]; ++i)
        values[i] = base + static_cast<int32_t>(i);
    Record written;
    std::memcpy(&written, values, sizeof written);
    ASSERT_EQ(set(session, &written), 0);
    Record read{};
    ASSERT_EQ(get(session, &read), 0);
    EXPECT_EQ(std::memcmp(&read, values, sizeof read), 0) << "group starting at " << base;
}

TEST_F(SettingsTest, IntegerImageGroupsRoundTripThroughTheCamera) {
    expectRoundTrip(session_, vcam_control_set_image_lighting, vcam_control_get_image_lighting, 10);
    expectRoundTrip(session_, vcam_control_set_image_adjust, vcam_control_get_image_adjust, 20);
    expectRoundTrip(session_, vcam_control_set_image_exposure, vcam_control_get_image_exposure, 30);
    expectRoundTrip(session_, vcam_control_set_image_focus, vcam_control_get_image_focus, 40);
    expectRoundTrip(session_, vcam_control_set_image_dnr, vcam_control_get_image_dnr, 50);
    expectRoundTrip(session_, vcam_control_set_image_enhance, vcam_control_get_image_enhance, 60);
    expectRoundTrip(session_, vcam_control_set_image_whitebalance,
                    vcam_control_get_image_whitebalance, -70);
}

TEST_F(SettingsTest, OwnParserResultCodes) {
    vcam_face_exposure r{true, 7, 8};
    auto get = [&] { return vcam_control_get_face_exposure(session_, &r); };
    auto unchanged = [&] { return r.enable && r.luminance == 7 && r.duration == 8; };

    canned(reply("face_exposure", 2, param("luminance", "99")));
    EXPECT_EQ(run(get), 3002);
    EXPECT_TRUE(unchanged());
    canned(reply("image_adjust", 0, param("luminance", "99")));  // no face_exposure element
    EXPECT_EQ(run(get), 0);
    EXPECT_TRUE(unchanged());
    canned(R"({"code":-1,"msg":"busy"})");
    EXPECT_EQ(run(get), 4000);
    canned("<html>busy</html>");
    EXPECT_EQ(run(get), 200);
    canned(R"({"code":0})", 500);
    EXPECT_EQ(run(get), 500);
    EXPECT_TRUE(unchanged());
    vcam_image_adjust adjust{};
    canned(R"({"code":0,"config":{"module":[{"name":"image_adjust","ret":2147483647}]}})");
    EXPECT_EQ(vcam_control_get_image_adjust(session_, &adjust), INT32_MAX);
    // A write whose module is refused.
    canned(R"({"code":0,"config":{"module":[{"name":"image_adjust","ret":2}]}})");
    EXPECT_EQ(vcam_control_set_image_adjust(session_, &adjust), 3002);

    EXPECT_EQ(vcam_control_get_face_exposure(session_ + 1000, &r), VCAM_ERR_SESSION);
    EXPECT_EQ(vcam_control_get_face_exposure(session_, nullptr), VCAM_ERR_ARGUMENT);
}

TEST_F(SettingsTest, WrongKindsAreAbsentAndOnlyLightingClearsItsRecord) {
    vcam_face_exposure face{true, 7, 8};
    canned(R"({"code":"bad","config":{"module":[{"name":"face_exposure","ret":"2","parm":[)" +
           param("enable", "0") + "," + param("luminance", R"("40")") + "," +
           param("duration", "3.5") + "," + param("duration", "4294967296") + "," +
           R"("junk",{"name":5,"value":1}]}]}})");
    EXPECT_EQ(vcam_control_get_face_exposure(session_, &face), 0);
    EXPECT_TRUE(face.enable);
    EXPECT_EQ(face.luminance, 7);
    EXPECT_EQ(face.duration, 8);

    vcam_image_lighting lighting{9, 9, 9, 9, 9, 9, 9, 9};
    canned(reply("image_lighting", 0, param("lighting_mode", "2")));
    EXPECT_EQ(vcam_control_get_image_lighting(session_, &lighting), 0);
    EXPECT_EQ(lighting.lighting_mode, 2);
    EXPECT_EQ(lighting.lg_sensitivity, 0);
    EXPECT_EQ(lighting.lg_darkmin, 0);
    vcam_image_adjust adjust{9, 9, 9, 9};
    canned(reply("image_adjust", 0, param("brightness", "2")));
    EXPECT_EQ(vcam_control_get_image_adjust(session_, &adjust), 0);
    EXPECT_EQ(adjust.brightness, 2);
    EXPECT_EQ(adjust.sharpness, 9);
}

TEST_F(SettingsTest, WriteTakesTheValuesTheReplyCarries) {
    vcam_image_focus focus{1, 2};
    canned(reply("image_focus", 0, param("focus_control", "5")));
    EXPECT_EQ(vcam_control_set_image_focus(session_, &focus), 0);
    EXPECT_EQ(focus.focus_mode, 1);
    EXPECT_EQ(focus.focus_control, 5);
}

// ---- Capture ----

vcam_capture_config allowedCapture() {
    vcam_capture_config c{};
    c.snapsizethr = 70;
    c.frontthr = 1800;
    c.beginpostframethr = 25;
    c.snapscale = 1.25;
    c.resnapthr = 1;
    c.firstnumavailthr = 4;
    c.numaftervanish = 6;
    c.switchregion = true;
    c.capture_region = {10, 20, 1000, 900};
    c.captbackground = true;
    c.track_score_eliminate = 66;
    c.snap_mode = 1;
    c.sel_face_mode = 2;
    return c;
}

TEST_F(SettingsTest, CaptureWriteRefusesValuesOutsideTheirListsAndSendsNothing) {
    const vcam_capture_config good = allowedCapture();
    std::vector<std::string> bodies;
    auto rejects = [&](const std::function<void(vcam_capture_config&)>& spoil) {
        vcam_capture_config c = good;
        spoil(c);
        return run([&] { return vcam_control_set_capture(session_, &c); }, &bodies) == 18 &&
               bodies.empty();
    };
    EXPECT_TRUE(rejects([](auto& c) { c.frontthr = 100; }));
    EXPECT_TRUE(rejects([](auto& c) { c.beginpostframethr = 20; }));
    EXPECT_TRUE(rejects([](auto& c) { c.resnapthr = 0; }));
    EXPECT_TRUE(rejects([](auto& c) { c.track_score_eliminate = 65; }));
    EXPECT_TRUE(rejects([](auto& c) { c.track_score_eliminate = 57u + (1u << 31); }));
}

TEST_F(SettingsTest, CaptureWriteSendsEveryFieldAndReadsBack) {
    vcam_capture_config c = allowedCapture();
    EXPECT_EQ(
        bodyOf([&] { return vcam_control_set_capture(session_, &c); }),
        setBody("capecfg",
                kInt + R"(snapsizethr","value":70},)" + kInt + R"(frontthr","value":1800},)" +
                    kInt + R"(beginpostframethr","value":25},)" +
                    R"({"@type":"vantor/lumen.type.Double","name":"snapscale","value":1.25},)" +
                    kInt + R"(resnapthr","value":1},)" + kInt + R"(firstnumavailthr","value":4},)" +
                    kInt + R"(numaftervanish","value":6},)" + kBool +
                    R"(switchregion","value":true},)" +
                    R"({"@type":"vantor/lumen.type.Region","name":"captregion","value":)" +
                    R"([{"x1":10,"x2":1000,"y1":20,"y2":900}]},)" + kBool +
                    R"(captbackground","value":true},)" + kInt +
                    R"(track_score_eliminate","value":66},)" + kInt + R"(snap_mode","value":1},)" +
                    kInt + R"(sel_face_mode","value":2})"));
    vcam_capture_config back;
    std::memset(&back, 0x5A, sizeof back);
    ASSERT_EQ(vcam_control_get_capture(session_, &back), 0);
    EXPECT_EQ(back.snapsizethr, 70);
    EXPECT_EQ(back.frontthr, 1800);
    EXPECT_EQ(back.beginpostframethr, 25);
    EXPECT_DOUBLE_EQ(back.snapscale, 1.25);
    EXPECT_EQ(back.resnapthr, 1);
    EXPECT_EQ(back.firstnumavailthr, 4);
    EXPECT_EQ(back.numaftervanish, 6);
    EXPECT_TRUE(back.switchregion && back.captbackground);
    EXPECT_EQ(back.capture_region.x1, 10);
    EXPECT_EQ(back.capture_region.y1, 20);
    EXPECT_EQ(back.capture_region.x2, 1000);
    EXPECT_EQ(back.capture_region.y2, 900);
    EXPECT_EQ(back.track_score_eliminate, 66u);
    EXPECT_EQ(back.snap_mode, 1u);
    EXPECT_EQ(back.sel_face_mode, 2u);
}

TEST_F(SettingsTest, CaptureReadTakesTheFirstRegionAndAnAbsentModuleGivesTheCode) {
    vcam_capture_config c = allowedCapture();
    canned(reply("capecfg", 0,
                 param("captregion", R"([{"x1":1,"y1":2,"x2":3,"y2":4},{"x1":9}])") + "," +
                     param("track_score_eliminate", "-1")));
    EXPECT_EQ(vcam_control_get_capture(session_, &c), 0);
    EXPECT_EQ(c.capture_region.x1, 1);
    EXPECT_EQ(c.capture_region.y2, 4);
    EXPECT_EQ(c.track_score_eliminate, 0u);
    EXPECT_EQ(c.frontthr, 0);

    canned(R"({"code":7,"config":{"module":[]}})");
    EXPECT_EQ(vcam_control_get_capture(session_, &c), 7);
    vcam_recognize_config recog{};
    canned(R"({"code":7,"config":{"module":[]}})");
    EXPECT_EQ(vcam_control_get_recognize(session_, &recog), 0);
}

// ---- Recognition ----

TEST_F(SettingsTest, RecognitionWritesThreeSwitchesAndReadsAllFive) {
    vcam_recognize_config r{false, true, true, 9.0, 0.1};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_recognize(session_, &r); }),
              setBody("RecogApp", kBool + R"(recog_snap","value":true},)" + kBool +
                                      R"(send_origin_img","value":true},)" + kBool +
                                      R"(recog_switch","value":false})"));
    vcam_recognize_config back{};
    ASSERT_EQ(vcam_control_get_recognize(session_, &back), 0);
    EXPECT_FALSE(back.recog_switch);
    EXPECT_TRUE(back.recog_snap);
    EXPECT_TRUE(back.send_origin_img);
    EXPECT_DOUBLE_EQ(back.recog_freq, 1.0);  // the camera's own, never written
    EXPECT_DOUBLE_EQ(back.similar_thres, 0.8);
}

// ---- Linkage ----

TEST_F(SettingsTest, LinkageReadCountsEveryEntryAndFillsFiveCut) {
    std::string entries;
    for (int i = 0; i < 7; ++i) {
        entries += (i ? "," : "") + std::string(R"({"repoId":")") + std::string(70, 'a' + i) +
                   R"(","repoName":"lib)" + std::to_string(i) + R"(","searchOrder":)" +
                   std::to_string(i) +
                   R"(,"exclude":true,"alarm":{"isAlarm":true,"duration":30},)" +
                   R"("rs485":{"isRs485":true,"protocol":")" + std::string(40, 'p') +
                   R"(","consoleId":3},"networkRelay":{"isNetworkRelay":true,)" +
                   R"("ip":"192.168.100.200.1","port":65535,"delay":4000000000}})";
    }
    vcam_linkage_config l;
    std::memset(&l, 0x5A, sizeof l);
    canned(reply("recoglinkage", 0, param("repolinkage", "[" + entries + "]")));
    ASSERT_EQ(vcam_control_get_linkage(session_, &l), 0);
    EXPECT_EQ(l.count, 7);
    for (int i = 0; i < VCAM_LINKAGE_ENTRIES; ++i) {
        const vcam_linkage_entry& e = l.entries[i];
        EXPECT_EQ(std::string(e.repoId), std::string(63, 'a' + i));
        EXPECT_EQ(std::string(e.repoName), "lib" + std::to_string(i));
        EXPECT_EQ(e.searchOrder, i);
        EXPECT_TRUE(e.isAlarm && e.isRs485 && e.isNetworkRelay && e.exclude);
        EXPECT_EQ(e.duration, 30);
        EXPECT_EQ(std::string(e.protocol), std::string(31, 'p'));
        EXPECT_EQ(e.consoleId, 3);
        EXPECT_EQ(std::string(e.ip), "192.168.100.200");
        EXPECT_EQ(e.port, 65535);
        EXPECT_EQ(e.delay, 4000000000u);
    }
}

TEST_F(SettingsTest, LinkageWriteBlanksTheNameOmitsExcludeAndSendsAtMostFive) {
    vcam_linkage_config l{};
    l.count = 1;
    vcam_linkage_entry& e = l.entries[0];
    put(e.repoId, "7");
    put(e.repoName, "staff");
    e.searchOrder = 2;
    e.isAlarm = true;
    e.duration = 10;
    put(e.protocol, "pelco");
    e.consoleId = 4;
    e.exclude = true;
    e.isNetworkRelay = true;
    put(e.ip, "10.0.0.9");
    e.port = 9000;
    e.delay = 3;
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_linkage(session_, &l); }),
              setBody("recoglinkage",
                      R"({"@type":"vantor/lumen.type.LinkageConfig","name":"repolinkage","value":)"
                      R"([{"alarm":{"duration":10,"isAlarm":true},"networkRelay":{"delay":3,)"
                      R"("ip":"10.0.0.9","isNetworkRelay":true,"port":9000},"repoId":"7",)"
                      R"("repoName":"","rs485":{"consoleId":4,"isRs485":false,"protocol":"pelco"},)"
                      R"("searchOrder":2}]})"));
    vcam_linkage_config back{};
    ASSERT_EQ(vcam_control_get_linkage(session_, &back), 0);
    EXPECT_EQ(back.count, 1);
    EXPECT_STREQ(back.entries[0].repoName, "");
    EXPECT_EQ(back.entries[0].port, 9000);

    l.count = 9;
    std::string body = bodyOf([&] { return vcam_control_set_linkage(session_, &l); });
    size_t sent = 0;
    for (size_t at = body.find("\"repoId\""); at != std::string::npos;
         at = body.find("\"repoId\"", at + 1))
        ++sent;
    EXPECT_EQ(sent, 5u);
    l.count = -1;
    EXPECT_NE(bodyOf([&] {
                  return vcam_control_set_linkage(session_, &l);
              }).find(R"("name":"repolinkage","value":[])"),
              std::string::npos);
}

// ---- People counting ----

TEST_F(SettingsTest, PassflowScheduleDecodesAndEncodesTheSameCrontab) {
    vcam_passflow_config p{};
    canned(reply("passflow", 0,
                 param("crontab", R"("0 30 1 ? * *")") + "," + param("duration", "3600")));
    ASSERT_EQ(vcam_control_get_passflow(session_, &p), 0);
    EXPECT_EQ(p.start, 34200);  // 9 h 30 min
    EXPECT_EQ(p.end, 34200 + 3600);
    camera_->clearCannedReplies();
    EXPECT_EQ(
        bodyOf([&] { return vcam_control_set_passflow(session_, &p); }),
        setBody("passflow", kInt + R"(type","value":0},)" +
                                R"({"@type":"vantor/lumen.type.Line","name":"lines","value":[]},)"
                                R"({"@type":"vantor/lumen.type.String","name":"crontab",)"
                                R"("value":"0 30 1 ? * *"},)" +
                                kInt + R"(duration","value":3600},)" + kInt +
                                R"(upload_interval","value":0},)" + kBool +
                                R"(upload_event","value":false})"));

    // Out-of-day and negative values stay on one clock both ways.
    p.start = -60;
    p.end = 86400 * 3;
    const std::string body = bodyOf([&] { return vcam_control_set_passflow(session_, &p); });
    EXPECT_NE(body.find(R"("value":"0 59 15 ? * *")"), std::string::npos) << body;
    EXPECT_NE(body.find(R"("name":"duration","value":259260})"), std::string::npos) << body;
    // A span beyond 32 bits is sent as it is; the camera refuses it.
    p.start = INT32_MIN;
    p.end = INT32_MAX;
    std::vector<std::string> bodies;
    EXPECT_EQ(run([&] { return vcam_control_set_passflow(session_, &p); }, &bodies), 3002);
    ASSERT_EQ(bodies.size(), 1u);
    EXPECT_NE(bodies[0].find(R"("value":"52 45 12 ? * *")"), std::string::npos) << bodies[0];
    EXPECT_NE(bodies[0].find(R"("name":"duration","value":4294967295})"), std::string::npos);
}

TEST_F(SettingsTest, PassflowHostileSchedulesKeepStartAndEnd) {
    struct Case {
        const char* crontab;
        const char* duration;
        int32_t start, end;
    } cases[] = {
        {R"("5 0 -9 ? * *")", "10", 5 + 23 * 3600, 15 + 23 * 3600},  // hour -9 is 23 local
        {R"("0 30 1")", "10", 34200, 34210},                         // the hour ends the text
        {R"("0 30")", "10", 0, 0},                                   // too few fields
        {R"("0 x 1 ? * *")", "10", 0, 0},
        {R"("0 0 99999999999 ? * *")", "10", 0, 0},
        {R"("0 0 0 ? * *")", "9223372036854775807", 0, 0},  // end beyond int
        {R"("2147483647 0 0 ? * *")", "0", 0, 0},           // start beyond int
        {R"("0 0 0 ? * *")", R"("3600")", 28800, 28800},    // duration of the wrong kind
    };
    for (const Case& c : cases) {
        vcam_passflow_config p;
        std::memset(&p, 0x5A, sizeof p);
        canned(reply("passflow", 0,
                     param("crontab", c.crontab) + "," + param("duration", c.duration)));
        ASSERT_EQ(vcam_control_get_passflow(session_, &p), 0) << c.crontab;
        EXPECT_EQ(p.start, c.start) << c.crontab;
        EXPECT_EQ(p.end, c.end) << c.crontab;
    }
}

TEST_F(SettingsTest, PassflowLinesRoundTripAndAreCappedAt32) {
    vcam_passflow_config p{};
    ASSERT_EQ(vcam_control_get_passflow(session_, &p), 0);  // the camera's defaults
    EXPECT_EQ(p.line_count, 1);
    EXPECT_EQ(p.lines[0].x2, 1820);
    EXPECT_EQ(p.start, 0);  // "0 0 16": midnight
    EXPECT_EQ(p.end, 86399);
    EXPECT_TRUE(p.upload_event);

    p.line_count = 40;
    for (int i = 0; i < VCAM_PASSFLOW_LINES; ++i)
        p.lines[i] = {i, i, 1, 2, 3, 0, 1};
    p.start = 3600;
    p.end = 7200;
    ASSERT_EQ(vcam_control_set_passflow(session_, &p), 0);
    vcam_passflow_config back{};
    ASSERT_EQ(vcam_control_get_passflow(session_, &back), 0);
    EXPECT_EQ(back.line_count, 32);
    EXPECT_EQ(back.lines[31].id, 31);
    EXPECT_EQ(back.lines[31].linetype, 1);
    EXPECT_EQ(back.start, 3600);
    EXPECT_EQ(back.end, 7200);
}

// ---- Capability ----

TEST_F(SettingsTest, CapabilityCountsEveryNameAndCopies256Cut) {
    vcam_smart_capability cap;
    std::memset(&cap, 0x5A, sizeof cap);
    ASSERT_EQ(vcam_control_get_smart_capability(session_, &cap), 0);
    EXPECT_EQ(cap.count, 5);
    EXPECT_STREQ(cap.entries[4].name, "linkage");
    EXPECT_EQ(cap.entries[5].name[0], '\0');

    std::string names = "\"" + std::string(300, 'm') + "\"";
    for (int i = 1; i < 300; ++i)
        names += ",\"module" + std::to_string(i) + "\"";
    canned(reply("capabi", 0, param("module_list", "[" + names + "]")));
    ASSERT_EQ(vcam_control_get_smart_capability(session_, &cap), 0);
    EXPECT_EQ(cap.count, 300);
    EXPECT_EQ(std::string(cap.entries[0].name), std::string(255, 'm'));
    EXPECT_STREQ(cap.entries[255].name, "module255");
    EXPECT_EQ(cap.entries[255].reserved, 0);
}

}  // namespace
