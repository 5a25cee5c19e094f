// Whole records out of and into a camera's library through the C interface, both generations,
// against a simulated camera: the requests in the camera's journal and the records that come
// back.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "support/sdk_session.h"
#include "support/temp_dir.h"
#include "util/crypto.h"

namespace {

using testsupport::parseJson;

const std::string kBase = "/api/v1/recognize/";
const std::string kDigestList = "/digest/api/v1/recognize/fdlib/list_img";
const std::string kDigestUpdate = "/digest/api/v1/recognize/fdlib/update_img";

template <size_t N>
void put(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

template <size_t N>
void fillUnterminated(char (&field)[N], char byte = 'x') {
    std::memset(field, byte, N);
}

// 128 values over the whole 32-bit range, negatives included, and their text as the camera
// stores it.
std::vector<int32_t> sampleValues() {
    std::vector<int32_t> v(128);
    for (int i = 0; i < 128; ++i)
        v[i] = (i % 2 ? -1 : 1) * (i * 16777213 % 2147483000);
    v[0] = INT32_MIN;
    v[1] = INT32_MAX;
    v[2] = 0;
    v[3] = -1;
    return v;
}

std::string joined(const std::vector<int32_t>& values) {
    std::string text;
    for (size_t i = 0; i < values.size(); ++i)
        text += (i ? "," : "") + std::to_string(values[i]);
    return text;
}

// A camera with one library and a session logged in to it, per test.
class RecordCallTest : public testsupport::SdkSessionTest {
protected:
    void SetUp() override {
        SdkSessionTest::SetUp();
        if (HasFatalFailure()) return;
        libid_ = camera_->faces().createLibrary("staff", 80).data["libid"].asString();
    }
    size_t requestCount() const { return camera_->journal().entries().size(); }
    // Paths of the authenticated requests since the journal was cleared, in order.
    std::vector<std::string> pathsSent() const {
        std::vector<std::string> paths;
        for (const auto& e : camera_->journal().entries())
            if (e.authenticated) paths.push_back(e.path);
        return paths;
    }
    std::string onlyBody(const std::string& path) const {
        std::vector<camsim::JournalEntry> sent = camera_->journal().on(path);
        EXPECT_EQ(sent.size(), 1u) << path;
        return sent.size() == 1 ? sent[0].body : "<" + std::to_string(sent.size()) + " requests>";
    }
    int64_t storePicture(const std::string& bytes, const std::string& uid) {
        camsim::NewImage image;
        image.libid = libid_;
        image.uid = uid;
        image.name = uid + ".jpg";
        image.bytes = bytes;
        camsim::StoreResult added = camera_->faces().addImage(image);
        EXPECT_EQ(added.code, 0) << added.msg;
        return added.data["imgid"].asInt64();
    }
    void addFault(const std::string& text) {
        std::optional<camsim::HttpFault> fault = camsim::parseFault(text);
        ASSERT_TRUE(fault) << text;
        camera_->addFault(*fault);
    }
    vcam_image_query page(int size) const {
        vcam_image_query q{};
        std::memcpy(q.libid, libid_.c_str(), libid_.size() + 1);
        q.page_num = 1;
        q.page_size = size;
        return q;
    }

    std::string libid_;
    testsupport::TempDir dir_{"camlink-record"};
};

// ---- Second generation ----

TEST_F(RecordCallTest, ExportV2SendsOnlyThePageAndHandsTheReplyBack) {
    vcam_image_query q = page(0);
    const size_t before = requestCount();
    EXPECT_EQ(vcam_control_export_record_v2(session_, &q), 18);
    q.page_size = -3;
    EXPECT_EQ(vcam_control_export_record_v2(session_, &q), 18);
    q.page_size = 10;
    fillUnterminated(q.libid);
    EXPECT_EQ(vcam_control_export_record_v2(session_, &q), 18);
    EXPECT_EQ(requestCount(), before);

    storePicture(testsupport::makeJpeg(120, 120), "u-1");
    q = page(10);
    q.page_num = 3;
    for (int i = 0; i < VCAM_IMAGE_FILTERS; ++i) {
        put(q.filters[i].name, "name");
        put(q.filters[i].value, "nobody");
    }
    ASSERT_EQ(vcam_control_export_record_v2(session_, &q), 0);
    const std::string body = onlyBody(kBase + "export_record");
    EXPECT_EQ(body, R"({"libid":")" + libid_ + R"(","page_num":3,"page_size":10})");
    testsupport::HttpClient direct(address(), "admin", "admin");
    ASSERT_NE(q.reply, nullptr);
    EXPECT_EQ(std::string(q.reply), direct.post(kBase + "export_record", body).body);
}

TEST_F(RecordCallTest, ImportV2SendsEveryMemberAndThePictureOnlyWhenNamed) {
    vcam_record_v2 r{};
    r.imgid = 77;
    put(r.url, "http://127.0.0.9:8089/images/77.jpg");
    put(r.uid, "u-1");
    put(r.libid, libid_);
    put(r.name, "Li Wei");
    put(r.ext1, "e1");
    put(r.ext5, "e5");
    put(r.feature, "1,-2,3");
    r.feature_attr = -9;
    put(r.model_version, "0.0.8");
    r.status = 1;
    auto body = [&](const std::string& uid, const std::string& picture) {
        return R"({"ext1":"e1","ext2":"","ext3":"","ext4":"","ext5":"e5","feature":"1,-2,3",)"
               R"("feature_attr":-9,)" +
               (picture.empty() ? "" : R"("img_data":")" + picture + "\",") +
               R"("imgid":77,"libid":")" + libid_ +
               R"(","model_version":"0.0.8","name":"Li Wei","status":1,"uid":")" + uid +
               R"(","url":"http://127.0.0.9:8089/images/77.jpg"})";
    };

    ASSERT_EQ(vcam_control_import_record_v2(session_, &r), 0);
    EXPECT_EQ(onlyBody(kBase + "import_record"), body("u-1", ""));
    ASSERT_NE(r.reply, nullptr);
    EXPECT_EQ(parseJson(r.reply)["code"].asInt(), 0) << r.reply;

    camera_->journal().clear();
    put(r.uid, "u-2");
    put(r.path, dir_.write("abc.bin", "ABC"));
    ASSERT_EQ(vcam_control_import_record_v2(session_, &r), 0);
    EXPECT_EQ(onlyBody(kBase + "import_record"), body("u-2", "QUJD"));

    // The model version needs no NUL: it is taken up to its 256 bytes, not into `status`.
    camera_->journal().clear();
    put(r.path, "");
    fillUnterminated(r.model_version, 'm');
    ASSERT_EQ(vcam_control_import_record_v2(session_, &r), 0);
    Json::Value sent = parseJson(onlyBody(kBase + "import_record"));
    EXPECT_EQ(sent["model_version"].asString(), std::string(256, 'm'));
    EXPECT_EQ(sent["status"].asInt(), 1);
}

