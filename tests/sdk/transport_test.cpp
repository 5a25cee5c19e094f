// The HTTP transport against simulated cameras over real sockets, and its digest and Base64
// helpers against published vectors and camsim's own implementations.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <json/json.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "core/http_transport.h"
#include "core/log.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "support/temp_dir.h"
#include "util/crypto.h"

namespace {

namespace fs = std::filesystem;
using LumenNetwork::HttpRequest;
using LumenNetwork::LumenNetworkHttp;

constexpr int kWriteAborted = 10000 + CURLE_WRITE_ERROR;

// A request whose upload comes from `data`; the read function sees it as the request.
struct UploadRequest : HttpRequest {
    std::string data;
    size_t position = 0;
    int reads = 0;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* request) {
    auto* upload = static_cast<UploadRequest*>(static_cast<HttpRequest*>(request));
    ++upload->reads;
    const size_t n = std::min(size * count, upload->data.size() - upload->position);
    std::memcpy(buffer, upload->data.data() + upload->position, n);
    upload->position += n;
    return n;
}

size_t appendReply(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

std::string slurp(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), ::tolower);
    return text;
}

// Every entry under `dir`, relative to it.
std::set<std::string> listing(const fs::path& dir) {
    std::set<std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        names.insert(fs::relative(entry.path(), dir).string());
    return names;
}

camsim::HttpResponse announced(const std::string& body, camsim::HeaderList headers) {
    camsim::HttpResponse reply;
    reply.body = body;
    reply.contentType = "application/octet-stream";
    reply.headers = std::move(headers);
    return reply;
}

std::string header(const camsim::JournalEntry& entry, const std::string& name) {
    for (const auto& [key, value] : entry.headers)
        if (key == name) return value;
    return "<absent>";
}

class TransportTest : public testsupport::CameraTest {
protected:
    void SetUp() override { camera_ = &startCamera(); }

    HttpRequest request(const std::string& path, const std::string& userpwd = "admin:admin") {
        HttpRequest r;
        r.url = camera_->config().address + ":8089" + path;
        r.userpwd = userpwd;
        return r;
    }
    // A download of `path` into the temporary folder; the result of `get`.
    int download(const std::string& path, HttpRequest& r, const std::string& prefix = "") {
        r = request(path);
        r.file = dir_.string() + "/" + prefix;
        std::string response;
        return LumenNetworkHttp().get(response, r);
    }

    camsim::Camera* camera_ = nullptr;
    testsupport::TempDir tmp_{"transport_test"};
    const fs::path dir_ = tmp_.path();
    const std::string addLibrary_ = "/api/v1/recognize/add_fdlib";
    const std::string listLibraries_ = "/api/v1/recognize/list_fdlib";
};

TEST_F(TransportTest, PostCarriesJsonWithDigestAndReturnsTheStatus) {
    HttpRequest r = request(addLibrary_);
    r.body = "{\"name\":\"staff\",\"threshold\":80}";
    r.header = "X-First: 1\r\nX-Second: 2";
    std::string response;
    ASSERT_EQ(LumenNetworkHttp().post(response, r), 200);
    testsupport::Reply reply;
    reply.body = response;
    EXPECT_EQ(reply.json()["code"].asInt(), 0) << response;

    auto seen = camera_->journal().on(addLibrary_);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].body, r.body);
    EXPECT_EQ(header(seen[0], "User-Agent"), "curl/Control");
    EXPECT_EQ(header(seen[0], "Content-Type"), "application/json; charset=UTF-8");
    // Agent first, then the caller's lines in order, then the content type.
    std::vector<std::string> order;
    for (const auto& h : seen[0].headers)
        if (h.first == "User-Agent" || h.first.rfind("X-", 0) == 0 || h.first == "Content-Type")
            order.push_back(h.first);
    EXPECT_EQ(order,
              (std::vector<std::string>{"User-Agent", "X-First", "X-Second", "Content-Type"}));

    // Wrong credentials are an HTTP answer, not a transfer failure.
    HttpRequest wrong = request(addLibrary_, "admin:nope");
    wrong.body = "{\"name\":\"other\",\"threshold\":80}";
    response.clear();
    EXPECT_EQ(LumenNetworkHttp().post(response, wrong), 401);
    EXPECT_EQ(camera_->journal().on(addLibrary_).size(), 1u);
}

