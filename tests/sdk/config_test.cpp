// The configuration calls of the module envelope through the C interface, against a simulated
// camera: the bytes each call posts (the camera's journal), what it reads back, the failure
// results, and the lines the SDK log gets for them.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "camlink.h"
#include "config/envelope.h"
#include "core/log.h"
#include "support/sdk_session.h"

namespace {

namespace fs = std::filesystem;

const char kConfig[] = "/common/config";
const char kControl[] = "/common/control";
const char kTag[] = "LumenControl::LumenControlClient::";

template <size_t N>
void put(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// {"@type": "vantor/lumen.type.<type>", "name": <name>, "value": <value as JSON text>}
std::string typed(const std::string& type, const std::string& name, const std::string& value) {
    return R"({"@type":"vantor/lumen.type.)" + type + R"(","name":")" + name + R"(","value":)" +
           value + "}";
}

std::string setBody(const std::string& module, const std::vector<std::string>& parms) {
    std::string list;
    for (const auto& p : parms)
        list += (list.empty() ? "" : ",") + p;
    return R"({"config":{"action":"set_reqt","module":[{"name":")" + module + R"(","parm":[)" +
           list + "]}]}}";
}

// A reply of the camera holding one module with the given "parm" array.
std::string moduleReply(const std::string& module, const std::string& parms) {
    return R"({"code":0,"msg":"success","config":{"module":[{"name":")" + module +
           R"(","ret":0,"parm":)" + parms + "}]}}";
}

// The SDK log goes to a private working directory for the whole program run.
class LogDirectory {
public:
    LogDirectory() {
        std::string pattern = (fs::temp_directory_path() / "camlink_config_XXXXXX").string();
        if (::mkdtemp(pattern.data())) dir_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(dir_);
        camlink::logResetForTest(camlink::kLogInfo);
    }
    ~LogDirectory() {
        camlink::logResetForTest(6);
        std::error_code ignored;
        fs::current_path(previous_, ignored);
        fs::remove_all(dir_, ignored);
    }
    // Everything logged so far.
    static std::string text() {
        std::ifstream in("LumenLog_1.log", std::ios::binary);
        std::ostringstream out;
        out << in.rdbuf();
        return out.str();
    }

private:
    fs::path dir_;
    fs::path previous_;
};

const char kError[] = "[  ERROR  ]";
const char kWarning[] = "[ WARNING ]";
const char kInfo[] = "[   INFO  ]";

class ConfigTest : public testsupport::SdkSessionTest {
protected:
    static void SetUpTestSuite() { logDirectory_ = new LogDirectory; }
    static void TearDownTestSuite() {
        delete logDirectory_;
        logDirectory_ = nullptr;
    }

    void SetUp() override {
        SdkSessionTest::SetUp();
        if (HasFatalFailure()) return;
        camera_->journal().clear();
        logMark_ = LogDirectory::text().size();
    }

    void canned(const std::string& body, int status = 200) {
        camera_->setCannedReply(kConfig,
                                camsim::HttpResponse{status, body, "application/json", {}});
    }
    void fault(const char* text) { camera_->addFault(*camsim::parseFault(text)); }
    size_t sent(const char* path = kConfig) const { return camera_->journal().on(path).size(); }

    // The body of the one request the call posted on `path`; the call must succeed.
    std::string bodyOf(const std::function<int()>& call, const char* path = kConfig) {
        camera_->journal().clear();
        EXPECT_EQ(call(), 0);
        const auto entries = camera_->journal().on(path);
        EXPECT_EQ(entries.size(), 1u);
        return entries.size() == 1 ? entries[0].body : std::string();
    }

    // True when a line "[<level>] [<tag><method>: <n>] <text>" was logged since the test began.
    bool logged(const char* level, const std::string& method, const std::string& text) const {
        std::istringstream lines(LogDirectory::text().substr(logMark_));
        const std::string head = std::string(level) + " [" + kTag + method + ": ";
        for (std::string line; std::getline(lines, line);) {
            const size_t at = line.find(head);
            const size_t close = line.find("] ", at == std::string::npos ? 0 : at + head.size());
            if (at != std::string::npos && close != std::string::npos &&
                line.compare(close + 2, std::string::npos, text) == 0)
                return true;
        }
        return false;
    }