TEST_F(RecordCallTest, ImportV2RefusesBadFieldsAndPicturesWithoutARequest) {
    // Just above the bound, as a sparse file.
    const std::string big = dir_.path() + "/big.jpg";
    {
        const int fd = ::open(big.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0600);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, 16L * 1024 * 1024 + 1), 0);
        ::close(fd);
    }
    const size_t before = requestCount();
    vcam_record_v2 r{};
    put(r.libid, libid_);
    char* const untouched = reinterpret_cast<char*>(&r);
    r.reply = untouched;
    put(r.path, big);
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    put(r.path, dir_.path() + "/missing.jpg");
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    fillUnterminated(r.path, '/');
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    put(r.path, "");
    fillUnterminated(r.url);
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    put(r.url, "");
    fillUnterminated(r.feature, '1');
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    put(r.feature, "");
    fillUnterminated(r.ext5);
    EXPECT_EQ(vcam_control_import_record_v2(session_, &r), 18);
    EXPECT_EQ(r.reply, untouched);
    EXPECT_EQ(requestCount(), before);
}

TEST_F(RecordCallTest, ImportV2ThenExportV2GivesTheRecordBack) {
    const std::string picture = testsupport::makeJpeg(240, 320);
    vcam_record_v2 r{};
    r.imgid = 5;
    put(r.url, "http://127.0.0.9:8089/images/5.jpg");
    put(r.path, dir_.write("face.jpg", picture));
    put(r.uid, "u-9");
    put(r.libid, libid_);
    put(r.name, "王芳");
    put(r.ext3, "dept 7");
    put(r.feature, "ZmVhdHVyZQ==");
    r.feature_attr = 3;
    put(r.model_version, "1.2.3");
    r.status = 1;
    ASSERT_EQ(vcam_control_import_record_v2(session_, &r), 0);
    ASSERT_EQ(parseJson(r.reply)["code"].asInt(), 0) << r.reply;

    vcam_image_query q = page(10);
    ASSERT_EQ(vcam_control_export_record_v2(session_, &q), 0);
    Json::Value records = parseJson(q.reply)["data"]["record"];
    ASSERT_EQ(records.size(), 1u) << q.reply;
    const Json::Value& out = records[0];
    EXPECT_EQ(out["uid"].asString(), "u-9");
    EXPECT_EQ(out["name"].asString(), "王芳");
    EXPECT_EQ(out["ext3"].asString(), "dept 7");
    EXPECT_EQ(out["status"].asInt(), 1);
    EXPECT_EQ(out["feature"].asString(), "ZmVhdHVyZQ==");
    EXPECT_EQ(out["feature_attr"].asInt64(), 3);
    EXPECT_EQ(out["model_version"].asString(), "1.2.3");

    // The picture travelled too: the exported URL serves the same bytes.
    vcam_image_data_record data{};
    put(data.url, out["url"].asString());
    ASSERT_EQ(vcam_control_image_data(session_, &data), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(data.data), data.size), picture);
}

