// Whole records in and out of a library, both generations.
#include <gtest/gtest.h>

#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "util/crypto.h"

namespace {

using testsupport::HttpClient;
using testsupport::makeJpeg;

class RecordTest : public testsupport::CameraTest {
protected:
    void SetUp() override {
        camera_ = &startCamera();
        client_ = std::make_unique<HttpClient>(camera_->config().address, "admin", "admin");
        libid_ = camera_->faces().createLibrary("staff", 80).data["libid"].asString();
    }
    Json::Value post(const std::string& path, const Json::Value& body) {
        auto reply = client_->postJson(path, body);
        EXPECT_EQ(reply.status, 200) << reply.body;
        return reply.json();
    }
    Json::Value record(const std::string& uid, const std::string& picture) {
        Json::Value r;
        r["imgid"] = 77;
        r["uid"] = uid;
        r["libid"] = libid_;
        r["name"] = "Li Wei";
        for (int i = 1; i <= 5; ++i)
            r["ext" + std::to_string(i)] = "x" + std::to_string(i);
        r["status"] = 1;
        r["url"] = "http://10.0.0.9:8089/images/77.jpg";
        r["feature"] = "1,2,3";
        r["feature_attr"] = 5;
        r["model_version"] = "0.0.8";
        if (!picture.empty()) r["img_data"] = camsim::base64Encode(picture);
        return r;
    }

    camsim::Camera* camera_ = nullptr;
    std::unique_ptr<HttpClient> client_;
    std::string libid_;
};

TEST_F(RecordTest, ImportedRecordsComeBackInTheExport) {
    const std::string picture = makeJpeg(240, 320);
    Json::Value added = post("/api/v1/recognize/import_record", record("uid-1", picture));
    ASSERT_EQ(added["code"].asInt(), 0) << added;
    EXPECT_EQ(post("/api/v1/recognize/import_record", record("uid-2", ""))["code"].asInt(), 0);
    // The same identifier twice in one library is refused.
    EXPECT_EQ(post("/api/v1/recognize/import_record", record("uid-1", picture))["code"].asInt(),
              1020);

    Json::Value page;
    page["libid"] = libid_;
    page["page_num"] = 1;
    page["page_size"] = 10;
    Json::Value out = post("/api/v1/recognize/export_record", page)["data"];
    EXPECT_EQ(out["pagination"]["total"].asInt(), 2);
    ASSERT_EQ(out["record"].size(), 2u);
    const Json::Value& first = out["record"][0];
    EXPECT_EQ(first["uid"].asString(), "uid-1");
    EXPECT_EQ(first["feature"].asString(), "1,2,3");
    EXPECT_EQ(first["feature_attr"].asInt(), 5);
    EXPECT_EQ(first["model_version"].asString(), "0.0.8");
    EXPECT_EQ(first["ext3"].asString(), "x3");
    EXPECT_NE(first["imgid"].asInt64(), 77);  // the camera gives its own identifier
    EXPECT_EQ(client_->getUrl(first["url"].asString()).body, picture);
    EXPECT_EQ(out["record"][1]["url"].asString(), "");  // imported without a picture
}

TEST_F(RecordTest, ImportRefusesBadPicturesAndIncompleteRecords) {
    Json::Value bad = record("u", "");
    bad["img_data"] = "not base64!";
    EXPECT_EQ(post("/api/v1/recognize/import_record", bad)["code"].asInt(), 2020);
    bad["img_data"] = camsim::base64Encode("plain text");
    EXPECT_EQ(post("/api/v1/recognize/import_record", bad)["code"].asInt(), 2020);
    Json::Value missing = record("u", "");
    missing.removeMember("ext4");
    EXPECT_EQ(post("/api/v1/recognize/import_record", missing)["code"].asInt(), -1);
    Json::Value noFeature = record("u", "");
    noFeature["feature"] = "";
    EXPECT_EQ(post("/api/v1/recognize/import_record", noFeature)["code"].asInt(), -1);
    Json::Value elsewhere = record("u", "");
    elsewhere["libid"] = "42";
    EXPECT_EQ(post("/api/v1/recognize/import_record", elsewhere)["code"].asInt(), 2012);
    EXPECT_EQ(camera_->faces().counts(libid_).imgnum, 0);
}

TEST_F(RecordTest, FeatureVectorsByIdentifier) {
    Json::Value add;
    add["set_name"] = libid_;
    add["id"] = "person-7";
    add["model_version"] = "0.0.8";
    add["features"][0]["url"] = "http://x/1.jpg";
    add["features"][0]["feature"] = "4,5,6";
    EXPECT_EQ(post("/api/v1/recognize/add/id", add)["code"].asInt(), 0);
    EXPECT_EQ(post("/api/v1/recognize/add/id", add)["code"].asInt(), 1020);
    add["features"][0]["feature"] = "7,8,9";
    EXPECT_EQ(post("/api/v1/recognize/add/features", add)["code"].asInt(), 0);

    Json::Value list;
    list["set_name"] = libid_;
    list["id"] = "person-7";
    list["model_version"] = "0.0.8";
    Json::Value features = post("/api/v1/recognize/list/features", list)["data"]["features"];
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0]["feature"].asString(), "4,5,6");
    EXPECT_EQ(features[1]["feature"].asString(), "7,8,9");
    list["id"] = "nobody";
    EXPECT_EQ(post("/api/v1/recognize/list/features", list)["code"].asInt(), 2010);
    add["set_name"] = "99";
    EXPECT_EQ(post("/api/v1/recognize/add/id", add)["code"].asInt(), 2012);
    add["set_name"] = libid_;
    add["features"] = Json::Value(Json::arrayValue);
    EXPECT_EQ(post("/api/v1/recognize/add/features", add)["code"].asInt(), -1);
}

TEST_F(RecordTest, FirstGenerationPathsListAndUpdateWithStatus) {
    camsim::NewImage image;
    image.libid = libid_;
    image.bytes = makeJpeg(200, 200);
    int64_t imgid = camera_->faces().addImage(image).data["imgid"].asInt64();
    Json::Value update;
    update["imgid"] = static_cast<Json::Int64>(imgid);
    update["libid"] = libid_;
    update["uid"] = "p-1";
    update["name"] = "Ana";
    for (int i = 1; i <= 5; ++i)
        update["ext" + std::to_string(i)] = "";
    update["status"] = 1;
    EXPECT_EQ(post("/digest/api/v1/recognize/fdlib/update_img", update)["code"].asInt(), 0);
    Json::Value page;
    page["libid"] = libid_;
    page["page_num"] = 1;
    page["page_size"] = 5;
    Json::Value listed = post("/digest/api/v1/recognize/fdlib/list_img", page)["data"]["record"];
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0]["status"].asInt(), 1);
    EXPECT_EQ(listed[0]["uid"].asString(), "p-1");
}

}  // namespace
