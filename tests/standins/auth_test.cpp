// Digest authentication and the login lock-out, checked with curl (command line and library) as
// the peer, with hand-made headers for what curl never sends, and the gate's parts on their own.
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <strings.h>

#include <atomic>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "http/digest_gate.h"
#include "support/camera_fixture.h"
#include "util/crypto.h"

namespace {

struct CurlResult {
    int status = 0;
    std::string body;
};

// Runs the curl command line; the last line of its output is the HTTP status.
CurlResult runCurl(const std::string& args) {
    const std::string command = "curl -s --max-time 10 -w '\\n%{http_code}' " + args + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    size_t n;
    while (pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        out.append(buffer, n);
    if (pipe) pclose(pipe);
    CurlResult r;
    auto newline = out.rfind('\n');
    if (newline == std::string::npos) return r;
    r.status = std::atoi(out.c_str() + newline + 1);
    r.body = out.substr(0, newline);
    return r;
}

class AuthTest : public testsupport::CameraTest {
protected:
    std::string url(const camsim::Camera& c, const std::string& path) {
        return "'http://" + c.config().address + ":8089" + path + "'";
    }
    const std::string statusBody =
        "-H 'Content-Type: application/json; charset=UTF-8' "
        "-d '{\"config\":{\"action\":\"get_reqt\",\"module\":[{\"name\":\"device_status\"}]}}'";
};

TEST_F(AuthTest, EveryPathWantsDigestCredentials) {
    camsim::Camera& cam = startCamera();
    const std::string list = url(cam, "/api/v1/recognize/list_fdlib");
    EXPECT_EQ(runCurl(list).status, 401);
    EXPECT_EQ(runCurl("--basic -u admin:admin " + list).status, 401);
    EXPECT_EQ(runCurl("--digest -u admin:nope " + list).status, 401);
    EXPECT_EQ(runCurl("--digest -u other:admin " + list).status, 401);
    CurlResult ok = runCurl("--digest -u admin:admin " + list);
    EXPECT_EQ(ok.status, 200);
    EXPECT_EQ(ok.body, "{\"code\":0,\"data\":[],\"msg\":\"success\"}");
}

TEST_F(AuthTest, LoginCheckCountsWrongTriesAndLocksAfterFive) {
    camsim::CameraConfig config;
    config.lockoutSeconds = 30;
    camsim::Camera& cam = startCamera(config);
    const std::string path = url(cam, "/digest/config");
    CurlResult right = runCurl("--digest -u admin:admin " + statusBody + " " + path);
    EXPECT_EQ(right.status, 200);
    EXPECT_NE(right.body.find("\"name\":\"device_status\""), std::string::npos);
    for (int left = 4; left >= 0; --left) {
        CurlResult wrong = runCurl("--digest -u admin:bad " + statusBody + " " + path);
        EXPECT_EQ(wrong.status, 403);
        EXPECT_EQ(wrong.body, "{\"retry_left\":" + std::to_string(left) + "}");
    }
    // Locked: even the right password is turned away, with the time until the lock ends.
    CurlResult locked = runCurl("--digest -u admin:admin " + statusBody + " " + path);
    EXPECT_EQ(locked.status, 423);
    int timeLeft = -1;
    ASSERT_EQ(std::sscanf(locked.body.c_str(), "{\"time_left\":%d}", &timeLeft), 1) << locked.body;
    EXPECT_GT(timeLeft, 0);
    EXPECT_LE(timeLeft, 30);
    // The lock-out belongs to the login check; the API keeps answering.
    EXPECT_EQ(runCurl("--digest -u admin:admin " + url(cam, "/api/v1/recognize/list_fdlib")).status,
              200);
}

TEST_F(AuthTest, RightLoginResetsTheCount) {
    camsim::Camera& cam = startCamera();
    const std::string path = url(cam, "/digest/config");
    for (int i = 0; i < 3; ++i)
        runCurl("--digest -u admin:bad " + statusBody + " " + path);
    EXPECT_EQ(runCurl("--digest -u admin:admin " + statusBody + " " + path).status, 200);
    EXPECT_EQ(runCurl("--digest -u admin:bad " + statusBody + " " + path).body,
              "{\"retry_left\":4}");
}

TEST_F(AuthTest, UploadWithTheThreeHeaderLines) {
    camsim::Camera& cam = startCamera();
    ASSERT_EQ(cam.faces().createLibrary("staff", 75).code, 0);
    const std::string picture = testsupport::makeJpeg(320, 240);
    const std::string file = ::testing::TempDir() + "/upload_face.jpg";
    std::ofstream(file, std::ios::binary) << picture;
    const std::string headers = " -H 'name:" + camsim::base64Encode("face 1.jpg") +
                                "' -H 'md5:" + camsim::md5HexUpper(picture) +
                                "' -H 'libid:1' -H 'encoding:0' -H 'Content-Type:image/png'";
    CurlResult added = runCurl("--digest -u admin:admin --data-binary @" + file + headers + " " +
                               url(cam, "/api/v1/recognize/fdlib/add_img"));
    EXPECT_EQ(added.status, 200);
    EXPECT_EQ(added.body, "{\"code\":0,\"data\":{\"imgid\":1001},\"msg\":\"success\"}");
    auto stored = cam.faces().snapshot().at(0).images.at(1001);
    EXPECT_EQ(stored.bytes, picture);
    EXPECT_EQ(stored.name, "face 1.jpg");
    auto sent = cam.journal().on("/api/v1/recognize/fdlib/add_img");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].body, picture);