TEST_F(TransportTest, TransferFailuresGiveTenThousandPlusTheLibcurlCode) {
    HttpRequest refused;
    refused.url = "127.0.99.1:8089" + listLibraries_;  // nobody listens there
    refused.userpwd = "admin:admin";
    std::string response;
    testing::internal::CaptureStdout();
    EXPECT_EQ(LumenNetworkHttp().post(response, refused), 10000 + CURLE_COULDNT_CONNECT);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              std::string(curl_easy_strerror(CURLE_COULDNT_CONNECT)) + "\n");

    camera_->addFault(*camsim::parseFault("noanswer@" + listLibraries_ + "#1"));
    HttpRequest held = request(listLibraries_);
    EXPECT_EQ(LumenNetworkHttp().post(response, held), 10000 + CURLE_OPERATION_TIMEDOUT);
    EXPECT_EQ(camera_->journal().on(listLibraries_).size(), 1u);
}

TEST_F(TransportTest, SendStreamsExactlyUploadSizeAndDeliversTheReply) {
    camera_->setCannedReply("/upload", announced("{\"code\":0}", {}));
    UploadRequest r;
    static_cast<HttpRequest&>(r) = request("/upload");
    for (int i = 0; i < 5000; ++i)
        r.data += static_cast<char>('a' + i % 26);
    r.method = 3;
    r.count = 1;
    r.uploadSize = 3000;
    r.header = "X-Extra: yes";
    r.body = "stale";
    ASSERT_EQ(LumenNetworkHttp().send(r, &readUpload, &appendReply), 200);
    EXPECT_EQ(r.body, "{\"code\":0}");  // cleared, then the reply
    EXPECT_TRUE(r.header.empty());
    EXPECT_EQ(r.position, 3000u);  // never read beyond the announced size
    auto seen = camera_->journal().on("/upload");
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].method, "POST");
    EXPECT_EQ(seen[0].body, r.data.substr(0, 3000));
    EXPECT_EQ(header(seen[0], "X-Extra"), "yes");
    EXPECT_EQ(header(seen[0], "Content-Type"), "image/png");
    // The body follows the headers at once, without waiting a round trip for "100 Continue".
    EXPECT_EQ(header(seen[0], "Expect"), "<absent>");
}

TEST_F(TransportTest, SendTakesTheMethodFromTheTableAndNeverUploadsAGet) {
    camera_->setCannedReply("/m", announced("ok", {}));
    const std::pair<int, const char*> methods[] = {
        {0, "OPTIONS"}, {2, "GET"}, {4, "PUT"}, {5, "DELETE"}};
    for (const auto& [index, name] : methods) {
        UploadRequest r;
        static_cast<HttpRequest&>(r) = request("/m");
        r.data = "payload";
        r.method = index;
        r.count = index == 2 ? 1 : 0;  // a GET with count set still uploads nothing
        r.uploadSize = 7;
        EXPECT_EQ(LumenNetworkHttp().send(r, &readUpload, &appendReply), 200) << name;
        EXPECT_EQ(r.reads, 0) << name;
        EXPECT_EQ(r.body, "ok") << name;
        auto seen = camera_->journal().on("/m");
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back().method, name);
        EXPECT_EQ(seen.back().body, "");
    }
    UploadRequest bad;
    static_cast<HttpRequest&>(bad) = request("/m");
    bad.method = 8;
    testing::internal::CaptureStdout();
    EXPECT_EQ(LumenNetworkHttp().send(bad, &readUpload, &appendReply),
              10000 + CURLE_BAD_FUNCTION_ARGUMENT);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(camera_->journal().on("/m").size(), 4u);
}

TEST_F(TransportTest, GetAppendsTheReplyTextInTextMode) {
    testsupport::HttpClient peer(camera_->config().address, "admin", "admin");
    const std::string expected = peer.get(listLibraries_).body;
    HttpRequest r = request(listLibraries_);
    std::string response = "kept:";
    ASSERT_EQ(LumenNetworkHttp().get(response, r), 200);
    EXPECT_EQ(response, "kept:" + expected);
    EXPECT_TRUE(r.file.empty());
    EXPECT_EQ(r.count, 0);
    auto seen = camera_->journal().on(listLibraries_);
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].method, "GET");
    EXPECT_EQ(header(seen[1], "User-Agent"), "curl/Control");
    EXPECT_EQ(header(seen[1], "Content-Type"), "image/png");
}

TEST_F(TransportTest, DownloadWritesTheSmartLogWhenItsDigestMatches) {
    testsupport::Reply direct = testsupport::HttpClient(camera_->config().address, "admin", "admin")
                                    .get("/common/smart_log");
    ASSERT_FALSE(direct.body.empty());
    HttpRequest r;
    ASSERT_EQ(download("/common/smart_log", r), 200);
    const fs::path written = dir_ / direct.header("smartLogName");
    EXPECT_EQ(r.file, written.string());
    EXPECT_EQ(r.count, 0);
    EXPECT_EQ(slurp(written), direct.body);
    EXPECT_EQ(listing(dir_), std::set<std::string>{direct.header("smartLogName")});
}

