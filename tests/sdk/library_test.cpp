// The face-library calls through the C interface against a simulated camera: the exact bytes
// each call puts on the wire (the camera's journal), what comes back, and the failures.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <json/json.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "support/sdk_session.h"
#include "support/temp_dir.h"
#include "util/crypto.h"

namespace {

namespace fs = std::filesystem;
using testsupport::parseJson;

const std::string kBase = "/api/v1/recognize/";
const char kJsonType[] = "application/json; charset=UTF-8";

// Copies text and its NUL into a fixed-width field.
template <size_t N>
void put(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// Fills the whole width with one byte: no NUL anywhere.
template <size_t N>
void fillUnterminated(char (&field)[N], char byte = 'x') {
    std::memset(field, byte, N);
}

// Runs the scope in another working directory and returns to the old one.
class WorkingDirectory {
public:
    explicit WorkingDirectory(const std::string& path) : old_(fs::current_path()) {
        fs::current_path(path);
    }
    ~WorkingDirectory() {
        std::error_code ignored;
        fs::current_path(old_, ignored);
    }

private:
    fs::path old_;
};

// A picture the camera accepts whose bytes cover every byte value (NUL, CR, LF, 0x1A) and more
// than two 1024-byte blocks.
std::string binaryPicture() {
    std::string fill;
    for (int i = 0; i < 2600; ++i)
        fill += static_cast<char>(i % 256 == 0xFF ? 0x00 : i % 256);
    return testsupport::makeJpeg(160, 160, fill);
}

// A camera of its own and a session logged in to it, per test.
class LibraryCallTest : public testsupport::SdkSessionTest {
protected:
    size_t requestCount() const { return camera_->journal().entries().size(); }
    std::string createLibrary(const std::string& name) {
        return camera_->faces().createLibrary(name, 80).data["libid"].asString();
    }
    int64_t storePicture(const std::string& libid, const std::string& bytes) {
        camsim::NewImage image;
        image.libid = libid;
        image.name = "stored.jpg";
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

    // Runs one JSON call on a clean journal and returns the body of the one request it posted.
    std::string bodySent(const std::string& path, const std::function<int()>& call) {
        camera_->journal().clear();
        EXPECT_EQ(call(), 0) << path;
        std::vector<camsim::JournalEntry> sent = camera_->journal().on(path);
        EXPECT_EQ(sent.size(), 1u) << path;
        if (sent.size() != 1) return "<" + std::to_string(sent.size()) + " requests>";
        EXPECT_EQ(sent[0].method, "POST") << path;
        EXPECT_EQ(sent[0].header("Content-Type"), kJsonType) << path;
        EXPECT_EQ(sent[0].header("User-Agent"), "curl/Control") << path;
        return sent[0].body;
    }
};

// ---- Bodies of the JSON calls ----

TEST_F(LibraryCallTest, LibraryCallsSendCompactBodiesInKeyOrder) {
    vcam_library_record r{};
    put(r.name, "staff");
    r.threshold = 80;
    auto create = [&] { return vcam_control_create_library(session_, &r); };
    auto update = [&] { return vcam_control_update_library(session_, &r); };
    auto remove = [&] { return vcam_control_delete_library(session_, &r); };
    auto find = [&] { return vcam_control_find_library(session_, &r); };
    auto clear = [&] { return vcam_control_del_lib_image(session_, &r); };

    EXPECT_EQ(bodySent(kBase + "add_fdlib", create), R"({"name":"staff","threshold":80})");
    put(r.libid, "1");
    put(r.name, "guests");
    r.threshold = -5;
    EXPECT_EQ(bodySent(kBase + "update_fdlib", update),
              R"({"libid":"1","name":"guests","threshold":-5})");
    EXPECT_EQ(bodySent(kBase + "get_fdlib", find), R"({"libid":"1"})");
    EXPECT_EQ(bodySent(kBase + "del_all_img", clear), R"({"libid":"1"})");
    EXPECT_EQ(bodySent(kBase + "del_fdlib", remove), R"({"libid":"1"})");

    // Empty fields still send every member.
    r = vcam_library_record{};
    EXPECT_EQ(bodySent(kBase + "add_fdlib", create), R"({"name":"","threshold":0})");
    EXPECT_EQ(bodySent(kBase + "update_fdlib", update), R"({"libid":"","name":"","threshold":0})");
    EXPECT_EQ(bodySent(kBase + "get_fdlib", find), R"({"libid":""})");
    EXPECT_EQ(bodySent(kBase + "del_all_img", clear), R"({"libid":""})");
    EXPECT_EQ(bodySent(kBase + "del_fdlib", remove), R"({"libid":""})");

    // Quotes and backslashes of a caller's text are escaped, never passed raw.
    put(r.name, "say \"hi\"\\now");
    r.threshold = 1;
    EXPECT_EQ(bodySent(kBase + "add_fdlib", create), R"({"name":"say \"hi\"\\now","threshold":1})");
}

TEST_F(LibraryCallTest, ImageCallsSendCompactBodiesInKeyOrder) {
    vcam_image_record r{};
    r.imgid = 1001;
    put(r.uid, "u-7");
    put(r.libid, "1");
    put(r.name, "Li Wei");
    put(r.ext1, "e1");
    put(r.ext2, "e2");
    put(r.ext3, "e3");
    put(r.ext4, "e4");
    put(r.ext5, "e5");
    put(r.path, "/not/sent.jpg");  // fields of other calls stay out of the body
    put(r.feature, "1,2,3");
    r.status = 1;
    auto update = [&] { return vcam_control_update_image(session_, &r); };
    auto remove = [&] { return vcam_control_delete_image(session_, &r); };
    auto find = [&] { return vcam_control_find_image(session_, &r); };
    auto extract = [&] { return vcam_control_extract_feature(session_, &r); };

    EXPECT_EQ(bodySent(kBase + "fdlib/update_img", update),
              R"({"ext1":"e1","ext2":"e2","ext3":"e3","ext4":"e4","ext5":"e5","imgid":1001,)"
              R"("libid":"1","name":"Li Wei","uid":"u-7"})");
    EXPECT_EQ(bodySent(kBase + "fdlib/get_img", find), R"({"imgid":1001,"libid":"1"})");
    EXPECT_EQ(bodySent(kBase + "fdlib/del_img", remove), R"({"imgid":1001,"libid":"1"})");
    EXPECT_EQ(bodySent(kBase + "fdlib/extract", extract), R"({"imgid":1001,"libid":"1"})");
    // Without a positive imgid the extraction names the library alone.
    r.imgid = 0;
    EXPECT_EQ(bodySent(kBase + "fdlib/extract", extract), R"({"libid":"1"})");
    r.imgid = -7;
    EXPECT_EQ(bodySent(kBase + "fdlib/extract", extract), R"({"libid":"1"})");
    EXPECT_EQ(bodySent(kBase + "fdlib/get_img", find), R"({"imgid":-7,"libid":"1"})");
    // The whole 64-bit range of imgid.
    r.imgid = INT64_MAX;
    EXPECT_EQ(bodySent(kBase + "fdlib/del_img", remove),
              R"({"imgid":9223372036854775807,"libid":"1"})");

    // Every string empty: still all nine members.
    r = vcam_image_record{};
    EXPECT_EQ(bodySent(kBase + "fdlib/update_img", update),
              R"({"ext1":"","ext2":"","ext3":"","ext4":"","ext5":"","imgid":0,"libid":"",)"
              R"("name":"","uid":""})");
    EXPECT_EQ(bodySent(kBase + "fdlib/get_img", find), R"({"imgid":0,"libid":""})");
    EXPECT_EQ(bodySent(kBase + "fdlib/extract", extract), R"({"libid":""})");
}

TEST_F(LibraryCallTest, ImageListSendsFiltersUpToTheFirstEmptyName) {
    vcam_image_query q{};
    put(q.libid, "1");
    q.page_num = 2;
    q.page_size = 20;
    auto list = [&] { return vcam_control_list_image(session_, &q); };
    const std::string path = kBase + "fdlib/list_img";

    EXPECT_EQ(bodySent(path, list), R"({"libid":"1","page_num":2,"page_size":20})");

    std::string ten;
    for (int i = 0; i < VCAM_IMAGE_FILTERS; ++i) {
        put(q.filters[i].name, "n" + std::to_string(i));
        put(q.filters[i].value, "v" + std::to_string(i));
        ten += (i ? "," : "") + std::string(R"({"name":"n)") + std::to_string(i) +
               R"(","value":"v)" + std::to_string(i) + "\"}";
    }
    EXPECT_EQ(bodySent(path, list),
              R"({"filter":[)" + ten + R"(],"libid":"1","page_num":2,"page_size":20})");

    // An empty name ends the list even when later entries are filled.
    q = vcam_image_query{};
    put(q.libid, "1");
    q.page_num = 1;
    q.page_size = 10;
    put(q.filters[0].name, "name");
    put(q.filters[0].value, "Li");
    put(q.filters[1].value, "lost");
    put(q.filters[2].name, "ext1");
    put(q.filters[2].value, "lost too");
    EXPECT_EQ(
        bodySent(path, list),
        R"({"filter":[{"name":"name","value":"Li"}],"libid":"1","page_num":1,"page_size":10})");

    // Filter strings need no NUL: each is taken up to its 64 bytes, never into the next field.
    q.filters[1].name[0] = '\0';
    fillUnterminated(q.filters[0].name, 'n');
    fillUnterminated(q.filters[0].value, 'v');
    EXPECT_EQ(bodySent(path, list), R"({"filter":[{"name":")" + std::string(64, 'n') +
                                        R"(","value":")" + std::string(64, 'v') +
                                        R"("}],"libid":"1","page_num":1,"page_size":10})");

    // Without a filter the whole library comes back: the camera really saw the page request.
    const std::string libid = createLibrary("staff");
    storePicture(libid, testsupport::makeJpeg(120, 120));
    q = vcam_image_query{};
    put(q.libid, libid);
    q.page_num = 1;
    q.page_size = 10;
    ASSERT_EQ(list(), 0);
    EXPECT_EQ(parseJson(q.reply)["data"]["pagination"]["total"].asInt(), 1) << q.reply;
}