    // A digest that does not match the bytes is refused as an unusable picture.
    CurlResult tampered = runCurl("--digest -u admin:admin --data-binary @" + file +
                                  " -H 'name:eA==' -H 'md5:00000000000000000000000000000000'"
                                  " -H 'libid:1' -H 'Content-Type:image/png' " +
                                  url(cam, "/api/v1/recognize/fdlib/add_img"));
    EXPECT_NE(tampered.body.find("\"code\":2020"), std::string::npos) << tampered.body;
}

// ---- The gate's parts, without a camera ----

using camsim::DigestGate;
using camsim::DigestOutcome;
using camsim::DigestParams;
using camsim::parseDigestAuthorization;

TEST(DigestHeader, ReadsMembersQuotedOrNotInAnyOrder) {
    auto params = parseDigestAuthorization(
        "digest  NC=00000002,uri = \"/a?b=c,d\" ,, Username=\"ad\\\"m\\\\in\", qop=auth,"
        "cnonce=\"\", x-extra=\"\", opaque=a/b+c==");
    ASSERT_TRUE(params);
    EXPECT_EQ(*params, (DigestParams{{"nc", "00000002"},
                                     {"uri", "/a?b=c,d"},
                                     {"username", "ad\"m\\in"},
                                     {"qop", "auth"},
                                     {"cnonce", ""},
                                     {"x-extra", ""},
                                     {"opaque", "a/b+c=="}}));
}

TEST(DigestHeader, RefusesMalformedAndHostileHeaders) {
    const std::string longName(camsim::kMaxAuthorizationBytes, 'a');
    for (const std::string& header : {
             std::string(""), std::string("Basic YWRtaW46YWRtaW4="), std::string("Digest"),
             std::string("Digestusername=\"admin\""), std::string("Digest ,,"),
             std::string("Digest username=\"admin"),          // unterminated
             std::string("Digest username=\"admin\\"),        // escape at the very end
             std::string("Digest username"),                  // no value
             std::string("Digest username="),                 // empty value
             std::string("Digest username=admin nonce=x"),    // no comma
             std::string("Digest username=\"a\"x, nonce=y"),  // garbage after a quote
             std::string("Digest nonce=a, NONCE=b"),          // given twice
             std::string("Digest username=\"a\x01\""),        // control character
             std::string("Digest =admin"),
             "Digest username=\"" + longName + "\"",  // longer than allowed
         })
        EXPECT_FALSE(parseDigestAuthorization(header)) << header.substr(0, 60);
    // Just within the bound is fine.
    const std::string open = "Digest u=\"";
    const std::string fits =
        open + std::string(camsim::kMaxAuthorizationBytes - open.size() - 1, 'b') + "\"";
    ASSERT_EQ(fits.size(), camsim::kMaxAuthorizationBytes);
    EXPECT_TRUE(parseDigestAuthorization(fits));
}