    size_t logMark_ = 0;
    static LogDirectory* logDirectory_;
};

LogDirectory* ConfigTest::logDirectory_ = nullptr;

std::string zoneText(const vcam_privacy_zone& z) {
    std::string text;
    for (const auto& r : z.zones)
        text += std::to_string(r.x1) + "," + std::to_string(r.y1) + "," + std::to_string(r.x2) +
                "," + std::to_string(r.y2) + " ";
    return text;
}

// ---- Device information ----

TEST_F(ConfigTest, DeviceReadsFillTheirRecordsFromTheCamera) {
    vcam_device_attr attr;
    std::memset(&attr, 'x', sizeof attr);
    EXPECT_EQ(bodyOf([&] { return vcam_control_device_attr(session_, &attr); }),
              R"({"config":{"action":"get_reqt","module":[{"name":"deviceInfo"},)"
              R"({"name":"smartinfo"}]}})");
    const camsim::CameraConfig& c = camera_->config();
    EXPECT_EQ(std::string(attr.SerialNo), c.serialNo);
    EXPECT_EQ(std::string(attr.DeviceType), c.deviceType);
    EXPECT_STREQ(attr.FirmwareVersion, "V1.2.1 build 190612");
    EXPECT_EQ(std::string(attr.ota), c.firmware);
    EXPECT_STREQ(attr.model, "FR200");
    EXPECT_STREQ(attr.firmware, "1.2.1");
    EXPECT_STREQ(attr.sdk, "3.1.6");
    EXPECT_STREQ(attr.smart, "RECOG-2.0");
    EXPECT_TRUE(logged(kInfo, "getModuleConfig", "Found module: smartinfo"));

    vcam_device_status status{};
    EXPECT_EQ(vcam_control_device_status(session_, &status), 0);
    EXPECT_EQ(status.cpu_rate, 23);
    EXPECT_EQ(status.memory, 41);
    vcam_device_diagnoses diagnoses{};
    EXPECT_EQ(vcam_control_diagnoses(session_, &diagnoses), 0);
    EXPECT_EQ(diagnoses.snapcnt, 1520u);
    EXPECT_EQ(diagnoses.sendcnt, 1498u);
}

TEST_F(ConfigTest, DeviceAttributesNeedBothModulesAndCutLongTexts) {
    const std::string serial(300, 'S');
    vcam_device_attr attr;
    std::memset(&attr, 'x', sizeof attr);
    canned(moduleReply("deviceInfo", R"([{"name":"SerialNo","value":"A"}])"));
    EXPECT_EQ(vcam_control_device_attr(session_, &attr), 13);
    EXPECT_TRUE(logged(kError, "controlDeviceAttr", "cant get deviceInfo and smartinfo config."));
    EXPECT_EQ(attr.SerialNo[0], 'x');  // a failed read leaves the record alone

    // Two answers for one name count twice; the one nearer the front is the one read.
    canned(R"({"code":0,"config":{"module":[)"
           R"({"name":"deviceInfo","ret":0,"parm":[{"name":"SerialNo","value":")" +
           serial +
           R"("}]},)"
           R"({"name":"deviceInfo","ret":0,"parm":[{"name":"SerialNo","value":"back"}]}]}})");
    EXPECT_EQ(vcam_control_device_attr(session_, &attr), 0);
    EXPECT_EQ(std::string(attr.SerialNo), serial.substr(0, 255));
    EXPECT_STREQ(attr.ota, "");  // the record was cleared before the fill
}

// ---- Envelope failures as the calls report them ----

TEST_F(ConfigTest, EnvelopeRefusesBadArgumentsBeforeSending) {
    LumenControl::LumenControlClient client;  // never logged in: nothing could be sent anyway
    std::vector<Json::Value> found;
    EXPECT_EQ(camlink::getModuleConfig(client, {}, found), -1000);
    EXPECT_TRUE(logged(kWarning, "getModuleConfig", "module name list empty."));
    EXPECT_EQ(camlink::setModuleConfig(client, {}, {}), -1000);
    EXPECT_TRUE(logged(kWarning, "setModuleConfig", "module name list empty."));
    EXPECT_EQ(camlink::setModuleConfig(client, {"time"}, {Json::Value(5)}), -1000);
    EXPECT_EQ(camlink::setModuleConfig(client, {"time", "network"}, {Json::Value()}), -1000);
    EXPECT_TRUE(logged(kError, "setModuleConfig", "Bad Paramter!"));
}