TEST_F(LibraryCallTest, LockUnlockPostNothingAndTheLibraryListIsAGet) {
    vcam_library_record r{};
    fillUnterminated(r.libid);  // none of the three reads a field
    fillUnterminated(r.name);
    auto lock = [&] { return vcam_control_lock_libgen(session_, &r); };
    auto unlock = [&] { return vcam_control_unlock_libgen(session_, &r); };
    EXPECT_EQ(bodySent(kBase + "fdlib/lock", lock), "");
    EXPECT_TRUE(camera_->faces().locked());
    EXPECT_EQ(bodySent(kBase + "fdlib/unlock", unlock), "");
    EXPECT_FALSE(camera_->faces().locked());

    createLibrary("staff");
    r.threshold = 99;
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_list_library(session_, &r), 0);
    std::vector<camsim::JournalEntry> sent = camera_->journal().on(kBase + "list_fdlib");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "GET");
    EXPECT_EQ(sent[0].body, "");
    EXPECT_EQ(sent[0].header("Content-Type"), "image/png");
    EXPECT_EQ(sent[0].header("User-Agent"), "curl/Control");
    // The record was cleared before the call; only the reply is set.
    EXPECT_EQ(std::string(r.libid, sizeof r.libid), std::string(sizeof r.libid, '\0'));
    EXPECT_EQ(std::string(r.name, sizeof r.name), std::string(sizeof r.name, '\0'));
    EXPECT_EQ(r.threshold, 0);
    ASSERT_NE(r.reply, nullptr);
    EXPECT_EQ(parseJson(r.reply)["data"][0]["name"].asString(), "staff") << r.reply;
}