// An Authorization header with qop=auth, its response computed here.
struct Answer {
    std::string user = "admin";
    std::string realm = "camsim";
    std::string password = "admin";
    std::string method = "GET";
    std::string uri = "/api/v1/recognize/list_fdlib";
    std::string nonce;
    std::string nc = "00000001";
    std::string cnonce = "0a4f113b";

    std::string response() const {
        const std::string ha1 = camsim::md5HexLower(user + ":" + realm + ":" + password);
        const std::string ha2 = camsim::md5HexLower(method + ":" + uri);
        return camsim::md5HexLower(ha1 + ":" + nonce + ":" + nc + ":" + cnonce + ":auth:" + ha2);
    }
    std::string header(const std::string& responseValue) const {
        return "Digest username=\"" + user + "\", realm=\"" + realm + "\", nonce=\"" + nonce +
               "\", uri=\"" + uri + "\", response=\"" + responseValue + "\", qop=auth, nc=" + nc +
               ", cnonce=\"" + cnonce + "\", algorithm=MD5";
    }
    std::string header() const { return header(response()); }
};

std::string nonceOf(const std::string& challenge) {
    const std::string key = "nonce=\"";
    auto start = challenge.find(key);
    if (start == std::string::npos) return "";
    start += key.size();
    return challenge.substr(start, challenge.find('"', start) - start);
}

// Published examples: a right digest on a nonce this gate never gave out is stale, not wrong.
TEST(DigestGate, PublishedExamplesCheckOutUpToTheUnknownNonce) {
    Answer rfc2617{"Mufasa", "testrealm@host.com", "Circle Of Life",
                   "GET",    "/dir/index.html",    "dcd98b7102dd2f0e8b11d0f600bfb0c093"};
    Answer rfc7616{"Mufasa",          "http-auth@example.org",
                   "Circle of Life",  "GET",
                   "/dir/index.html", "7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v",
                   "00000001",        "f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ"};
    const std::pair<Answer, std::string> examples[] = {
        {rfc2617, "6629fae49393a05397450978507c4ef1"},
        {rfc7616, "8ca523f5e9506fed4657c9700eebdbec"}};
    for (const auto& [answer, published] : examples) {
        DigestGate gate({answer.realm, answer.user, answer.password});
        EXPECT_EQ(gate.check("GET", answer.uri, answer.header(published)), DigestOutcome::Stale);
        std::string upper = published;
        for (char& c : upper)
            c = static_cast<char>(toupper(c));
        EXPECT_EQ(gate.check("GET", answer.uri, answer.header(upper)), DigestOutcome::Stale);
        std::string forged = published;
        forged[5] = forged[5] == '0' ? '1' : '0';
        EXPECT_EQ(gate.check("GET", answer.uri, answer.header(forged)), DigestOutcome::Wrong);
        EXPECT_EQ(gate.check("POST", answer.uri, answer.header(published)), DigestOutcome::Wrong);
        EXPECT_EQ(gate.check("GET", "/dir/other.html", answer.header(published)),
                  DigestOutcome::Wrong);
    }
}