TEST_F(ConfigTest, ModuleNotAnsweredGives13WithTheCallsOwnText) {
    vcam_device_status status{7, 9};
    canned(R"({"code":0,"config":{"module":[{"name":"device_status","ret":1}]}})");
    EXPECT_EQ(vcam_control_device_status(session_, &status), 13);
    EXPECT_TRUE(logged(kError, "controlDeviceStatus", "cant get device_status."));
    EXPECT_EQ(status.cpu_rate, 7);

    vcam_time_config time{};
    time.time_zone = 5;
    canned(R"({"code":0,"config":{"module":[{"name":"time","ret":1}]}})");
    EXPECT_EQ(vcam_control_get_time(session_, &time), 13);
    EXPECT_TRUE(logged(kError, "controlDeviceGetTime", "cant get time."));
    EXPECT_EQ(time.time_zone, 0);  // this export clears before asking

    vcam_living_detect living{};
    EXPECT_EQ(vcam_control_get_living_detect(session_, &living), 13);
    EXPECT_TRUE(logged(kError, "getAlivingDetectCfg", "get living config failed."));
}

TEST_F(ConfigTest, RefusedOrEmptyRepliesGive4000) {
    vcam_image_defog defog{};
    canned(R"({"code":-1,"msg":"bad module list"})");
    EXPECT_EQ(vcam_control_get_defog(session_, &defog), 4000);
    EXPECT_TRUE(logged(kError, "getModuleConfig", "Get config failed: bad module list"));
    EXPECT_EQ(vcam_control_set_defog(session_, &defog), 4000);
    EXPECT_TRUE(logged(kError, "setModuleConfig", "Get config failed: bad module list"));

    for (const char* reply : {R"({"code":0,"config":{"module":[]}})", R"({"code":0})",
                              R"({"code":0,"config":{"module":{"name":"image_defog"}}})", "[1]"}) {
        canned(reply);
        EXPECT_EQ(vcam_control_get_defog(session_, &defog), 4000) << reply;
    }
    EXPECT_TRUE(logged(kError, "getModuleConfig", "No module config response"));
}

TEST_F(ConfigTest, WriteMustBeConfirmedExactlyOnce) {
    vcam_image_defog defog{1, 3};
    canned(R"({"code":0,"config":{"module":[{"name":"image_defog","ret":0},)"
           R"({"name":"image_defog","ret":0}]}})");
    EXPECT_EQ(vcam_control_set_defog(session_, &defog), 13);
    EXPECT_TRUE(logged(kError, "setImageDefog", "Set module config failed."));

    canned(R"({"code":0,"config":{"module":[{"name":"image_defog","ret":2}]}})");
    EXPECT_EQ(vcam_control_set_defog(session_, &defog), 13);
    canned(
        R"({"code":0,"config":{"module":[{"name":"image_defog"}]}})");  // no "ret": no confirmation
    EXPECT_EQ(vcam_control_set_defog(session_, &defog), 13);
}

TEST_F(ConfigTest, TransportFailuresComeBackAsTheirResult) {
    vcam_transfer_protocol ports{};
    fault("status:500@/common/config#2");
    EXPECT_EQ(vcam_control_get_transfer_protocol(session_, &ports), 500);
    EXPECT_TRUE(logged(kError, "getModuleConfig", "request failed, status code is :500"));
    ports = {80, 443, 554, 8000};
    EXPECT_EQ(vcam_control_set_transfer_protocol(session_, &ports), 500);

    fault("malformed@/common/config#1");
    EXPECT_EQ(vcam_control_get_transfer_protocol(session_, &ports), 13);
    EXPECT_TRUE(logged(kError, "getModuleConfig", "Json parse failed"));
    EXPECT_EQ(ports.http_port, 80u);

    EXPECT_EQ(vcam_control_get_transfer_protocol(session_ + 100, &ports), 10);
    EXPECT_EQ(vcam_control_get_transfer_protocol(session_, nullptr), 18);
    EXPECT_EQ(sent(), 3u);
}