// ---- Terminating NULs ----

TEST_F(LibraryCallTest, FieldsWithoutNulEndTheCallBeforeAnythingIsSent) {
    vcam_library_record lib{};
    put(lib.name, std::string(63, 'a'));
    ASSERT_EQ(vcam_control_create_library(session_, &lib), 0);
    EXPECT_EQ(camera_->journal().on(kBase + "add_fdlib").back().body,
              R"({"name":")" + std::string(63, 'a') + R"(","threshold":0})");

    const size_t before = requestCount();
    char* const untouched = reinterpret_cast<char*>(&lib);
    fillUnterminated(lib.name, 'a');
    lib.reply = untouched;
    EXPECT_EQ(vcam_control_create_library(session_, &lib), 18);
    EXPECT_EQ(lib.reply, untouched);
    put(lib.libid, "1");
    EXPECT_EQ(vcam_control_update_library(session_, &lib), 18);
    fillUnterminated(lib.libid);
    put(lib.name, "ok");
    EXPECT_EQ(vcam_control_update_library(session_, &lib), 18);
    EXPECT_EQ(vcam_control_find_library(session_, &lib), 18);
    EXPECT_EQ(vcam_control_delete_library(session_, &lib), 18);
    EXPECT_EQ(vcam_control_del_lib_image(session_, &lib), 18);

    vcam_image_record img{};
    fillUnterminated(img.ext5);  // the last field of the update's record order
    EXPECT_EQ(vcam_control_update_image(session_, &img), 18);
    fillUnterminated(img.uid);  // the first one, with the last still open
    EXPECT_EQ(vcam_control_update_image(session_, &img), 18);
    put(img.ext5, "");
    EXPECT_EQ(vcam_control_update_image(session_, &img), 18);
    img = vcam_image_record{};
    fillUnterminated(img.libid);
    EXPECT_EQ(vcam_control_update_image(session_, &img), 18);
    EXPECT_EQ(vcam_control_delete_image(session_, &img), 18);
    EXPECT_EQ(vcam_control_find_image(session_, &img), 18);
    EXPECT_EQ(vcam_control_extract_feature(session_, &img), 18);

    vcam_image_query query{};
    fillUnterminated(query.libid);
    EXPECT_EQ(vcam_control_list_image(session_, &query), 18);
    EXPECT_EQ(requestCount(), before);

    // A call checks only the fields it sends.
    vcam_image_record extract{};
    put(extract.libid, "1");
    fillUnterminated(extract.uid);
    fillUnterminated(extract.name);
    fillUnterminated(extract.ext5);
    EXPECT_EQ(bodySent(kBase + "fdlib/extract",
                       [&] { return vcam_control_extract_feature(session_, &extract); }),
              R"({"libid":"1"})");
    lib = vcam_library_record{};
    fillUnterminated(lib.libid);
    put(lib.name, "b");
    EXPECT_EQ(
        bodySent(kBase + "add_fdlib", [&] { return vcam_control_create_library(session_, &lib); }),
        R"({"name":"b","threshold":0})");
}

