// The module envelope: reading and writing settings, reboot and reset.
#include <gtest/gtest.h>

#include "support/camera_fixture.h"
#include "support/http_client.h"

namespace {

using testsupport::HttpClient;

class ConfigTest : public testsupport::CameraTest {
protected:
    void SetUp() override {
        camera_ = &startCamera();
        client_ = std::make_unique<HttpClient>(camera_->config().address, "admin", "admin");
    }
    Json::Value envelope(const std::string& action, const Json::Value& modules) {
        Json::Value body;
        body["config"]["action"] = action;
        body["config"]["module"] = modules;
        auto reply = client_->postJson("/common/config", body);
        EXPECT_EQ(reply.status, 200);
        return reply.json();
    }
    Json::Value read(const std::string& module) {
        Json::Value m;
        m[0]["name"] = module;
        return envelope("get_reqt", m)["config"]["module"][0];
    }
    static Json::Value param(const std::string& type, const std::string& name,
                             const Json::Value& v) {
        Json::Value p;
        p["@type"] = "vantor/lumen.type." + type;
        p["name"] = name;
        p["value"] = v;
        return p;
    }
    int write(const std::string& module, const Json::Value& parms) {
        Json::Value m;
        m[0]["name"] = module;
        m[0]["parm"] = parms;
        return envelope("set_reqt", m)["config"]["module"][0]["ret"].asInt();
    }
    static Json::Value valueOf(const Json::Value& module, const std::string& name) {
        for (const auto& p : module["parm"])
            if (p["name"].asString() == name) return p["value"];
        return Json::Value();
    }