// ---- Clock ----

TEST_F(ConfigTest, SetTimeSendsTheZoneOnlyForNetworkTime) {
    vcam_time_config t{};
    t.cur_time = 1700000000;
    t.sync_model = 2;
    t.zone_unit = true;
    t.time_zone = -5;
    t.time_zone_second = 3600;
    t.no_nvr_modify = true;
    put(t.sntp_server, "pool.example");
    auto set = [&] { return vcam_control_set_time(session_, &t); };
    const std::string head = typed("UInt64", "cur_time", R"("1700000000")");
    const std::string tail = typed("Bool", "no_nvr_modify", "true") + "," +
                             typed("String", "sntp_server", R"("pool.example")");
    const std::string ntp = typed("String", "sync_model", R"("ntp")");
    EXPECT_EQ(bodyOf(set), setBody("time", {head, ntp, typed("Int32", "time_zone", "-5"), tail}));
    t.zone_unit = false;
    EXPECT_EQ(bodyOf(set),
              setBody("time", {head, ntp, typed("Int32", "time_zone_second", "3600"), tail}));
    t.sync_model = 0;
    t.zone_unit = true;
    EXPECT_EQ(bodyOf(set),
              setBody("time", {head, typed("String", "sync_model", R"("manual")"), tail}));
}

TEST_F(ConfigTest, SetTimeChecksRangesAndModeBeforeSending) {
    vcam_time_config t{};
    t.sync_model = 2;
    for (int hours : {-25, 25}) {
        t.time_zone = hours;
        EXPECT_EQ(vcam_control_set_time(session_, &t), 18) << hours;
    }
    t.time_zone = 0;
    for (int seconds : {-43201, 43201}) {
        t.time_zone_second = seconds;
        EXPECT_EQ(vcam_control_set_time(session_, &t), 18) << seconds;
    }
    t.time_zone_second = 0;
    for (int mode : {-1, 1, 3}) {
        t.sync_model = mode;
        EXPECT_EQ(vcam_control_set_time(session_, &t), 18) << mode;
    }
    EXPECT_EQ(sent(), 0u);

    t.sync_model = 2;
    t.time_zone = -24;
    t.time_zone_second = -43200;
    EXPECT_EQ(vcam_control_set_time(session_, &t), 0);
    t.time_zone = 24;
    t.time_zone_second = 43200;
    EXPECT_EQ(vcam_control_set_time(session_, &t), 0);
    EXPECT_EQ(sent(), 2u);
}

TEST_F(ConfigTest, TimeRoundTripsThroughTheCamera) {
    vcam_time_config t{};
    t.cur_time = 1700000000;
    t.sync_model = 2;
    t.zone_unit = true;
    t.time_zone = -7;
    t.no_nvr_modify = true;
    put(t.sntp_server, "time.lan");
    ASSERT_EQ(vcam_control_set_time(session_, &t), 0);
    t.zone_unit = false;
    t.time_zone_second = -3600;
    ASSERT_EQ(vcam_control_set_time(session_, &t), 0);

    vcam_time_config back;
    std::memset(&back, 0x7f, sizeof back);
    ASSERT_EQ(vcam_control_get_time(session_, &back), 0);
    EXPECT_GE(back.cur_time, 1700000000u);  // the camera's clock runs on from the time set
    EXPECT_LT(back.cur_time, 1700000000u + 600);
    EXPECT_EQ(back.sync_model, 2);
    EXPECT_EQ(back.time_zone, -7);
    EXPECT_EQ(back.time_zone_second, -3600);
    EXPECT_TRUE(back.no_nvr_modify);
    EXPECT_FALSE(back.zone_unit);
    EXPECT_STREQ(back.sntp_server, "time.lan");
}

TEST_F(ConfigTest, UnknownSyncModeReadsAs3WithAWarning) {
    vcam_time_config t{};
    canned(moduleReply("time", R"([{"name":"sync_model","value":"gps"}])"));
    EXPECT_EQ(vcam_control_get_time(session_, &t), 0);
    EXPECT_EQ(t.sync_model, 3);
    EXPECT_TRUE(logged(kWarning, "controlDeviceGetTime", "Sync mode parameter is not recognized!"));
    canned(moduleReply("time", R"([{"name":"sync_model","value":"pc"}])"));
    EXPECT_EQ(vcam_control_get_time(session_, &t), 0);
    EXPECT_EQ(t.sync_model, 1);
}