TEST_F(TransportTest, DownloadLeavesTheFileEmptyWhenTheDigestDiffers) {
    const std::string body = "analysis log text\n";
    const std::string wrongMd5 = camsim::md5HexUpper("other text");
    const std::string lowerMd5 = lower(camsim::md5HexUpper(body));
    for (const std::string& md5 : {wrongMd5, lowerMd5, std::string()}) {
        camera_->setCannedReply("/log",
                                announced(body, {{"smartLogName", "log.txt"},
                                                 {"smartLogLen", std::to_string(body.size())},
                                                 {"smartLogMD5", md5}}));
        HttpRequest r;
        EXPECT_EQ(download("/log", r), 200) << md5;
        EXPECT_EQ(r.file, (dir_ / "log.txt").string());
        ASSERT_TRUE(fs::exists(dir_ / "log.txt")) << md5;
        EXPECT_EQ(fs::file_size(dir_ / "log.txt"), 0u) << md5;
    }
}

TEST_F(TransportTest, DownloadKeepsTheFirstSixteenLibraryFiles) {
    std::string main(3000, 'M');
    for (size_t i = 0; i < main.size(); ++i)
        main[i] = static_cast<char>(i * 7);
    std::string body = main;
    std::vector<std::string> libraries;
    Json::Value list(Json::arrayValue);
    for (int i = 0; i < 17; ++i) {
        libraries.push_back(std::string(100 + i * 37, static_cast<char>('a' + i)));
        Json::Value element;
        element["facelibName"] = "lib" + std::to_string(i);
        element["facelibLen"] = static_cast<int>(libraries[i].size());
        element["facelibMD5"] = camsim::md5HexUpper(i == 5 ? "not this" : libraries[i]);
        list.append(element);
        body += libraries[i];
    }
    const camsim::HeaderList warehouse = {{"warehouseName", "main.db"},
                                          {"warehouseMD5", camsim::md5HexUpper(main)},
                                          {"warehouseLen", std::to_string(main.size())}};
    // The receive buffer is made by whichever of the two length headers comes last.
    for (bool librariesFirst : {false, true}) {
        SCOPED_TRACE(librariesFirst);
        camsim::HeaderList headers = warehouse;
        auto at = librariesFirst ? headers.begin() : headers.end();
        headers.insert(at, {"facelibs", testsupport::compact(list)});
        camera_->setCannedReply("/db", announced(body, headers));
        const std::string sub = librariesFirst ? "b" : "a";
        fs::create_directory(dir_ / sub);
        HttpRequest r;
        ASSERT_EQ(download("/db", r, sub + "/"), 200);
        EXPECT_EQ(r.file, (dir_ / sub / "main.db").string());
        EXPECT_EQ(slurp(r.file), main);
        ASSERT_EQ(r.count, 16);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(r.files[i], (dir_ / sub / ("lib" + std::to_string(i))).string());
            EXPECT_EQ(slurp(r.files[i]), i == 5 ? "" : libraries[i]) << i;
        }
        EXPECT_FALSE(fs::exists(dir_ / sub / "lib16"));
    }
}

TEST_F(TransportTest, HostileNamesAreNeverOpened) {
    fs::create_directories(dir_ / "inner" / "a");
    const std::string body = "payload";
    const camsim::HeaderList ok = {{"smartLogLen", std::to_string(body.size())},
                                   {"smartLogMD5", camsim::md5HexUpper(body)}};
    for (const char* name : {"../x", "a/b", ".", "..", "a\\b", "x..y", "tab\tname", "/abs"}) {
        camsim::HeaderList headers = ok;
        headers.emplace_back("smartLogName", name);
        camera_->setCannedReply("/log", announced(body, headers));
        HttpRequest r;
        EXPECT_EQ(download("/log", r, "inner/"), 200) << name;
        EXPECT_EQ(r.file, (dir_ / "inner/").string()) << name;
        EXPECT_EQ(listing(dir_), (std::set<std::string>{"inner", "inner/a"})) << name;
    }
    // Library names are held to the same rule; an empty one would name the prefix itself.
    Json::Value list(Json::arrayValue);
    for (const char* name : {"../lib", "a/lib", ""}) {
        Json::Value element;
        element["facelibName"] = name;
        element["facelibLen"] = 0;
        element["facelibMD5"] = camsim::md5HexUpper("");
        list.append(element);
    }
    camera_->setCannedReply("/db", announced(body, {{"warehouseName", "main.db"},
                                                    {"warehouseLen", std::to_string(body.size())},
                                                    {"warehouseMD5", camsim::md5HexUpper(body)},
                                                    {"facelibs", testsupport::compact(list)}}));
    for (const char* prefix : {"inner/", "inner/pre_"}) {
        HttpRequest r;
        EXPECT_EQ(download("/db", r, prefix), 200);
        EXPECT_EQ(r.count, 3);
        const std::string main = std::string(prefix) + "main.db";
        EXPECT_EQ(listing(dir_), (std::set<std::string>{"inner", "inner/a", main}));
        EXPECT_EQ(slurp(dir_ / main), body);
        fs::remove(dir_ / main);
    }
}