// ---- The reply buffer ----

TEST_F(LibraryCallTest, RepliesAreTheCamerasTextInOneBufferThatNeverShrinks) {
    createLibrary(std::string(63, 'L'));
    createLibrary(std::string(63, 'M'));
    testsupport::HttpClient direct(address(), "admin", "admin");
    const std::string listText = direct.get(kBase + "list_fdlib").body;
    Json::Value unknown;
    unknown["libid"] = "none";
    const std::string findText = direct.postJson(kBase + "get_fdlib", unknown).body;
    ASSERT_LT(findText.size(), listText.size());

    vcam_library_record find{};
    put(find.libid, "none");
    ASSERT_EQ(vcam_control_find_library(session_, &find), 0);
    ASSERT_NE(find.reply, nullptr);
    EXPECT_STREQ(find.reply, findText.c_str());

    vcam_library_record list{};
    ASSERT_EQ(vcam_control_list_library(session_, &list), 0);  // larger: the buffer grows
    ASSERT_NE(list.reply, nullptr);
    EXPECT_STREQ(list.reply, listText.c_str());

    char* const first = list.reply;
    ASSERT_EQ(vcam_control_find_library(session_, &find), 0);  // smaller: same buffer
    EXPECT_EQ(find.reply, first);
    EXPECT_STREQ(first, findText.c_str());

    addFault("status:401@" + kBase + "get_fdlib#1");
    EXPECT_EQ(vcam_control_find_library(session_, &find), 401);
    EXPECT_EQ(find.reply, nullptr);
}

// ---- Failures ----

TEST_F(LibraryCallTest, UnknownSessionLeavesRecordsAlone) {
    const int unknown = session_ + 1000;
    const size_t before = requestCount();
    auto untouched = [&](auto record, auto call) {
        std::memset(&record, 0x5A, sizeof record);
        auto copy = record;
        EXPECT_EQ(call(unknown, &record), 10);
        EXPECT_EQ(std::memcmp(&record, &copy, sizeof record), 0);
    };
    untouched(vcam_library_record{}, &vcam_control_create_library);
    untouched(vcam_library_record{}, &vcam_control_list_library);  // not even cleared
    untouched(vcam_library_record{}, &vcam_control_lock_libgen);
    untouched(vcam_image_record{}, &vcam_control_update_image);
    untouched(vcam_image_record{}, &vcam_control_add_image);
    untouched(vcam_image_query{}, &vcam_control_list_image);
    untouched(vcam_image_data_record{}, &vcam_control_image_data);
    EXPECT_EQ(requestCount(), before);
}