// A value of another kind than the parameter's is treated as absent; nothing throws.
TEST_F(ConfigTest, ValuesOfTheWrongKindAreAbsent) {
    vcam_time_config t;
    std::memset(&t, 0x7f, sizeof t);
    canned(moduleReply("time", R"([{"name":"cur_time","value":"12ab"},)"
                               R"({"name":"sync_model","value":2},)"
                               R"({"name":"time_zone","value":"8"},)"
                               R"({"name":"time_zone_second","value":3000000000},)"
                               R"({"name":"no_nvr_modify","value":"yes"},)"
                               R"({"name":"sntp_server","value":7}, 5, {"name":1}])"));
    ASSERT_EQ(vcam_control_get_time(session_, &t), 0);
    EXPECT_EQ(t.cur_time, 0u);
    EXPECT_EQ(t.sync_model, 0);
    EXPECT_EQ(t.time_zone, 0);
    EXPECT_EQ(t.time_zone_second, 0);
    EXPECT_FALSE(t.no_nvr_modify);
    EXPECT_STREQ(t.sntp_server, "");

    for (const char* value : {R"("18446744073709551617")", R"("")", R"("-1")", R"(" 1")", "12"}) {
        canned(moduleReply("time", std::string(R"([{"name":"cur_time","value":)") + value + "}]"));
        ASSERT_EQ(vcam_control_get_time(session_, &t), 0);
        EXPECT_EQ(t.cur_time, 0u) << value;
    }
    canned(moduleReply("time", R"([{"name":"cur_time","value":"18446744073709551615"}])"));
    ASSERT_EQ(vcam_control_get_time(session_, &t), 0);
    EXPECT_EQ(t.cur_time, 18446744073709551615u);

    vcam_transfer_protocol ports{};
    canned(moduleReply("transfer_protocol", R"([{"name":"http_port","value":-1},)"
                                            R"({"name":"rtsp_port","value":554.5},)"
                                            R"({"name":"onvif_port","value":8000}])"));
    ASSERT_EQ(vcam_control_get_transfer_protocol(session_, &ports), 0);
    EXPECT_EQ(ports.http_port, 0u);
    EXPECT_EQ(ports.rtsp_port, 0u);
    EXPECT_EQ(ports.onvif_port, 8000u);

    vcam_privacy_zone zones{};
    canned(moduleReply("capecfg", R"([{"name":"shieldgion","value":{"x1":1}},)"
                                  R"({"name":"hieldregion_working","value":[true]}])"));
    EXPECT_EQ(vcam_control_get_privacy_zone(session_, &zones), 0);
    EXPECT_EQ(zones.zones[0].x1, 0);
    canned(moduleReply("capecfg", R"("not a list")"));
    EXPECT_EQ(vcam_control_get_privacy_zone(session_, &zones), 0);
}

// ---- Network and service ports ----

TEST_F(ConfigTest, NetworkAndPortsRoundTrip) {
    vcam_network_config net{};
    const char* const texts[] = {"02:00:00:aa:bb:cc", "10.1.2.3", "255.255.0.0",
                                 "10.1.0.1",          "10.1.0.2", "9.9.9.9"};
    char(*fields[])[64] = {&net.MacAddress, &net.LocalIp, &net.NetMask,
                           &net.GateWay,    &net.Dns1,    &net.Dns2};
    for (int i = 0; i < 6; ++i)
        put(*fields[i], texts[i]);
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_network(session_, &net); }),
              setBody("network", {typed("String", "MacAddress", R"("02:00:00:aa:bb:cc")"),
                                  typed("String", "LocalIp", R"("10.1.2.3")"),
                                  typed("String", "NetMask", R"("255.255.0.0")"),
                                  typed("String", "GateWay", R"("10.1.0.1")"),
                                  typed("String", "Dns1", R"("10.1.0.2")"),
                                  typed("String", "Dns2", R"("9.9.9.9")")}));
    vcam_network_config back;
    std::memset(&back, 'x', sizeof back);
    ASSERT_EQ(vcam_control_get_network(session_, &back), 0);
    EXPECT_EQ(std::memcmp(&back, &net, sizeof net), 0);

    vcam_transfer_protocol ports{8080, 8443, 1554, 9000};
    EXPECT_EQ(
        bodyOf([&] { return vcam_control_set_transfer_protocol(session_, &ports); }),
        setBody("transfer_protocol",
                {typed("UInt32", "http_port", "8080"), typed("UInt32", "https_port", "8443"),
                 typed("UInt32", "rtsp_port", "1554"), typed("UInt32", "onvif_port", "9000")}));
    vcam_transfer_protocol portsBack{};
    ASSERT_EQ(vcam_control_get_transfer_protocol(session_, &portsBack), 0);
    EXPECT_EQ(std::memcmp(&portsBack, &ports, sizeof ports), 0);
}