TEST(DigestGate, EachNonceCountsUpwardUntilItExpires) {
    using std::chrono::seconds;
    DigestGate gate({"camsim", "admin", "admin"});
    const auto t0 = DigestGate::Clock::now();
    Answer a, b;
    a.nonce = nonceOf(gate.challenge(false, t0));
    b.nonce = nonceOf(gate.challenge(false, t0));
    ASSERT_EQ(a.nonce.size(), 32u);
    ASSERT_NE(a.nonce, b.nonce);
    auto check = [&](const Answer& answer, const std::string& nc, seconds after) {
        Answer counted = answer;
        counted.nc = nc;
        return gate.check("GET", counted.uri, counted.header(), t0 + after);
    };
    EXPECT_EQ(check(a, "00000001", seconds(1)), DigestOutcome::Right);
    EXPECT_EQ(check(b, "00000001", seconds(1)), DigestOutcome::Right);  // a nonce of its own
    EXPECT_EQ(check(a, "00000001", seconds(1)), DigestOutcome::Stale);  // replayed
    EXPECT_EQ(check(a, "0000000A", seconds(2)), DigestOutcome::Right);  // gaps are fine
    EXPECT_EQ(check(a, "00000009", seconds(2)), DigestOutcome::Stale);  // going back is not
    EXPECT_EQ(check(a, "00000000", seconds(2)), DigestOutcome::Stale);
    EXPECT_EQ(check(b, "00000002", seconds(300)), DigestOutcome::Right);
    EXPECT_EQ(check(b, "00000003", seconds(301)), DigestOutcome::Stale);  // expired
    Answer c;
    c.nonce = nonceOf(gate.challenge(true, t0 + seconds(301)));
    EXPECT_EQ(check(c, "00000001", seconds(302)), DigestOutcome::Right);
}

TEST(DigestGate, OldestNonceMakesRoomWhenTheTableIsFull) {
    DigestGate gate({"camsim", "admin", "admin", 2});
    Answer first, second, third;
    first.nonce = nonceOf(gate.challenge(false));
    second.nonce = nonceOf(gate.challenge(false));
    third.nonce = nonceOf(gate.challenge(false));
    EXPECT_EQ(gate.check("GET", first.uri, first.header()), DigestOutcome::Stale);
    EXPECT_EQ(gate.check("GET", second.uri, second.header()), DigestOutcome::Right);
    EXPECT_EQ(gate.check("GET", third.uri, third.header()), DigestOutcome::Right);
}

TEST(DigestGate, ChallengeAndIncompleteOrForeignAnswers) {
    DigestGate gate({"camsim", "admin", "admin"});
    const std::string offer = gate.challenge(true);
    EXPECT_EQ(offer.rfind("Digest realm=\"camsim\", qop=\"auth\", nonce=\"", 0), 0u) << offer;
    EXPECT_NE(offer.find(", algorithm=MD5"), std::string::npos) << offer;
    EXPECT_NE(offer.find(", stale=true"), std::string::npos) << offer;
    EXPECT_EQ(gate.challenge(false).find("stale"), std::string::npos);
    Answer answer;
    answer.nonce = nonceOf(offer);
    const std::string right = answer.header();
    auto without = [&](const std::string& part) {
        std::string h = right;
        return h.erase(h.find(part), part.size());
    };
    auto replaced = [&](const std::string& part, const std::string& by) {
        std::string h = right;
        return h.replace(h.find(part), part.size(), by);
    };
    for (const std::string& header :
         {without(", qop=auth"), without(", nc=00000001"), without(", cnonce=\"0a4f113b\""),
          without("username=\"admin\", "), replaced("qop=auth", "qop=auth-int"),
          replaced("algorithm=MD5", "algorithm=SHA-256"), replaced("nc=00000001", "nc=1"),
          replaced("nc=00000001", "nc=0000000g"), std::string("")})
        EXPECT_EQ(gate.check("GET", answer.uri, header), DigestOutcome::Missing) << header;
    Answer other = answer;
    other.user = "other";
    EXPECT_EQ(gate.check("GET", other.uri, other.header()), DigestOutcome::Wrong);
    other = answer;
    other.realm = "elsewhere";
    EXPECT_EQ(gate.check("GET", other.uri, other.header()), DigestOutcome::Wrong);
    // None of that used up the nonce.
    EXPECT_EQ(gate.check("GET", answer.uri, replaced("algorithm=MD5", "algorithm=md5")),
              DigestOutcome::Right);
}