TEST_F(LibraryCallTest, StatusOtherThan200IsTheResultAndNullsTheReply) {
    vcam_image_record img{};
    put(img.libid, "1");
    img.reply = reinterpret_cast<char*>(&img);
    addFault("status:401@" + kBase + "fdlib/update_img#1");
    EXPECT_EQ(vcam_control_update_image(session_, &img), 401);
    EXPECT_EQ(img.reply, nullptr);

    vcam_library_record lib{};
    lib.reply = reinterpret_cast<char*>(&lib);
    addFault("status:500@" + kBase + "list_fdlib#1");
    EXPECT_EQ(vcam_control_list_library(session_, &lib), 500);
    EXPECT_EQ(lib.reply, nullptr);

    testsupport::TempDir dir{"camlink-library"};
    const std::string libid = createLibrary("staff");
    put(img.libid, libid);
    put(img.path, dir.write("p.jpg", testsupport::makeJpeg(120, 120)));
    img.reply = reinterpret_cast<char*>(&img);
    addFault("status:503@" + kBase + "fdlib/add_img#1");
    EXPECT_EQ(vcam_control_add_image(session_, &img), 503);
    EXPECT_EQ(img.reply, nullptr);
}

TEST_F(LibraryCallTest, CameraCodeInA200ReplyIsStillSuccess) {
    vcam_library_record lib{};
    put(lib.libid, "no-such-library");
    ASSERT_EQ(vcam_control_delete_library(session_, &lib), 0);
    ASSERT_NE(lib.reply, nullptr);
    Json::Value reply = parseJson(lib.reply);
    EXPECT_EQ(reply["code"].asInt(), 2012) << lib.reply;
    EXPECT_FALSE(reply["msg"].asString().empty());
}

TEST_F(LibraryCallTest, UnreachableCameraGivesTheConnectFailure) {
    camera_->stop();
    vcam_library_record lib{};
    put(lib.libid, "1");
    lib.reply = reinterpret_cast<char*>(&lib);
    testing::internal::CaptureStdout();  // the transfer library's error text
    const int find = vcam_control_find_library(session_, &lib);
    vcam_image_data_record data{};
    put(data.url, "http://" + address() + ":8089/images/1001.jpg");
    data.data = &data;
    data.size = 5;
    const int fetch = vcam_control_image_data(session_, &data);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(find, 10007);
    EXPECT_EQ(lib.reply, nullptr);
    EXPECT_EQ(fetch, 10007);
    EXPECT_EQ(data.data, nullptr);
    EXPECT_EQ(data.size, 0);
}

// A URL the camera hands back reaches nothing but the camera's plain HTTP, and only a 200 is a
// picture.
TEST_F(LibraryCallTest, ImageFetchTakesPlainHttpAndOnlyA200) {
    auto fetch = [](int session, const std::string& url) {
        vcam_image_data_record data{};
        put(data.url, url);
        data.data = &data;
        data.size = 5;
        testing::internal::CaptureStdout();  // the transfer library's error text
        const int rc = vcam_control_image_data(session, &data);
        testing::internal::GetCapturedStdout();
        EXPECT_EQ(data.data, nullptr) << url;
        EXPECT_EQ(data.size, 0) << url;
        return rc;
    };
    const int refused = 10000 + 1;  // the transfer library's unsupported protocol
    for (const std::string& url :
         {std::string("file:///etc/hostname"), std::string("FILE:///etc/hostname"),
          "ftp://" + address() + "/images/1.jpg", "dict://" + address()})
        EXPECT_EQ(fetch(session_, url), refused) << url;

    const std::string base = "http://" + address() + ":8089/images/";
    camera_->setCannedReply("/images/moved.jpg",
                            camsim::HttpResponse{302, "", "text/plain",
                                                 {{"Location", base + "elsewhere.jpg"}}});
    camera_->setCannedReply("/images/empty.jpg", camsim::HttpResponse{204, "", "image/jpeg", {}});
    EXPECT_EQ(fetch(session_, base + "moved.jpg"), 302);
    EXPECT_EQ(fetch(session_, base + "empty.jpg"), 204);
    EXPECT_TRUE(camera_->journal().on("/images/elsewhere.jpg").empty());
}