    camsim::Camera* camera_ = nullptr;
    std::unique_ptr<HttpClient> client_;
};

TEST_F(ConfigTest, EveryModuleTheSdkNamesIsReadable) {
    for (const char* name :
         {"deviceInfo",     "smartinfo",         "device_status",      "device_diagnose",
          "time",           "network",           "transfer_protocol",  "face_exposure",
          "image_lighting", "image_adjust",      "image_exposure",     "image_focus",
          "image_dnr",      "image_enhance",     "image_whitebalance", "image_backlight",
          "image_defog",    "video_config_main", "video_config_sub",   "video_config_third",
          "capecfg",        "RecogApp",          "recoglinkage",       "passflow",
          "capabi"}) {
        Json::Value m = read(name);
        EXPECT_EQ(m["ret"].asInt(), 0) << name;
        EXPECT_TRUE(m["parm"].isArray() && !m["parm"].empty()) << name;
    }
    Json::Value info = read("smartinfo");
    EXPECT_NE(valueOf(info, "ota").asString().find("RECOG"), std::string::npos);
    EXPECT_EQ(valueOf(read("deviceInfo"), "SerialNo").asString(), camera_->config().serialNo);
    EXPECT_EQ(valueOf(read("network"), "LocalIp").asString(), camera_->config().address);
    EXPECT_EQ(read("no_such_module")["ret"].asInt(), 1);
}

TEST_F(ConfigTest, WritesAreTypedCheckedAndKept) {
    Json::Value parms(Json::arrayValue);
    parms.append(param("Int32", "brightness", 70));
    parms.append(param("Int32", "contrast", 30));
    EXPECT_EQ(write("image_adjust", parms), 0);
    EXPECT_EQ(valueOf(read("image_adjust"), "brightness").asInt(), 70);

    // A wrong tag, a wrong kind or an unknown name refuses the whole module.
    Json::Value wrong(Json::arrayValue);
    wrong.append(param("Int32", "brightness", 10));
    wrong.append(param("String", "contrast", 5));
    EXPECT_EQ(write("image_adjust", wrong), 2);
    EXPECT_EQ(valueOf(read("image_adjust"), "brightness").asInt(), 70);
    Json::Value unknown(Json::arrayValue);
    unknown.append(param("Int32", "nonsense", 1));
    EXPECT_EQ(write("image_adjust", unknown), 2);
    EXPECT_EQ(write("deviceInfo", Json::Value(Json::arrayValue)), 3);  // read only

    Json::Value zones(Json::arrayValue);
    Json::Value zone;
    zone["x1"] = 1;
    zone["y1"] = 2;
    zone["x2"] = 3;
    zone["y2"] = 4;
    zones.append(zone);
    Json::Value capture(Json::arrayValue);
    capture.append(param("Region", "shieldgion", zones));
    capture.append(param("Bool", "hieldregion_working", true));
    capture.append(param("Double", "snapscale", 2));
    EXPECT_EQ(write("capecfg", capture), 0);
    Json::Value cap = read("capecfg");
    EXPECT_EQ(valueOf(cap, "shieldgion")[0]["y2"].asInt(), 4);
    EXPECT_TRUE(valueOf(cap, "hieldregion_working").asBool());
    EXPECT_DOUBLE_EQ(valueOf(cap, "snapscale").asDouble(), 2.0);
    Json::Value fraction(Json::arrayValue);
    fraction.append(param("Double", "snapscale", 1.25));
    EXPECT_EQ(write("capecfg", fraction), 0);  // a decimal stays decimal after an integral write
}

TEST_F(ConfigTest, ClockWritesShiftTheReportedTime) {
    Json::Value parms(Json::arrayValue);
    parms.append(param("UInt64", "cur_time", "1000000000"));
    parms.append(param("String", "sync_model", "manual"));
    EXPECT_EQ(write("time", parms), 0);
    const uint64_t now = std::stoull(valueOf(read("time"), "cur_time").asString());
    EXPECT_GE(now, 1000000000u);
    EXPECT_LT(now, 1000000000u + 60);
    Json::Value huge(Json::arrayValue);
    huge.append(param("UInt64", "cur_time", "99999999999999999999999"));
    EXPECT_EQ(write("time", huge), 2);
}

TEST_F(ConfigTest, MalformedEnvelopesAnswerMinusOneWithAReason) {
    for (const char* body :
         {"", "nonsense", "{}", "{\"config\":[]}", "{\"config\":{\"action\":\"get_reqt\"}}",
          "{\"config\":{\"action\":\"get_reqt\",\"module\":[]}}",
          "{\"config\":{\"action\":\"get_reqt\",\"module\":[{\"nm\":1}]}}",
          "{\"config\":{\"action\":\"explode\",\"module\":[{\"name\":\"time\"}]}}"}) {
        Json::Value reply = client_->post("/common/config", body).json();
        EXPECT_EQ(reply["code"].asInt(), -1) << body;
        EXPECT_FALSE(reply["msg"].asString().empty()) << body;
    }
}

TEST_F(ConfigTest, ResetRestoresDefaultsAndRebootIsCounted) {
    Json::Value parms(Json::arrayValue);
    parms.append(param("Int32", "brightness", 5));
    ASSERT_EQ(write("image_adjust", parms), 0);
    const std::string reset =
        "{\"config\":{\"action\":\"reset\",\"module\":[{\"name\":\"device_control\"}]}}";
    EXPECT_EQ(client_->post("/common/control", reset).body, "{\"code\":0,\"msg\":\"success\"}");
    EXPECT_EQ(valueOf(read("image_adjust"), "brightness").asInt(), 50);
    const std::string reboot =
        "{\"config\":{\"action\":\"reboot\",\"module\":[{\"name\":\"device_control\"}]}}";
    EXPECT_EQ(client_->post("/common/control", reboot).json()["code"].asInt(), 0);
    EXPECT_EQ(camera_->modules().reboots(), 1);
    EXPECT_EQ(client_
                  ->post("/common/control",
                         "{\"config\":{\"action\":\"reboot\",\"module\":[{\"name\":\"x\"}]}}")
                  .json()["code"]
                  .asInt(),
              -1);
}

}  // namespace