// ---- First generation ----

class FirstGenerationTest : public RecordCallTest {
protected:
    // An image record for import_record that names a picture on the camera.
    vcam_image_record importRecord(int64_t imgid, const std::string& uid, int64_t status) {
        vcam_image_record r{};
        r.imgid = imgid;
        put(r.uid, uid);
        put(r.libid, libid_);
        put(r.name, "Li Wei");
        put(r.ext2, "x2");
        put(r.feature, joined(sampleValues()));
        r.status = status;
        return r;
    }
    std::string pictureUrl(int64_t imgid) const {
        return "http://" + address() + ":8089/images/" + std::to_string(imgid) + ".jpg";
    }
    // The records of a first-generation export of the library's first page.
    Json::Value exportRecords() {
        vcam_image_query q = page(10);
        EXPECT_EQ(vcam_control_export_record(session_, &q), 0);
        return parseJson(q.reply)["data"]["record"];
    }
};

TEST_F(FirstGenerationTest, FeatureWrittenByImportReadsBackThroughExport) {
    const int64_t imgid = storePicture(testsupport::makeJpeg(120, 120), "");
    const std::string text = joined(sampleValues());
    vcam_image_record r = importRecord(imgid, "u-1", 1);
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_import_record(session_, &r), 0);
    EXPECT_EQ(pathsSent(),
              (std::vector<std::string>{kBase + "fdlib/get_img", kBase + "add/id", kDigestUpdate}));
    EXPECT_EQ(onlyBody(kBase + "fdlib/get_img"),
              R"({"imgid":)" + std::to_string(imgid) + R"(,"libid":")" + libid_ + "\"}");
    const std::string addBody = R"({"features":[{"feature":")" + text + R"(","url":")" +
                                pictureUrl(imgid) +
                                R"("}],"id":"u-1","model_version":"0.0.8",)"
                                R"("set_name":")" +
                                libid_ + "\"}";
    EXPECT_EQ(onlyBody(kBase + "add/id"), addBody);
    EXPECT_EQ(onlyBody(kDigestUpdate),
              R"({"ext1":"","ext2":"x2","ext3":"","ext4":"","ext5":"","imgid":)" +
                  std::to_string(imgid) + R"(,"libid":")" + libid_ +
                  R"(","name":"Li Wei","status":1,"uid":"u-1"})");
    ASSERT_NE(r.reply, nullptr);
    EXPECT_EQ(parseJson(r.reply)["code"].asInt(), 0) << r.reply;

    camera_->journal().clear();
    Json::Value records = exportRecords();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["feature"].asString(), text);
    EXPECT_EQ(records[0]["uid"].asString(), "u-1");
    EXPECT_EQ(onlyBody(kDigestList),
              R"({"libid":")" + libid_ + R"(","page_num":1,"page_size":10})");
    EXPECT_EQ(onlyBody(kBase + "list/features"),
              R"({"id":"u-1","model_version":"0.0.8","set_name":")" + libid_ + "\"}");

    // The identifier has features now: add/id answers 1020 and the import adds to it.
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_import_record(session_, &r), 0);
    EXPECT_EQ(pathsSent(), (std::vector<std::string>{kBase + "fdlib/get_img", kBase + "add/id",
                                                     kBase + "add/features", kDigestUpdate}));
    EXPECT_EQ(onlyBody(kBase + "add/features"), addBody);
}