// ---- A camera, over libcurl ----

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;

struct Exchange {
    long status = 0;
    std::string challenge;  // WWW-Authenticate
    std::string body;
};

size_t keepBody(char* data, size_t size, size_t count, void* target) {
    static_cast<Exchange*>(target)->body.append(data, size * count);
    return size * count;
}

size_t keepChallenge(char* data, size_t size, size_t count, void* target) {
    const std::string key = "WWW-Authenticate:";
    std::string line(data, size * count);
    if (strncasecmp(line.c_str(), key.c_str(), key.size()) == 0) {
        line.erase(0, line.find_first_not_of(' ', key.size()));
        line.erase(line.find_last_not_of("\r\n") + 1);
        static_cast<Exchange*>(target)->challenge = line;
    }
    return size * count;
}

// A handle that answers digest challenges itself, as the SDK's are made.
CurlHandle digestHandle(const std::string& url, const char* credentials = "admin:admin") {
    CurlHandle curl(curl_easy_init());
    if (!curl) return curl;
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_HTTPAUTH, CURLAUTH_DIGEST);
    curl_easy_setopt(curl.get(), CURLOPT_USERPWD, credentials);
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, 10000L);
    return curl;
}

Exchange perform(CURL* curl) {
    Exchange result;
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &keepBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &result);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &keepChallenge);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &result);
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    return result;
}

// One request carrying exactly this Authorization header (none when empty); a body makes it
// a POST.
Exchange sendRaw(const std::string& url, const std::string& authorization,
                 const std::string& body = "") {
    CurlHandle curl(curl_easy_init());
    if (!curl) return {};
    std::unique_ptr<curl_slist, SlistCleanup> headers;
    if (!authorization.empty())
        headers.reset(curl_slist_append(nullptr, ("Authorization: " + authorization).c_str()));
    curl_easy_setopt(curl.get(), CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl.get(), CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(curl.get(), CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl.get(), CURLOPT_TIMEOUT_MS, 10000L);
    if (!body.empty()) curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, body.c_str());
    return perform(curl.get());
}

class DigestTest : public testsupport::CameraTest {
protected:
    void SetUp() override { camera_ = &startCamera(); }
    std::string url(const std::string& path) const {
        return "http://" + camera_->config().address + ":8089" + path;
    }
    // A fresh nonce from the camera's challenge.
    std::string challengeNonce() { return nonceOf(sendRaw(url(answer_.uri), "").challenge); }

    camsim::Camera* camera_ = nullptr;
    Answer answer_;
    const std::string loginPath_ = "/digest/config";
    const std::string statusBody_ =
        R"({"config":{"action":"get_reqt","module":[{"name":"device_status"}]}})";
};

// Two clients challenged within the same second used to get one nonce and collide on nc=1.
TEST_F(DigestTest, ClientsChallengedTogetherGetNoncesOfTheirOwn) {
    Answer first = answer_, second = answer_;
    first.nonce = challengeNonce();
    second.nonce = challengeNonce();
    ASSERT_EQ(first.nonce.size(), 32u);
    EXPECT_NE(first.nonce, second.nonce);
    second.cnonce = "bbbb2222";
    EXPECT_EQ(sendRaw(url(first.uri), first.header()).status, 200);
    EXPECT_EQ(sendRaw(url(second.uri), second.header()).status, 200);
}

