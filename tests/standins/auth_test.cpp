// Digest authentication and the login lock-out, checked with the curl command line as the peer.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

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
    while (pipe && (n = fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
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
    EXPECT_EQ(runCurl("--digest -u admin:admin " + url(cam, "/api/v1/recognize/list_fdlib")).status, 200);
}

TEST_F(AuthTest, RightLoginResetsTheCount) {
    camsim::Camera& cam = startCamera();
    const std::string path = url(cam, "/digest/config");
    for (int i = 0; i < 3; ++i) runCurl("--digest -u admin:bad " + statusBody + " " + path);
    EXPECT_EQ(runCurl("--digest -u admin:admin " + statusBody + " " + path).status, 200);
    EXPECT_EQ(runCurl("--digest -u admin:bad " + statusBody + " " + path).body, "{\"retry_left\":4}");
}

TEST_F(AuthTest, UploadWithTheThreeHeaderLines) {
    camsim::Camera& cam = startCamera();
    ASSERT_EQ(cam.faces().createLibrary("staff", 75).code, 0);
    const std::string picture = testsupport::makeJpeg(320, 240);
    const std::string file = ::testing::TempDir() + "/upload_face.jpg";
    std::ofstream(file, std::ios::binary) << picture;
    const std::string headers = " -H 'name:" + camsim::base64Encode("face 1.jpg") + "' -H 'md5:" +
                                camsim::md5HexUpper(picture) + "' -H 'libid:1' -H 'encoding:0'";
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
                                  " -H 'libid:1' " + url(cam, "/api/v1/recognize/fdlib/add_img"));
    EXPECT_NE(tampered.body.find("\"code\":2020"), std::string::npos) << tampered.body;
}

}  // namespace