TEST_F(FirstGenerationTest, ExportFillsFeaturesOnlyForExtractedRecords) {
    const std::string extracted = testsupport::makeJpeg(200, 200);
    const int64_t first = storePicture(extracted, "u-a");
    storePicture(testsupport::makeJpeg(120, 130), "u-b");
    vcam_image_record e{};
    e.imgid = first;
    put(e.libid, libid_);
    ASSERT_EQ(vcam_control_extract_feature(session_, &e), 0);
    ASSERT_EQ(parseJson(e.reply)["code"].asInt(), 0) << e.reply;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (camera_->faces().counts(libid_).extractnum < 1 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_EQ(camera_->faces().counts(libid_).extractnum, 1);

    camera_->journal().clear();
    vcam_image_query q = page(10);
    put(q.filters[0].name, "name");
    put(q.filters[0].value, "u-");
    ASSERT_EQ(vcam_control_export_record(session_, &q), 0);
    EXPECT_EQ(onlyBody(kDigestList), R"({"filter":[{"name":"name","value":"u-"}],"libid":")" +
                                         libid_ + R"(","page_num":1,"page_size":10})");
    Json::Value records = parseJson(q.reply)["data"]["record"];
    ASSERT_EQ(records.size(), 2u) << q.reply;
    EXPECT_EQ(records[0]["uid"].asString(), "u-a");
    EXPECT_EQ(records[0]["feature"].asString(), camsim::computeFeature(extracted));
    EXPECT_EQ(records[1]["uid"].asString(), "u-b");
    EXPECT_TRUE(records[1].isMember("feature"));
    EXPECT_EQ(records[1]["feature"].asString(), "");
    // Only the extracted record was asked for.
    EXPECT_EQ(onlyBody(kBase + "list/features"),
              R"({"id":"u-a","model_version":"0.0.8","set_name":")" + libid_ + "\"}");

    // An extracted identifier has features: the import goes on to add/features.
    vcam_image_record r = importRecord(first, "u-a", 1);
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_import_record(session_, &r), 0);
    EXPECT_EQ(pathsSent(), (std::vector<std::string>{kBase + "fdlib/get_img", kBase + "add/id",
                                                     kBase + "add/features", kDigestUpdate}));
}