TEST_F(LibraryCallTest, SilentCameraGivesTheTimeOut) {
    addFault("noanswer:6000@" + kBase + "get_fdlib");
    vcam_library_record lib{};
    put(lib.libid, "1");
    lib.reply = reinterpret_cast<char*>(&lib);
    testing::internal::CaptureStdout();
    const int rc = vcam_control_find_library(session_, &lib);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(rc, 10028);
    EXPECT_EQ(lib.reply, nullptr);
}

// ---- Picture upload ----

class ImageUploadTest : public LibraryCallTest {
protected:
    void SetUp() override {
        LibraryCallTest::SetUp();
        libid_ = createLibrary("staff");
    }
    // Uploads the file at `path` and returns the one request the camera got for it.
    camsim::JournalEntry upload(const std::string& path) {
        vcam_image_record r{};
        put(r.libid, libid_);
        put(r.path, path);
        camera_->journal().clear();
        EXPECT_EQ(vcam_control_add_image(session_, &r), 0) << path;
        std::vector<camsim::JournalEntry> sent = camera_->journal().on(kBase + "fdlib/add_img");
        EXPECT_EQ(sent.size(), 1u) << path;
        if (sent.empty()) return {};
        EXPECT_NE(r.reply, nullptr);
        if (r.reply) {
            EXPECT_EQ(parseJson(r.reply)["code"].asInt(), 0) << r.reply;
        }
        return sent[0];
    }
    // The file name the camera was told, decoded.
    std::string sentName(const camsim::JournalEntry& entry) {
        return camsim::base64Decode(entry.header("name")).value_or("<not Base64>");
    }

    std::string libid_;
    testsupport::TempDir dir_{"camlink-library"};
};

TEST_F(ImageUploadTest, SendsTheFileBytesWithItsDigestAndLibrary) {
    const std::string picture = binaryPicture();
    const std::string path = dir_.write("face.jpg", picture);
    vcam_image_record r{};
    put(r.libid, libid_);
    put(r.path, path);
    put(r.name, "not sent");
    ASSERT_EQ(vcam_control_add_image(session_, &r), 0);
    std::vector<camsim::JournalEntry> sent = camera_->journal().on(kBase + "fdlib/add_img");
    ASSERT_EQ(sent.size(), 1u);
    const camsim::JournalEntry& e = sent[0];
    EXPECT_EQ(e.method, "POST");
    EXPECT_TRUE(e.body == picture) << "the body is not the file's bytes (" << e.body.size()
                                   << " of " << picture.size() << " bytes)";
    EXPECT_EQ(e.header("name"), camsim::base64Encode("face.jpg"));
    EXPECT_EQ(e.header("md5"), camsim::md5HexUpper(picture));
    EXPECT_EQ(e.header("libid"), libid_);
    EXPECT_EQ(e.header("encoding"), "0");
    EXPECT_EQ(e.header("Content-Type"), "image/png");
    EXPECT_EQ(e.header("User-Agent"), "curl/Control");

    ASSERT_NE(r.reply, nullptr);
    Json::Value reply = parseJson(r.reply);
    ASSERT_EQ(reply["code"].asInt(), 0) << r.reply;
    EXPECT_TRUE(camera_->faces().pictureBytes(reply["data"]["imgid"].asInt64()) == picture);
}

TEST_F(ImageUploadTest, NamesThePictureByThePartAfterTheLastSeparator) {
    // Linux allows backslashes in a file name, so a Windows path can be a real file.
    const std::string picture = testsupport::makeJpeg(120, 120);
    dir_.write("C:\\Users\\li\\face one.jpg", picture);
    fs::create_directories(dir_.path() + "/photos");
    fs::create_directories(dir_.path() + "/a\\b");
    dir_.write("bare.jpg", picture);

    EXPECT_EQ(sentName(upload(dir_.write("photos/王 芳.jpg", picture))), "王 芳.jpg");
    EXPECT_EQ(sentName(upload(dir_.write("photos/x\\face two.jpg", picture))), "face two.jpg");
    // A backslash anywhere wins over later slashes.
    EXPECT_EQ(sentName(upload(dir_.write("a\\b/c.jpg", picture))), "b/c.jpg");
    {
        WorkingDirectory here(dir_.path());
        EXPECT_EQ(sentName(upload("C:\\Users\\li\\face one.jpg")), "face one.jpg");
        camsim::JournalEntry bare = upload("bare.jpg");
        EXPECT_EQ(bare.header("name"), camsim::base64Encode("bare.jpg"));
        EXPECT_EQ(bare.body, picture);
    }
}