TEST_F(TransportTest, ImplausibleAnnouncementsEndTheTransfer) {
    auto oneLibrary = [](const Json::Value& length) {
        Json::Value element;  // no name: nothing to open before the refusal
        element["facelibLen"] = length;
        element["facelibMD5"] = "";
        Json::Value list(Json::arrayValue);
        list.append(element);
        return testsupport::compact(list);
    };
    const std::string sixHundredMiB = std::to_string(600 << 20);
    const std::vector<camsim::HeaderList> refused = {
        {{"smartLogLen", "1073741825"}},
        {{"smartLogLen", "-5"}},
        {{"smartLogLen", "12abc"}},
        {{"smartLogLen", "0x10"}},
        {{"warehouseLen", sixHundredMiB}, {"facelibs", oneLibrary(600 << 20)}},
        {{"facelibs", oneLibrary(600 << 20)}, {"warehouseLen", sixHundredMiB}},
        {{"warehouseLen", "1"}, {"facelibs", oneLibrary(2147483647)}},
    };
    for (const auto& lengths : refused) {
        camsim::HeaderList headers = lengths;
        headers.emplace_back("smartLogMD5", camsim::md5HexUpper("tiny"));
        headers.emplace_back("smartLogName", "never");
        camera_->setCannedReply("/log", announced("tiny", headers));
        HttpRequest r;
        EXPECT_EQ(download("/log", r), kWriteAborted) << lengths[0].second;
        EXPECT_TRUE(listing(dir_).empty()) << lengths[0].second;
    }
    // Exactly 1 GiB is allowed; the short body never completes the file.
    camera_->setCannedReply(
        "/log", announced("tiny", {{"smartLogLen", "1073741824"}, {"smartLogName", "big"}}));
    HttpRequest r;
    EXPECT_EQ(download("/log", r), 200);
    EXPECT_EQ(fs::file_size(dir_ / "big"), 0u);
    // Malformed library lists are ignored, not fatal.
    for (const std::string& libs : {std::string("not json"), std::string("{\"a\":1}"),
                                    std::string("[1,\"x\",{\"facelibLen\":\"9\"}]")}) {
        camera_->setCannedReply("/log", announced("tiny", {{"facelibs", libs}}));
        EXPECT_EQ(download("/log", r), 200) << libs;
    }
    EXPECT_EQ(r.count, 3);
}

// Download bounds shortened for one test, restored after it.
struct ShortDownloadBounds {
    explicit ShortDownloadBounds(LumenNetwork::DownloadBounds bounds) {
        LumenNetwork::setDownloadBounds(bounds);
    }
    ~ShortDownloadBounds() { LumenNetwork::setDownloadBounds(LumenNetwork::kDownloadBounds); }
};

TEST_F(TransportTest, DownloadEndsAtTheAnnouncedTotalAndWithinItsTimeBound) {
    using Clock = std::chrono::steady_clock;
    const std::string log = testsupport::HttpClient(camera_->config().address, "admin", "admin")
                                .get("/common/smart_log")
                                .body;
    ASSERT_FALSE(log.empty());
    // The camera streams on for a minute after the log: the download stops at the log's end.
    camera_->addFault(*camsim::parseFault("overrun@/common/smart_log#1"));
    HttpRequest r;
    Clock::time_point started = Clock::now();
    EXPECT_EQ(download("/common/smart_log", r), 200);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(30));
    EXPECT_EQ(slurp(r.file), log);

    ShortDownloadBounds bounds({500, 256 * 1024});
    // 256 KiB announced at 80 KiB/s, where 0.5 s plus 1 s is allowed.
    const std::string big(256 * 1024, 'b');
    camera_->setCannedReply("/slow", announced(big, {{"smartLogName", "slow.log"},
                                                     {"smartLogLen", std::to_string(big.size())},
                                                     {"smartLogMD5", camsim::md5HexUpper(big)}}));
    camera_->addFault(*camsim::parseFault("overrun:50@/slow#1"));
    started = Clock::now();
    EXPECT_EQ(download("/slow", r), 10000 + CURLE_OPERATION_TIMEDOUT);
    EXPECT_GE(Clock::now() - started, std::chrono::milliseconds(1500));
    EXPECT_EQ(fs::file_size(dir_ / "slow.log"), 0u);
    // Nothing announced: the floor alone.
    camera_->addFault(*camsim::parseFault("noanswer:20000@/slow#1"));
    started = Clock::now();
    EXPECT_EQ(download("/slow", r), 10000 + CURLE_OPERATION_TIMEDOUT);
    EXPECT_LT(Clock::now() - started, std::chrono::seconds(15));
}