TEST_F(FirstGenerationTest, ExportReplacesWhatTheCameraSaidAboutFeatures) {
    Json::Value reply;
    reply["code"] = 0;
    reply["msg"] = "success";
    Json::Value stale;
    stale["uid"] = "u-b";
    stale["libid"] = libid_;
    stale["status"] = 0;
    stale["feature"] = "stale";
    Json::Value missing = stale;  // extracted, but the feature store has nothing for it
    missing["uid"] = "u-none";
    missing["status"] = 1;
    reply["data"]["record"].append(stale);
    reply["data"]["record"].append(missing);
    camsim::HttpResponse canned;
    canned.body = testsupport::compact(reply);
    camera_->setCannedReply(kDigestList, canned);

    vcam_image_query q = page(10);
    ASSERT_EQ(vcam_control_export_record(session_, &q), 0);
    Json::Value expected = reply;
    expected["data"]["record"][0]["feature"] = "";
    expected["data"]["record"][1]["feature"] = "";
    EXPECT_EQ(std::string(q.reply), testsupport::compact(expected));
    EXPECT_EQ(camera_->journal().on(kBase + "list/features").size(), 1u);

    // A reply without records comes back as the camera wrote it.
    camera_->clearCannedReplies();
    put(q.libid, "no-such-library");
    ASSERT_EQ(vcam_control_export_record(session_, &q), 0);
    EXPECT_STREQ(q.reply, R"({"code":2012,"msg":"library not found"})");
}

TEST_F(FirstGenerationTest, ImportWithoutFeatureSendsOnlyTheUpdate) {
    const int64_t imgid = storePicture(testsupport::makeJpeg(120, 120), "");
    vcam_image_record r = importRecord(imgid, "u-0", 0);
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_import_record(session_, &r), 0);
    EXPECT_EQ(pathsSent(), std::vector<std::string>{kDigestUpdate});
    EXPECT_EQ(onlyBody(kDigestUpdate),
              R"({"ext1":"","ext2":"x2","ext3":"","ext4":"","ext5":"","imgid":)" +
                  std::to_string(imgid) + R"(,"libid":")" + libid_ +
                  R"(","name":"Li Wei","status":0,"uid":"u-0"})");
    EXPECT_EQ(camera_->faces().snapshot()[0].images.at(imgid).uid, "u-0");

    // Only status 1 carries a feature.
    r.status = 2;
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_import_record(session_, &r), 0);
    EXPECT_EQ(pathsSent(), std::vector<std::string>{kDigestUpdate});
}

TEST_F(FirstGenerationTest, ImportStopsAtTheFirstFailingStep) {
    const int64_t imgid = storePicture(testsupport::makeJpeg(120, 120), "");
    char* const untouched = reinterpret_cast<char*>(this);

    // Unknown picture: the lookup's code is the result and nothing follows it.
    vcam_image_record r = importRecord(imgid + 50, "u-1", 1);
    r.reply = untouched;
    camera_->journal().clear();
    EXPECT_EQ(vcam_control_import_record(session_, &r), 2010);
    EXPECT_EQ(pathsSent(), std::vector<std::string>{kBase + "fdlib/get_img"});
    EXPECT_EQ(r.reply, untouched);

    // A lookup reply that is not JSON.
    r.imgid = imgid;
    addFault("malformed@" + kBase + "fdlib/get_img#1");
    camera_->journal().clear();
    EXPECT_EQ(vcam_control_import_record(session_, &r), 13);
    EXPECT_EQ(pathsSent(), std::vector<std::string>{kBase + "fdlib/get_img"});

    // The feature store refuses: its status is the result, the update is not sent.
    addFault("status:500@" + kBase + "add/id#1");
    camera_->journal().clear();
    EXPECT_EQ(vcam_control_import_record(session_, &r), 500);
    EXPECT_EQ(pathsSent(), (std::vector<std::string>{kBase + "fdlib/get_img", kBase + "add/id"}));
    EXPECT_EQ(r.reply, untouched);

    // Fields are checked before anything is sent.
    const size_t before = requestCount();
    fillUnterminated(r.ext5);
    EXPECT_EQ(vcam_control_import_record(session_, &r), 18);
    r = importRecord(imgid, "u-1", 0);
    fillUnterminated(r.uid);
    EXPECT_EQ(vcam_control_import_record(session_, &r), 18);
    vcam_image_query q = page(10);
    fillUnterminated(q.libid);
    EXPECT_EQ(vcam_control_export_record(session_, &q), 18);
    EXPECT_EQ(requestCount(), before);
}