TEST_F(ConfigTest, ZeroPortIsRefusedWithoutARequest) {
    using P = vcam_transfer_protocol;
    for (uint32_t P::*port : {&P::http_port, &P::https_port, &P::rtsp_port, &P::onvif_port}) {
        P ports{80, 443, 554, 8000};
        ports.*port = 0;
        EXPECT_EQ(vcam_control_set_transfer_protocol(session_, &ports), 18);
    }
    EXPECT_EQ(sent(), 0u);
}

// ---- Image settings ----

TEST_F(ConfigTest, BacklightAndDefogRoundTrip) {
    vcam_image_backlight light{true, 7};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_backlight(session_, &light); }),
              setBody("image_backlight", {typed("Int32", "backlight_enable", "1"),
                                          typed("Int32", "backlight_level", "7")}));
    vcam_image_backlight lightBack{false, 0};
    ASSERT_EQ(vcam_control_get_backlight(session_, &lightBack), 0);
    EXPECT_TRUE(lightBack.backlight_enable);
    EXPECT_EQ(lightBack.backlight_level, 7u);

    vcam_image_defog defog{1, 9};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_defog(session_, &defog); }),
              setBody("image_defog",
                      {typed("Int32", "defog_enable", "1"), typed("Int32", "defog_level", "9")}));
    vcam_image_defog defogBack{};
    ASSERT_EQ(vcam_control_get_defog(session_, &defogBack), 0);
    EXPECT_EQ(defogBack.defog_enable, 1);
    EXPECT_EQ(defogBack.defog_level, 9);
}

TEST_F(ConfigTest, VideoStreamSelectsTheModule) {
    vcam_video_config v{};
    v.stream = 3;
    EXPECT_EQ(vcam_control_set_video_config(session_, &v), 18);
    EXPECT_EQ(vcam_control_get_video_config(session_, &v), 18);
    EXPECT_EQ(sent(), 0u);

    v = {4, 1, 60, 20, 2048, true, 1, 2};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_video_config(session_, &v); }),
              setBody("video_config_sub",
                      {typed("Int32", "iframe_interval", "60"), typed("Int32", "frame_rate", "20"),
                       typed("Int32", "bit_rate", "2048"), typed("Int32", "is_variable_rate", "1"),
                       typed("Int32", "encodetype", "4"), typed("Int32", "profile", "1"),
                       typed("Int32", "resolution", "2")}));
    vcam_video_config back{9, 1, 9, 9, 9, false, 9, 9};
    ASSERT_EQ(vcam_control_get_video_config(session_, &back), 0);
    EXPECT_EQ(back.encodetype, 4);
    EXPECT_EQ(back.stream, 1u);
    EXPECT_EQ(back.iframe_interval, 60);
    EXPECT_EQ(back.frame_rate, 20);
    EXPECT_EQ(back.bit_rate, 2048);
    EXPECT_TRUE(back.is_variable_rate);
    EXPECT_EQ(back.profile, 1);
    EXPECT_EQ(back.resolution, 2);

    back.stream = 2;  // the third stream kept its own settings
    ASSERT_EQ(vcam_control_get_video_config(session_, &back), 0);
    EXPECT_EQ(back.stream, 2u);
    EXPECT_EQ(back.frame_rate, 15);
    EXPECT_EQ(back.bit_rate, 512);
    EXPECT_EQ(camera_->journal().on(kConfig).back().body,
              R"({"config":{"action":"get_reqt","module":[{"name":"video_config_third"}]}})");
}

