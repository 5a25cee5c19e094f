// Login and logout through the C interface, against simulated cameras on loopback.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <thread>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/sessions_env.h"

namespace {

using testsupport::CameraTest;

const char kLoginBody[] =
    "{\"config\":{\"action\":\"get_reqt\",\"module\":[{\"name\":\"device_status\"}]}}";

struct Login {
    int session = -1;
    int result = -1;
    char reply[128];
    std::string out;  // what the login printed on standard output
};

Login login(const std::string& address, const std::string& user, const std::string& password) {
    Login l;
    std::memset(l.reply, 'x', sizeof l.reply);
    testing::internal::CaptureStdout();
    l.result =
        vcam_control_login_v2(&l.session, address.c_str(), user.c_str(), password.c_str(), l.reply);
    std::fflush(stdout);
    l.out = testing::internal::GetCapturedStdout();
    return l;
}

class LoginTest : public CameraTest {};

// Port 80 of an address, listening but never accepting, its accept queue filled by connections
// of its own: further connection attempts are dropped unanswered, as by a silent firewall.
class StuffedPort80 {
public:
    explicit StuffedPort80(const std::string& address) {
        sockaddr_in at{};
        at.sin_family = AF_INET;
        at.sin_port = htons(80);
        inet_pton(AF_INET, address.c_str(), &at.sin_addr);
        listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (::bind(listener_, reinterpret_cast<sockaddr*>(&at), sizeof at) != 0 ||
            ::listen(listener_, 0) != 0)
            return;
        // Connect until one attempt is left hanging: the queue is then full.
        for (int i = 0; i < 8 && !full_; ++i) {
            int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
            fillers_.push_back(s);
            ::connect(s, reinterpret_cast<sockaddr*>(&at), sizeof at);
            pollfd entry{s, POLLOUT, 0};
            full_ = ::poll(&entry, 1, 300) == 0;
        }
    }
    ~StuffedPort80() {
        for (int s : fillers_)
            ::close(s);
        ::close(listener_);
    }
    bool full() const { return full_; }

private:
    int listener_ = -1;
    std::vector<int> fillers_;
    bool full_ = false;
};

TEST_F(LoginTest, RightCredentialsOpenBothChannels) {
    camsim::Camera& cam = startCamera();
    Login l = login(cam.config().address, "admin", "admin");
    ASSERT_EQ(l.result, 0) << l.out;
    EXPECT_GT(l.session, 0);
    EXPECT_NE(std::string(l.reply).find("device_status"), std::string::npos);
    char serial[64];
    std::snprintf(serial, sizeof serial, "user serial number: %llx\n",
                  static_cast<unsigned long long>(cam.config().serial));
    EXPECT_NE(l.out.find(serial), std::string::npos) << l.out;

    auto sent = cam.journal().on("/digest/config");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].method, "POST");
    EXPECT_EQ(sent[0].body, kLoginBody);
    EXPECT_EQ(sent[0].header("User-Agent"), "curl/Control");
    EXPECT_EQ(sent[0].header("Content-Type"), "application/json; charset=UTF-8");
    {
        std::lock_guard<std::mutex> lock(cam.channel().mutex);
        EXPECT_EQ(cam.channel().logins, 1);
    }
    EXPECT_EQ(vcam_control_logout(l.session), 0);
    EXPECT_EQ(vcam_control_logout(l.session), 10);
    // The logout packet reaches the camera, which counts it when it arrives.
    for (int i = 0; i < 300; ++i) {
        std::lock_guard<std::mutex> lock(cam.channel().mutex);
        if (cam.channel().logouts == 1) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::lock_guard<std::mutex> lock(cam.channel().mutex);
    EXPECT_EQ(cam.channel().logouts, 1);
}

TEST_F(LoginTest, RefusalsLeaveTheCamerasWordsInTheReplyBuffer) {
    camsim::CameraConfig config;
    config.lockoutSeconds = 60;
    camsim::Camera& cam = startCamera(config);
    Login wrong = login(cam.config().address, "admin", "wrong");
    EXPECT_EQ(wrong.result, 403);
    EXPECT_STREQ(wrong.reply, "{\"retry_left\":4}");
    EXPECT_EQ(wrong.reply[127], '\0');
    EXPECT_EQ(vcam_control_logout(wrong.session), 0);  // the entry stayed
    for (int i = 0; i < 4; ++i)
        vcam_control_logout(login(cam.config().address, "admin", "x").session);
    Login locked = login(cam.config().address, "admin", "admin");
    EXPECT_EQ(locked.result, 423);
    EXPECT_EQ(std::string(locked.reply).rfind("{\"time_left\":", 0), 0u) << locked.reply;
    vcam_control_logout(locked.session);

    camsim::Camera& second = startCamera();
    second.addFault(*camsim::parseFault("status:401@/digest/config#1"));
    Login unauthorised = login(second.config().address, "admin", "admin");
    EXPECT_EQ(unauthorised.result, 401);
    vcam_control_logout(unauthorised.session);
}

TEST_F(LoginTest, LongReplyIsCutTo127Bytes) {
    camsim::Camera& cam = startCamera();
    // The full device-status reply is longer than 127 bytes.
    Login l = login(cam.config().address, "admin", "admin");
    ASSERT_EQ(l.result, 0);
    EXPECT_EQ(std::strlen(l.reply), 127u);
    vcam_control_logout(l.session);
}