TEST_F(DigestTest, ConcurrentClientsOnOneCameraAllGetIn) {
    constexpr int kThreads = 4, kRequestsEach = 25;
    std::atomic<int> answered{0};
    std::vector<std::string> failures(kThreads);
    std::vector<std::thread> clients;
    for (int t = 0; t < kThreads; ++t)
        clients.emplace_back([&, t] {
            for (int i = 0; i < kRequestsEach; ++i) {
                CurlHandle curl = digestHandle(url(answer_.uri));
                long status = curl ? perform(curl.get()).status : 0;
                if (status == 200)
                    ++answered;
                else
                    failures[t] += " " + std::to_string(status);
            }
        });
    for (auto& client : clients)
        client.join();
    EXPECT_EQ(answered.load(), kThreads * kRequestsEach);
    for (int t = 0; t < kThreads; ++t)
        EXPECT_EQ(failures[t], "") << "client " << t;
}

TEST_F(DigestTest, ReplayedAuthorizationIsRefused) {
    answer_.nonce = challengeNonce();
    const std::string header = answer_.header();
    EXPECT_EQ(sendRaw(url(answer_.uri), header).status, 200);
    Exchange replay = sendRaw(url(answer_.uri), header);
    EXPECT_EQ(replay.status, 401);
    EXPECT_NE(replay.challenge.find("stale=true"), std::string::npos) << replay.challenge;
    EXPECT_EQ(camera_->journal().on(answer_.uri).size(), 1u);

    // On the login check a replay is asked to authenticate again; it is no wrong password.
    Answer login = answer_;
    login.method = "POST";
    login.uri = loginPath_;
    login.nonce = challengeNonce();
    EXPECT_EQ(sendRaw(url(loginPath_), login.header(), statusBody_).status, 200);
    EXPECT_EQ(sendRaw(url(loginPath_), login.header(), statusBody_).status, 401);
    login.nc = "00000002";
    EXPECT_EQ(sendRaw(url(loginPath_), login.header(), statusBody_).status, 200);
}

// A client that keeps its handle keeps its connection (from its first authenticated exchange)
// and its nonce: one challenge, then one request per exchange with the count going up. The camera can also refuse a replayed count
// with a plain challenge (no "stale"), as some servers do.
TEST_F(DigestTest, OneConnectionCarriesARisingCountAndAReplayMayGetAPlainChallenge) {
    CurlHandle curl = digestHandle(url(answer_.uri));
    ASSERT_TRUE(curl);
    camera_->journal().clear();
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(perform(curl.get()).status, 200);
    const std::vector<camsim::JournalEntry> seen = camera_->journal().entries();
    ASSERT_EQ(seen.size(), 4u);
    EXPECT_EQ(seen[0].status, 401);
    const std::string nonce = nonceOf(seen[1].header("Authorization"));
    for (size_t i = 1; i < seen.size(); ++i) {
        EXPECT_EQ(seen[i].status, 200);
        EXPECT_EQ(seen[i].peer, seen[1].peer) << "a new connection for request " << i;
        EXPECT_EQ(nonceOf(seen[i].header("Authorization")), nonce);
        EXPECT_NE(seen[i].header("Authorization").find("nc=0000000" + std::to_string(i)),
                  std::string::npos)
            << seen[i].header("Authorization");
    }

    camsim::CameraConfig plain;
    plain.staleChallenges = false;
    camsim::Camera& other = startCamera(plain);
    const std::string otherUrl = "http://" + other.config().address + ":8089" + answer_.uri;
    Answer replayed = answer_;
    replayed.nonce = nonceOf(sendRaw(otherUrl, "").challenge);
    EXPECT_EQ(sendRaw(otherUrl, replayed.header()).status, 200);
    Exchange refused = sendRaw(otherUrl, replayed.header());
    EXPECT_EQ(refused.status, 401);
    EXPECT_NE(nonceOf(refused.challenge).size(), 0u) << refused.challenge;
    EXPECT_EQ(refused.challenge.find("stale"), std::string::npos) << refused.challenge;
}