// Feature replies whose "data" is not an object: the camera's code still decides.
TEST_F(FirstGenerationTest, FeatureRepliesOfAnyShapeKeepTheCamerasCode) {
    auto canned = [this](const std::string& path, const std::string& body) {
        camera_->setCannedReply(path, camsim::HttpResponse{200, body, "application/json", {}});
    };
    const int64_t imgid = storePicture(testsupport::makeJpeg(120, 120), "u-1");
    canned(kBase + "add/id", R"({"code":1020,"msg":"exists","data":[]})");
    canned(kBase + "add/features", R"({"code":2012,"msg":"no library","data":"x"})");
    vcam_image_record r = importRecord(imgid, "u-1", 1);
    camera_->journal().clear();
    EXPECT_EQ(vcam_control_import_record(session_, &r), 2012);
    EXPECT_EQ(pathsSent(), (std::vector<std::string>{kBase + "fdlib/get_img", kBase + "add/id",
                                                     kBase + "add/features"}));

    // A failed feature list is no failure of the export: that record's feature is empty.
    canned(kDigestList, R"({"code":0,"data":{"record":[{"libid":"L","status":1,"uid":"u-1"}]}})");
    canned(kBase + "list/features", R"({"code":2012,"data":[1,2]})");
    vcam_image_query q = page(10);
    ASSERT_EQ(vcam_control_export_record(session_, &q), 0);
    EXPECT_STREQ(q.reply,
                 R"({"code":0,"data":{"record":[{"feature":"","libid":"L","status":1,"uid":"u-1"}]}})");
}

// ---- Common failures ----

TEST_F(RecordCallTest, UnknownSessionLeavesRecordsAlone) {
    const int unknown = session_ + 1000;
    const size_t before = requestCount();
    auto untouched = [&](auto record, auto call) {
        std::memset(&record, 0x5A, sizeof record);
        auto copy = record;
        EXPECT_EQ(call(unknown, &record), 10);
        EXPECT_EQ(std::memcmp(&record, &copy, sizeof record), 0);
    };
    untouched(vcam_image_query{}, &vcam_control_export_record_v2);
    untouched(vcam_image_query{}, &vcam_control_export_record);
    untouched(vcam_record_v2{}, &vcam_control_import_record_v2);
    untouched(vcam_image_record{}, &vcam_control_import_record);
    EXPECT_EQ(requestCount(), before);
}

TEST_F(RecordCallTest, FeatureAndRepositoryExportsAreUnsupported) {
    using Stub = int (*)(int, void*);
    const Stub stubs[] = {
        &vcam_control_add_feature,  &vcam_control_add_id,         &vcam_control_delete_feature,
        &vcam_control_delete_id,    &vcam_control_delete_repo,    &vcam_control_download_repo,
        &vcam_control_list_feature, &vcam_control_update_feature, &vcam_control_upload_repo};
    const size_t before = requestCount();
    char record[64];
    std::memset(record, 0x5A, sizeof record);
    for (Stub stub : stubs) {
        EXPECT_EQ(stub(0, nullptr), 19);
        EXPECT_EQ(stub(session_, nullptr), 19);
        EXPECT_EQ(stub(session_, record), 19);
    }
    EXPECT_EQ(std::string(record, sizeof record), std::string(sizeof record, '\x5A'));
    EXPECT_EQ(requestCount(), before);
}

TEST_F(RecordCallTest, FailedExchangeNullsTheReply) {
    vcam_image_query q = page(10);
    q.reply = reinterpret_cast<char*>(&q);
    addFault("status:401@" + kBase + "export_record#1");
    EXPECT_EQ(vcam_control_export_record_v2(session_, &q), 401);
    EXPECT_EQ(q.reply, nullptr);

    q.reply = reinterpret_cast<char*>(&q);
    addFault("status:500@" + kDigestList + "#1");
    EXPECT_EQ(vcam_control_export_record(session_, &q), 500);
    EXPECT_EQ(q.reply, nullptr);

    vcam_record_v2 r{};
    put(r.libid, libid_);
    r.reply = reinterpret_cast<char*>(&r);
    camera_->stop();
    testing::internal::CaptureStdout();
    const int rc = vcam_control_import_record_v2(session_, &r);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, 10007);
    EXPECT_EQ(r.reply, nullptr);
}

}  // namespace