TEST_F(LoginTest, UnreachableCamerasGiveTransferErrors) {
    Login refused = login("127.0.99.1", "admin", "admin");
    EXPECT_EQ(refused.result, 10007);
    vcam_control_logout(refused.session);

    camsim::Camera& cam = startCamera();
    cam.addFault(*camsim::parseFault("noanswer:5000@/digest/config#1"));
    Login silent = login(cam.config().address, "admin", "admin");
    EXPECT_EQ(silent.result, 10028);
    vcam_control_logout(silent.session);
}

TEST_F(LoginTest, RefusedChannelLoginGives18AndSaysSo) {
    camsim::Camera& cam = startCamera();
    cam.channel().refuseLogin = true;
    Login l = login(cam.config().address, "admin", "admin");
    EXPECT_EQ(l.result, 18);
    EXPECT_NE(l.out.find("login failed.\n"), std::string::npos) << l.out;
    EXPECT_EQ(vcam_control_logout(l.session), 0);
    EXPECT_EQ(vcam_control_logout(l.session), 10);
}

TEST_F(LoginTest, PasswordIsCutTo31InThePacketButSentWholeInTheDigest) {
    camsim::CameraConfig config;
    config.password = std::string(31, 'p') + "-tail-beyond-31";
    camsim::Camera& cam = startCamera(config);
    Login whole = login(cam.config().address, "admin", config.password);
    EXPECT_EQ(whole.result, 0) << whole.out;
    vcam_control_logout(whole.session);
    // Same first 31 characters, different tail: the digest sees the difference.
    Login tail = login(cam.config().address, "admin", std::string(31, 'p') + "-other");
    EXPECT_EQ(tail.result, 403);
    vcam_control_logout(tail.session);
}

TEST_F(LoginTest, SessionNumbersOnlyGrowEvenAfterFailures) {
    Login first = login("127.0.99.1", "admin", "admin");
    Login second = login("127.0.99.1", "admin", "admin");
    EXPECT_EQ(second.session, first.session + 1);
    vcam_control_logout(first.session);
    vcam_control_logout(second.session);
    Login third = login("127.0.99.1", "admin", "admin");
    EXPECT_EQ(third.session, second.session + 1);
    vcam_control_logout(third.session);
}

TEST_F(LoginTest, ACallWaitsWhileAnotherThreadHoldsTheFrame) {
    camsim::Camera& cam = startCamera();
    cam.addFault(*camsim::parseFault("latency:1500@/digest/config#1"));
    int session = 0;
    std::thread holder([&] {
        char reply[128];
        vcam_control_login_v2(&session, cam.config().address.c_str(), "admin", "admin", reply);
    });
    // The unauthenticated first request is journaled at once: the login is inside the frame.
    for (int i = 0; i < 500 && cam.journal().entries().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ASSERT_FALSE(cam.journal().entries().empty());
    EXPECT_EQ(vcam_control_logout(987654), 10);
    // The login lets go of the frame only after its binary login, which the camera counts
    // before it answers: a logout that did not wait would find it still uncounted. Sessions
    // side by side do not wait: the login is still in the camera's delay.
    {
        std::lock_guard<std::mutex> lock(cam.channel().mutex);
        EXPECT_EQ(cam.channel().logins, testsupport::sessionsSideBySide() ? 0 : 1);
    }
    holder.join();
    vcam_control_logout(session);
}

TEST_F(LoginTest, SilentPort80FailsWithinItsBudgetAndThenLetsTheNextCallThrough) {
    camsim::Camera& healthy = startCamera();
    int other = 0;
    char reply[128];
    ASSERT_EQ(vcam_control_login_v2(&other, healthy.config().address.c_str(), "admin", "admin",
                                    reply),
              0);
    camsim::CameraConfig config;
    config.tcpPort = 8080;  // the camera's own channel is elsewhere: port 80 is the stuffed one
    camsim::Camera& silent = startCamera(config);
    StuffedPort80 port80(silent.config().address);
    ASSERT_TRUE(port80.full());

    Login stuck;
    const auto started = std::chrono::steady_clock::now();
    std::thread holder([&] {
        stuck = login(silent.config().address, "admin", "admin");
    });
    // Once the camera has passed the HTTP check, the login holds the frame for its connect.
    for (int i = 0; i < 500 && silent.journal().on("/digest/config").size() < 2; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    vcam_library_record libraries{};
    EXPECT_EQ(vcam_control_list_library(other, &libraries), 0);
    holder.join();
    const auto took = std::chrono::steady_clock::now() - started;

    EXPECT_EQ(stuck.result, 18);
    EXPECT_NE(stuck.out.find("connect failed!"), std::string::npos) << stuck.out;
    // The system's own connect time-out would be minutes; the bound here is generous.
    EXPECT_LT(took, std::chrono::seconds(30));
    vcam_control_logout(stuck.session);
    vcam_control_logout(other);
}

TEST(CoreExports, VersionAndUnsupportedCalls) {
    EXPECT_STREQ(vcam_control_version(), "3.1.6.0");
    EXPECT_EQ(vcam_control_upload_repo(0, nullptr), 19);
    EXPECT_EQ(vcam_control_add_feature(-5, nullptr), 19);
    int dummy = 0;
    EXPECT_EQ(vcam_control_list_feature(123, &dummy), 19);
    EXPECT_EQ(vcam_control_login(nullptr, "127.0.0.1", "a", "b"), 18);
}

}  // namespace
