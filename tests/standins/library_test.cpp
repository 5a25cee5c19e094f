// Face libraries and pictures as a client sees them over HTTP.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "util/crypto.h"

namespace {

using testsupport::HttpClient;
using testsupport::makeJpeg;
using testsupport::Reply;

const std::string kBase = "/api/v1/recognize/";

class LibraryTest : public testsupport::CameraTest {
protected:
    HttpClient& connect(camsim::CameraConfig config = {}) {
        camsim::Camera& cam = startCamera(config);
        camera_ = &cam;
        client_ = std::make_unique<HttpClient>(cam.config().address, "admin", "admin");
        return *client_;
    }
    Json::Value call(const std::string& path, const Json::Value& body) {
        Reply r = client_->postJson(kBase + path, body);
        EXPECT_EQ(r.status, 200) << path << ": " << r.body;
        return r.json();
    }
    std::string createLibrary(const std::string& name) {
        Json::Value body;
        body["name"] = name;
        body["threshold"] = 80;
        return call("add_fdlib", body)["data"]["libid"].asString();
    }
    Json::Value upload(const std::string& libid, const std::string& picture,
                       const std::string& md5 = "") {
        Reply r = client_->upload(kBase + "fdlib/add_img", picture,
                                  {"name:" + camsim::base64Encode("p.jpg"),
                                   "md5:" + (md5.empty() ? camsim::md5HexUpper(picture) : md5),
                                   "libid:" + libid, "encoding:0"});
        return r.json();
    }
    Json::Value library(const std::string& libid) {
        Json::Value body;
        body["libid"] = libid;
        return call("get_fdlib", body);
    }