// Through `send`, whose 20 s leave room for camsim's pace; `post` and `get` share the limit.
TEST_F(TransportTest, RepliesAboveSixtyFourMiBAreRefused) {
    camera_->setCannedReply("/big", announced(std::string((64 << 20) + 1, 'x'), {}));
    HttpRequest r = request("/big");
    EXPECT_EQ(LumenNetworkHttp().send(r, nullptr, &appendReply), kWriteAborted);
    EXPECT_LE(r.body.size(), size_t{64} << 20);
}

TEST(TransportHelpers, StringMd5MatchesRfc1321InUpperCase) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", "D41D8CD98F00B204E9800998ECF8427E"},
        {"a", "0CC175B9C0F1B6A831C399E269772661"},
        {"abc", "900150983CD24FB0D6963F7D28E17F72"},
        {"message digest", "F96B697D7CB7938D525A2F31AAF161D0"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57EDF4A22BE3C955AC49DA2E2107B67A"},
    };
    for (const auto& [text, digest] : vectors) {
        std::string out = "old";
        EXPECT_EQ(LumenNetwork::getStringMd5(text.data(), text.size(), out), 32);
        EXPECT_EQ(out, digest);
    }
}

TEST(TransportHelpers, StringMd5LogsTheDigestAtInfo) {
    testsupport::TempDir tmp("transport_log");
    const fs::path dir = tmp.path();
    const fs::path previous = fs::current_path();
    const int level = camlink::logMinimumLevel();
    fs::current_path(dir);  // the log ring lives in the working directory
    camlink::logResetForTest(camlink::kLogInfo);
    std::string out;
    LumenNetwork::getStringMd5("abc", 3, out);
    camlink::logResetForTest(level);
    fs::current_path(previous);
    const std::string log = slurp(dir / "LumenLog_1.log");
    EXPECT_NE(log.find("[LumenNetwork::getStringMd5: 63] 900150983CD24FB0D6963F7D28E17F72"),
              std::string::npos)
        << log;
}

TEST(TransportHelpers, FileMd5ReadsFromTheCurrentPositionToTheEnd) {
    std::string content = "HEAD";
    for (int i = 0; i < 3000; ++i)
        content += static_cast<char>(i * 13);
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fwrite(content.data(), 1, content.size(), file);
    std::fseek(file, 4, SEEK_SET);
    std::string out;
    EXPECT_EQ(LumenNetwork::getFileMd5(file, out), 3000);
    EXPECT_EQ(out, camsim::md5HexUpper(content.substr(4)));
    EXPECT_EQ(std::ftell(file), static_cast<long>(content.size()));
    std::rewind(file);
    EXPECT_EQ(LumenNetwork::getFileMd5(file, out), static_cast<int64_t>(content.size()));
    EXPECT_EQ(out, camsim::md5HexUpper(content));
    std::fclose(file);

    out = "unchanged";
    EXPECT_EQ(LumenNetwork::getFileMd5(nullptr, out), 0);
    EXPECT_EQ(out, "unchanged");
}

TEST(TransportHelpers, Base64IsOneLineOfStandardAlphabet) {
    const std::pair<std::string, std::string> vectors[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
    };
    for (const auto& [bytes, text] : vectors)
        EXPECT_EQ(LumenNetwork::base64Encode(bytes.data(), bytes.size()), text);

    for (size_t size : {size_t{100}, size_t{200000}}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 31 + i / 256);
        const std::string text = LumenNetwork::base64Encode(bytes.data(), bytes.size());
        EXPECT_EQ(text.size(), (size + 2) / 3 * 4);
        EXPECT_EQ(text.find('\n'), std::string::npos);
        EXPECT_EQ(camsim::base64Decode(text), bytes);  // camsim refuses any white space
    }
}

}  // namespace