TEST_F(ImageUploadTest, UnusableFilesSendNothing) {
    const std::string empty = dir_.write("empty.jpg", "");
    const std::string good = dir_.write("good.jpg", testsupport::makeJpeg(120, 120));
    const size_t before = requestCount();
    vcam_image_record r{};
    put(r.libid, libid_);
    char* const untouched = reinterpret_cast<char*>(&r);
    r.reply = untouched;

    put(r.path, empty);
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    put(r.path, dir_.path() + "/missing.jpg");
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    put(r.path, "");
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    put(r.path, dir_.path());  // a directory opens but has no bytes to read
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    fillUnterminated(r.path, '/');
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    put(r.path, good);
    fillUnterminated(r.libid);
    EXPECT_EQ(vcam_control_add_image(session_, &r), 18);
    EXPECT_EQ(r.reply, untouched);
    EXPECT_EQ(requestCount(), before);
}

// ---- Image fetch ----

TEST_F(ImageUploadTest, FetchUsesTheUrlOfTheFindReplyUnchanged) {
    const std::string picture = binaryPicture();
    vcam_image_record r{};
    put(r.libid, libid_);
    put(r.path, dir_.write("face.jpg", picture));
    ASSERT_EQ(vcam_control_add_image(session_, &r), 0);
    r.imgid = parseJson(r.reply)["data"]["imgid"].asInt64();
    ASSERT_EQ(vcam_control_find_image(session_, &r), 0);
    const std::string url = parseJson(r.reply)["data"]["url"].asString();
    ASSERT_EQ(url.rfind("http://" + address() + ":8089/images/", 0), 0u) << r.reply;

    vcam_image_data_record data{};
    put(data.url, url);
    camera_->journal().clear();
    ASSERT_EQ(vcam_control_image_data(session_, &data), 0);
    ASSERT_EQ(data.size, static_cast<int32_t>(picture.size()));
    ASSERT_NE(data.data, nullptr);
    EXPECT_TRUE(std::memcmp(data.data, picture.data(), picture.size()) == 0);
    std::vector<camsim::JournalEntry> sent = camera_->journal().entries();
    ASSERT_FALSE(sent.empty());
    EXPECT_EQ(sent.back().method, "GET");
    EXPECT_EQ(sent.back().path, url.substr(url.find("/images/")));
    EXPECT_TRUE(sent.back().authenticated);

    // No address or port is put in front: a URL naming another camera goes to that camera.
    camsim::Camera& other = startCamera();
    const std::string otherLib = other.faces().createLibrary("x", 80).data["libid"].asString();
    camsim::NewImage image;
    image.libid = otherLib;
    image.bytes = testsupport::makeJpeg(200, 100);
    const int64_t otherId = other.faces().addImage(image).data["imgid"].asInt64();
    put(data.url,
        "http://" + other.config().address + ":8089/images/" + std::to_string(otherId) + ".jpg");
    ASSERT_EQ(vcam_control_image_data(session_, &data), 0);
    EXPECT_EQ(std::string(static_cast<const char*>(data.data), data.size), image.bytes);
    EXPECT_EQ(other.journal().on("/images/" + std::to_string(otherId) + ".jpg").size(), 1u);

    // Deleted: the camera's 404 is the result.
    ASSERT_EQ(vcam_control_delete_image(session_, &r), 0);
    put(data.url, url);
    EXPECT_EQ(vcam_control_image_data(session_, &data), 404);
    EXPECT_EQ(data.data, nullptr);
    EXPECT_EQ(data.size, 0);

    fillUnterminated(data.url);
    EXPECT_EQ(vcam_control_image_data(session_, &data), 18);
}

TEST_F(ImageUploadTest, FetchOfAnEmptyBodyIsSuccessWithSizeZero) {
    camsim::HttpResponse empty;
    empty.body = "";
    empty.contentType = "image/jpeg";
    camera_->setCannedReply("/images/empty.jpg", empty);
    vcam_image_data_record data{};
    put(data.url, "http://" + address() + ":8089/images/empty.jpg");
    data.size = 77;
    EXPECT_EQ(vcam_control_image_data(session_, &data), 0);
    EXPECT_EQ(data.size, 0);
    EXPECT_EQ(camera_->journal().on("/images/empty.jpg").size(), 1u);
}

}  // namespace