// ---- Smart settings ----

TEST_F(ConfigTest, PrivacyZonesWriteAllFourAndReadWhatIsListed) {
    vcam_privacy_zone z{};
    z.working = true;
    z.zones[0] = {1, 2, 3, 4};
    z.zones[3] = {-5, 6, 700, 800};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_privacy_zone(session_, &z); }),
              setBody("capecfg", {typed("Bool", "hieldregion_working", "true"),
                                  typed("Region", "shieldgion",
                                        R"([{"x1":1,"x2":3,"y1":2,"y2":4},)"
                                        R"({"x1":0,"x2":0,"y1":0,"y2":0},)"
                                        R"({"x1":0,"x2":0,"y1":0,"y2":0},)"
                                        R"({"x1":-5,"x2":700,"y1":6,"y2":800}])")}));
    vcam_privacy_zone back{};
    ASSERT_EQ(vcam_control_get_privacy_zone(session_, &back), 0);
    EXPECT_TRUE(back.working);
    EXPECT_EQ(zoneText(back), zoneText(z));

    canned(moduleReply("capecfg", R"([{"name":"shieldgion","value":[)"
                                  R"({"x1":10,"y1":11,"x2":12,"y2":13},)"
                                  R"({"x1":20,"y1":21,"x2":22,"y2":23}]}])"));
    back.working = true;
    for (auto& zone : back.zones)
        zone = {99, 99, 99, 99};
    ASSERT_EQ(vcam_control_get_privacy_zone(session_, &back), 0);
    EXPECT_FALSE(back.working);
    EXPECT_EQ(zoneText(back), "10,11,12,13 20,21,22,23 0,0,0,0 0,0,0,0 ");
}

TEST_F(ConfigTest, LivenessRoundTrip) {
    vcam_living_detect l{true, 93};
    EXPECT_EQ(bodyOf([&] { return vcam_control_set_living_detect(session_, &l); }),
              setBody("capecfg",
                      {typed("Bool", "living_en", "true"), typed("Int32", "living_thr", "93")}));
    vcam_living_detect back{false, 0};
    ASSERT_EQ(vcam_control_get_living_detect(session_, &back), 0);
    EXPECT_TRUE(back.living_en);
    EXPECT_EQ(back.living_thr, 93);
}

// ---- Reboot and reset ----

TEST_F(ConfigTest, RebootAndResetPostFixedEnvelopes) {
    EXPECT_EQ(bodyOf([&] { return vcam_control_reboot(session_); }, kControl),
              R"({"config":{"action":"reboot","module":[{"name":"device_control"}]}})");
    EXPECT_EQ(camera_->modules().reboots(), 1);

    vcam_image_defog defog{1, 2};
    ASSERT_EQ(vcam_control_set_defog(session_, &defog), 0);
    EXPECT_EQ(bodyOf([&] { return vcam_control_reset_config(session_); }, kControl),
              R"({"config":{"action":"reset","module":[{"name":"device_control"}]}})");
    ASSERT_EQ(vcam_control_get_defog(session_, &defog), 0);
    EXPECT_EQ(defog.defog_level, 5);  // back to the camera's default

    camera_->setCannedReply(kControl, {200, R"({"code":-1,"msg":"busy"})", "application/json", {}});
    EXPECT_EQ(vcam_control_reboot(session_), 4000);
    EXPECT_TRUE(logged(kError, "controlDeviceReboot", "Get config failed: busy"));
    camera_->setCannedReply(kControl, {200, "<html>", "text/html", {}});
    EXPECT_EQ(vcam_control_reset_config(session_), 13);
    EXPECT_TRUE(logged(kError, "controlDeviceResetConfig", "Json parse failed"));
    camera_->setCannedReply(kControl, {503, "", "text/plain", {}});
    EXPECT_EQ(vcam_control_reboot(session_), 503);
    EXPECT_TRUE(logged(kError, "controlDeviceReboot", "request failed, status code is :503"));
}

}  // namespace