TEST_F(DigestTest, ForgedResponseIsRefusedAndUsesNothingUp) {
    answer_.nonce = challengeNonce();
    std::string forged = answer_.response();
    forged[0] = forged[0] == 'a' ? 'b' : 'a';
    Exchange refused = sendRaw(url(answer_.uri), answer_.header(forged));
    EXPECT_EQ(refused.status, 401);
    EXPECT_NE(refused.challenge.find("nonce=\""), std::string::npos) << refused.challenge;
    EXPECT_EQ(refused.challenge.find("stale"), std::string::npos) << refused.challenge;

    Answer login = answer_;
    login.method = "POST";
    login.uri = loginPath_;
    login.nonce = challengeNonce();
    Exchange wrong = sendRaw(url(loginPath_), login.header(forged), statusBody_);
    EXPECT_EQ(wrong.status, 403);
    EXPECT_EQ(wrong.body, "{\"retry_left\":4}");
    // The right answer with the very same nonce and count still gets in.
    EXPECT_EQ(sendRaw(url(answer_.uri), answer_.header()).status, 200);
    EXPECT_EQ(sendRaw(url(loginPath_), login.header(), statusBody_).status, 200);
}

TEST_F(DigestTest, UnknownNonceGetsStaleChallengeAndCurlRecovers) {
    answer_.nonce = "00112233445566778899aabbccddeeff";
    Exchange unknown = sendRaw(url(answer_.uri), answer_.header());
    EXPECT_EQ(unknown.status, 401);
    EXPECT_NE(unknown.challenge.find("stale=true"), std::string::npos) << unknown.challenge;
    EXPECT_NE(nonceOf(unknown.challenge), answer_.nonce);

    // A restart forgets every nonce; libcurl's next request offers its old one, is told it
    // is stale and answers the new challenge without asking anyone.
    CurlHandle curl = digestHandle(url(answer_.uri));
    ASSERT_TRUE(curl);
    EXPECT_EQ(perform(curl.get()).status, 200);
    camera_->stop();
    std::string error;
    ASSERT_TRUE(camera_->start(&error)) << error;
    camera_->journal().clear();
    EXPECT_EQ(perform(curl.get()).status, 200);
    std::vector<camsim::JournalEntry> seen = camera_->journal().entries();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].status, 401);
    EXPECT_EQ(nonceOf(seen[0].header("Authorization")).size(), 32u);
    EXPECT_EQ(seen[1].status, 200);
}

TEST_F(DigestTest, HostileAuthorizationHeadersAreChallenged) {
    answer_.nonce = challengeNonce();
    const std::string right = answer_.header();
    const std::string hostile[] = {
        right + ", x=\"" + std::string(5000, 'x') + "\"",
        "Digest " + std::string(16000, ','),
        "Digest username=\"admin, realm=\"camsim\"",
        "Digest username=\"admin\", realm=\"camsim\"",
        right.substr(0, right.size() / 2),
        "Digest \xff\xfe\x01",
        "Basic YWRtaW46YWRtaW4=",
    };
    for (const std::string& header : hostile) {
        for (const std::string& path : {answer_.uri, loginPath_}) {
            Exchange refused = sendRaw(url(path), header, path == loginPath_ ? statusBody_ : "");
            EXPECT_EQ(refused.status, 401) << path << ": " << header.substr(0, 60);
            EXPECT_EQ(nonceOf(refused.challenge).size(), 32u) << refused.challenge;
        }
    }
    // None counted as a wrong login, none used up the nonce.
    CurlHandle curl = digestHandle(url(loginPath_), "admin:bad");
    ASSERT_TRUE(curl);
    curl_easy_setopt(curl.get(), CURLOPT_POSTFIELDS, statusBody_.c_str());
    EXPECT_EQ(perform(curl.get()).body, "{\"retry_left\":4}");
    EXPECT_EQ(sendRaw(url(answer_.uri), right).status, 200);
}

}  // namespace