    camsim::Camera* camera_ = nullptr;
    std::unique_ptr<HttpClient> client_;
};

TEST_F(LibraryTest, AtMostTwoLibrariesWithDistinctNames) {
    connect();
    std::string a = createLibrary("staff");
    std::string b = createLibrary("visitors");
    EXPECT_NE(a, b);
    Json::Value third;
    third["name"] = "more";
    third["threshold"] = 70;
    EXPECT_EQ(call("add_fdlib", third)["code"].asInt(), 2001);

    Json::Value rename;
    rename["libid"] = b;
    rename["name"] = "staff";
    rename["threshold"] = 90;
    EXPECT_EQ(call("update_fdlib", rename)["code"].asInt(), 1020);
    rename["name"] = "guests";
    EXPECT_EQ(call("update_fdlib", rename)["code"].asInt(), 0);

    Json::Value found = library(b);
    EXPECT_EQ(found["data"]["name"].asString(), "guests");
    EXPECT_EQ(found["data"]["threshold"].asInt(), 90);
    EXPECT_EQ(found["data"]["imgnum"].asInt(), 0);

    Json::Value del;
    del["libid"] = a;
    EXPECT_EQ(call("del_fdlib", del)["code"].asInt(), 0);
    EXPECT_EQ(call("del_fdlib", del)["code"].asInt(), 2012);
    Json::Value list = client_->get(kBase + "list_fdlib").json();
    ASSERT_EQ(list["data"].size(), 1u);
    EXPECT_EQ(list["data"][0]["libid"].asString(), b);
}

TEST_F(LibraryTest, BadBodiesAreAnsweredWithMinusOne) {
    connect();
    EXPECT_EQ(client_->post(kBase + "add_fdlib", "not json").json()["code"].asInt(), -1);
    EXPECT_EQ(client_->post(kBase + "add_fdlib", "[1,2]").json()["code"].asInt(), -1);
    EXPECT_EQ(
        client_->post(kBase + "add_fdlib", "{\"name\":5,\"threshold\":1}").json()["code"].asInt(),
        -1);
    EXPECT_EQ(client_->post(kBase + "add_fdlib", "{\"name\":\"x\",\"threshold\":101}")
                  .json()["code"]
                  .asInt(),
              -1);
    const std::string longName(64, 'n');
    EXPECT_EQ(client_->post(kBase + "add_fdlib", "{\"name\":\"" + longName + "\",\"threshold\":1}")
                  .json()["code"]
                  .asInt(),
              -1);
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    EXPECT_EQ(client_->post(kBase + "add_fdlib", deep).json()["code"].asInt(), -1);
    EXPECT_EQ(client_->get("/no/such/path").status, 404);
    EXPECT_TRUE(camera_->faces().snapshot().empty());
}

TEST_F(LibraryTest, LockRefusesChangesButNotReads) {
    connect();
    std::string libid = createLibrary("staff");
    EXPECT_EQ(client_->post(kBase + "fdlib/lock", "").json()["code"].asInt(), 0);
    EXPECT_EQ(upload(libid, makeJpeg(200, 200))["code"].asInt(), 2005);
    Json::Value del;
    del["libid"] = libid;
    EXPECT_EQ(call("del_all_img", del)["code"].asInt(), 2005);
    EXPECT_EQ(call("del_fdlib", del)["code"].asInt(), 2005);
    EXPECT_EQ(library(libid)["code"].asInt(), 0);
    EXPECT_EQ(client_->post(kBase + "fdlib/unlock", "").json()["code"].asInt(), 0);
    EXPECT_EQ(upload(libid, makeJpeg(200, 200))["code"].asInt(), 0);
}

TEST_F(LibraryTest, UploadChecksDigestFormatSizeAndLibrary) {
    camsim::CameraConfig config;
    config.maxImageBytes = 4096;
    connect(config);
    std::string libid = createLibrary("staff");
    EXPECT_EQ(upload(libid, "GIF89a not a jpeg")["code"].asInt(), 2020);
    EXPECT_EQ(upload(libid, makeJpeg(200, 200), std::string(32, 'A'))["code"].asInt(), 2020);
    EXPECT_EQ(upload(libid, makeJpeg(200, 200, std::string(5000, 'x')))["code"].asInt(), 2020);
    EXPECT_EQ(upload("99", makeJpeg(200, 200))["code"].asInt(), 2012);
    Reply noHeaders = client_->upload(kBase + "fdlib/add_img", makeJpeg(200, 200), {});
    EXPECT_EQ(noHeaders.json()["code"].asInt(), -1);
    EXPECT_EQ(camera_->faces().counts(libid).imgnum, 0);
    // The digest is compared exactly: the right one in lower case is refused.
    std::string picture = makeJpeg(200, 200);
    std::string lower = camsim::md5HexUpper(picture);
    for (char& c : lower)
        c = static_cast<char>(std::tolower(c));
    EXPECT_EQ(upload(libid, picture, lower)["code"].asInt(), 2020);
    EXPECT_EQ(upload(libid, picture)["code"].asInt(), 0);
}

// A request in another method or with another body type than the path takes is a bad request
// and changes nothing, whatever its body says.
TEST_F(LibraryTest, WrongMethodOrBodyTypeIsABadRequest) {
    HttpClient& client = connect();
    const std::string json = "{\"name\":\"staff\",\"threshold\":80}";
    const struct {
        const char* what;
        Reply reply;
    } cases[] = {
        {"GET of a JSON call", client.get(kBase + "fdlib/lock")},
        {"picture body to a JSON call", client.upload(kBase + "add_fdlib", json, {})},
        {"POST to a listing", client.post(kBase + "list_fdlib", "{}")},
        {"POST of the smart log", client.post("/common/smart_log", "{}")},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(k.reply.status, 200) << k.what;
        EXPECT_EQ(k.reply.json()["code"].asInt(), -1) << k.what << ": " << k.reply.body;
    }
    // Neither locked nor created anything.
    EXPECT_EQ(client.get(kBase + "list_fdlib").json()["data"].size(), 0u);
    EXPECT_EQ(client.post(kBase + "add_fdlib", json).json()["code"].asInt(), 0);
}

TEST_F(LibraryTest, PicturesAreUpdatedFoundListedServedAndDeleted) {
    connect();
    std::string libid = createLibrary("staff");
    std::vector<int64_t> ids;
    for (int i = 0; i < 5; ++i)
        ids.push_back(upload(libid, makeJpeg(200 + i, 200))["data"]["imgid"].asInt64());
    Json::Value update;
    update["imgid"] = static_cast<Json::Int64>(ids[2]);
    update["libid"] = libid;
    update["uid"] = "u-2";
    update["name"] = "Wang Fang";
    for (int i = 1; i <= 5; ++i)
        update["ext" + std::to_string(i)] = "e" + std::to_string(i);
    EXPECT_EQ(call("fdlib/update_img", update)["code"].asInt(), 0);

    Json::Value find;
    find["libid"] = libid;
    find["imgid"] = static_cast<Json::Int64>(ids[2]);
    Json::Value image = call("fdlib/get_img", find)["data"];
    EXPECT_EQ(image["name"].asString(), "Wang Fang");
    EXPECT_EQ(image["uid"].asString(), "u-2");
    EXPECT_EQ(image["ext5"].asString(), "e5");
    EXPECT_EQ(image["status"].asInt(), 0);
    Reply served = client_->getUrl(image["url"].asString());
    EXPECT_EQ(served.status, 200);
    EXPECT_EQ(served.body, makeJpeg(202, 200));

    Json::Value page;
    page["libid"] = libid;
    page["page_num"] = 2;
    page["page_size"] = 2;
    Json::Value listed = call("fdlib/list_img", page)["data"];
    EXPECT_EQ(listed["pagination"]["total"].asInt(), 5);
    ASSERT_EQ(listed["record"].size(), 2u);
    EXPECT_EQ(listed["record"][0]["imgid"].asInt64(), ids[2]);
    page["page_num"] = 3;
    EXPECT_EQ(call("fdlib/list_img", page)["data"]["record"].size(), 1u);
    page["page_num"] = 1;
    page["filter"][0]["name"] = "name";
    page["filter"][0]["value"] = "Fang";
    listed = call("fdlib/list_img", page)["data"];
    EXPECT_EQ(listed["pagination"]["total"].asInt(), 1);

    Json::Value del;
    del["libid"] = libid;
    del["imgid"] = static_cast<Json::Int64>(ids[2]);
    EXPECT_EQ(call("fdlib/del_img", del)["code"].asInt(), 0);
    EXPECT_EQ(call("fdlib/del_img", del)["code"].asInt(), 2010);
    EXPECT_EQ(client_->getUrl(image["url"].asString()).status, 404);
    Json::Value all;
    all["libid"] = libid;
    EXPECT_EQ(call("del_all_img", all)["code"].asInt(), 0);
    EXPECT_EQ(library(libid)["data"]["imgnum"].asInt(), 0);
}

TEST_F(LibraryTest, ExtractionTakesTimeAndMarksEveryPicture) {
    camsim::CameraConfig config;
    config.extractMsPerImage = 40;
    connect(config);
    std::string libid = createLibrary("staff");
    for (int i = 0; i < 4; ++i)
        upload(libid, makeJpeg(300, 300 + i));
    upload(libid, makeJpeg(60, 60));  // too small to hold a usable face
    Json::Value extract;
    extract["libid"] = libid;
    EXPECT_EQ(call("fdlib/extract", extract)["code"].asInt(), 0);
    EXPECT_EQ(call("fdlib/extract", extract)["code"].asInt(), 2013);

    Json::Value counts;
    for (int round = 0; round < 200; ++round) {  // bounded: at most 10 s
        counts = library(libid)["data"];
        if (counts["extractnum"].asInt() + counts["errornum"].asInt() == 5) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(counts["imgnum"].asInt(), 5);
    EXPECT_EQ(counts["extractnum"].asInt(), 4);
    EXPECT_EQ(counts["errornum"].asInt(), 1);

    Json::Value page;
    page["libid"] = libid;
    page["page_num"] = 1;
    page["page_size"] = 10;
    Json::Value records = call("export_record", page)["data"]["record"];
    ASSERT_EQ(records.size(), 5u);
    const std::string feature = records[0]["feature"].asString();
    EXPECT_EQ(std::count(feature.begin(), feature.end(), ','), 127);
    EXPECT_EQ(records[0]["status"].asInt(), 1);
    EXPECT_EQ(records[4]["status"].asInt(), 2);
    EXPECT_EQ(records[4]["feature"].asString(), "");
    // Extraction of one unknown picture names it.
    extract["imgid"] = 999999;
    EXPECT_EQ(call("fdlib/extract", extract)["code"].asInt(), 2010);
}

}  // namespace
