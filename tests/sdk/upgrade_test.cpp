// Firmware upgrade over the session's binary channel, against a simulated camera: what the
// camera receives, what the console says, the failures, and the frame held for the whole of it.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/sessions_env.h"
#include "support/temp_dir.h"
#include "util/crypto.h"

namespace {

std::string pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + 7) % 251);
    return bytes;
}

// The lines of a console text that start with `prefix`, without it.
std::vector<std::string> linesAfter(const std::string& text, const std::string& prefix) {
    std::vector<std::string> found;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) found.push_back(line.substr(prefix.size()));
    return found;
}

class UpgradeTest : public testsupport::CameraTest {
protected:
    int open(camsim::Camera& camera) {
        char reply[VCAM_LOGIN_REPLY_SIZE];
        int session = 0;
        EXPECT_EQ(vcam_control_login_v2(&session, camera.config().address.c_str(), "admin", "admin",
                                        reply),
                  0);
        sessions_.push_back(session);
        return session;
    }
    void TearDown() override {
        for (int s : sessions_)
            vcam_control_logout(s);
        CameraTest::TearDown();
    }

    static std::vector<camsim::UpgradeRecord> upgrades(camsim::Camera& camera) {
        std::lock_guard<std::mutex> lock(camera.channel().mutex);
        return camera.channel().upgrades;
    }

    // Runs the upgrade with standard output captured.
    static int update(int session, const char* path, std::string* out) {
        testing::internal::CaptureStdout();
        int result = vcam_control_update(session, path);
        std::fflush(stdout);
        *out = testing::internal::GetCapturedStdout();
        return result;
    }

    std::vector<int> sessions_;
    testsupport::TempDir dir_{"camlink-upgrade"};
};

TEST_F(UpgradeTest, EmptyFileIsAnnouncedWithLengthZero) {
    camsim::Camera& cam = startCamera();
    const int s = open(cam);
    const std::string path = dir_.write("empty.bin", "");
    std::string out;
    EXPECT_EQ(update(s, path.c_str(), &out), 0) << out;
    auto got = upgrades(cam);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].announcedSize, 0u);
    EXPECT_EQ(got[0].receivedSize, 0u);
    EXPECT_EQ(got[0].md5, "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_TRUE(got[0].accepted);
}

TEST_F(UpgradeTest, FileOf2500BytesGoesInThreeBlocks) {
    camsim::Camera& cam = startCamera();
    const int s = open(cam);
    const std::string bytes = pattern(2500);
    const std::string path = dir_.write("fw 2500.bin", bytes);
    std::string out;
    ASSERT_EQ(update(s, path.c_str(), &out), 0) << out;
    EXPECT_EQ(linesAfter(out, "upgrade file: "), std::vector<std::string>{path});
    EXPECT_EQ(linesAfter(out, "send size: "), (std::vector<std::string>{"1024", "1024", "452"}));
    auto got = upgrades(cam);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].announcedSize, 2500u);
    EXPECT_EQ(got[0].receivedSize, 2500u);
    EXPECT_EQ(got[0].md5, camsim::md5HexUpper(bytes));
    // The channel stays open: the logout still reaches the camera.
    EXPECT_EQ(vcam_control_logout(s), 0);
}

// Files that cannot be sent are refused before a byte goes out: a probe afterwards is the
// first thing the camera reads, so a stray header or stray data would show in its record.
TEST_F(UpgradeTest, UnsendableFilesFailBeforeAnythingIsSent) {
    camsim::Camera& cam = startCamera();
    const int s = open(cam);
    const std::string missing = dir_.path() + "/no such file.bin";
    std::string out;
    EXPECT_EQ(update(s, missing.c_str(), &out), VCAM_ERR_UPGRADE_FAILED);
    EXPECT_EQ(update(s, dir_.path().c_str(), &out), VCAM_ERR_UPGRADE_FAILED);
    EXPECT_EQ(update(s, "/dev/zero", &out), VCAM_ERR_UPGRADE_FAILED);
    EXPECT_EQ(vcam_control_update(s, nullptr), VCAM_ERR_ARGUMENT);
    // 2 GiB and more do not fit a length the camera reads as signed; sparse files cost nothing.
    for (long long size : {2147483648LL, 4294967296LL + 5}) {
        const std::string big = dir_.write("big.bin", "");
        const int fd = ::open(big.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(::ftruncate(fd, static_cast<off_t>(size)), 0);
        ::close(fd);
        EXPECT_EQ(update(s, big.c_str(), &out), VCAM_ERR_UPGRADE_FAILED) << size;
        EXPECT_EQ(linesAfter(out, "send size: ").size(), 0u) << out;
    }
    EXPECT_TRUE(upgrades(cam).empty());

    cam.channel().refuseUpgrade = true;  // answered at once, without the settling pause
    const std::string probe = pattern(10);
    EXPECT_EQ(update(s, dir_.write("probe.bin", probe).c_str(), &out), VCAM_ERR_UPGRADE_FAILED);
    auto got = upgrades(cam);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].announcedSize, 10u);
    EXPECT_EQ(got[0].md5, camsim::md5HexUpper(probe));
    EXPECT_FALSE(got[0].accepted);
}

TEST_F(UpgradeTest, SessionsWithoutABinaryLoginGive10) {
    camsim::Camera& cam = startCamera();
    cam.channel().refuseLogin = true;
    char reply[VCAM_LOGIN_REPLY_SIZE];
    int s = 0;
    testing::internal::CaptureStdout();
    EXPECT_EQ(vcam_control_login_v2(&s, cam.config().address.c_str(), "admin", "admin", reply),
              VCAM_ERR_ARGUMENT);
    testing::internal::GetCapturedStdout();
    sessions_.push_back(s);
    const std::string path = dir_.write("fw.bin", "x");
    EXPECT_EQ(vcam_control_update(s, path.c_str()), VCAM_ERR_SESSION);
    EXPECT_EQ(vcam_control_update(987654, path.c_str()), VCAM_ERR_SESSION);
    EXPECT_TRUE(upgrades(cam).empty());
}

// A refused upgrade returns before the settling pause would have ended: a watcher that waits
// for the return races the pause's own length, and the return must come first.
TEST_F(UpgradeTest, RefusedUpgradeSkipsTheSettlingPause) {
    camsim::Camera& cam = startCamera();
    const int s = open(cam);
    cam.channel().refuseUpgrade = true;
    const std::string path = dir_.write("fw.bin", pattern(3000));

    std::mutex m;
    std::condition_variable returned;
    bool done = false;
    bool returnedFirst = false;
    std::thread watcher([&] {
        std::unique_lock<std::mutex> lock(m);
        returnedFirst = returned.wait_for(lock, std::chrono::seconds(5), [&] { return done; });
    });
    std::string out;
    int result = update(s, path.c_str(), &out);
    {
        std::lock_guard<std::mutex> lock(m);
        done = true;
    }
    returned.notify_one();
    watcher.join();
    EXPECT_EQ(result, VCAM_ERR_UPGRADE_FAILED);
    EXPECT_TRUE(returnedFirst);
    auto got = upgrades(cam);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].receivedSize, 3000u);
    EXPECT_FALSE(got[0].accepted);
}

// An unanswered upgrade holds the frame while it waits; a call from another thread made in
// that time returns only after the upgrade has. With sessions side by side (the environment
// asks for it) that call returns while the upgrade still waits.
TEST_F(UpgradeTest, UnansweredUpgradeTimesOutWhileOtherCallsWait) {
    camsim::Camera& cam = startCamera();
    const int s = open(cam);
    cam.channel().silentUpgrade = true;
    const std::string path = dir_.write("fw.bin", pattern(5000));

    std::atomic<bool> upgradeReturned{false};
    int result = 0;
    testing::internal::CaptureStdout();
    std::thread upgrader([&] {
        result = vcam_control_update(s, path.c_str());
        upgradeReturned = true;
    });
    // The camera holds the whole file: the upgrade now waits for an answer that never comes.
    for (int i = 0; i < 1000 && upgrades(cam).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    const bool fileArrived = !upgrades(cam).empty();
    const bool returnedBefore = upgradeReturned;
    const auto arrived = std::chrono::steady_clock::now();
    vcam_ipc_log log{};
    EXPECT_EQ(vcam_control_free_ipc_log(987654, &log), VCAM_ERR_SESSION);
    // The upgrade's 3-second wait for an answer began before the camera had the whole file;
    // a call that did not queue behind it would come back at once.
    const auto waited = std::chrono::steady_clock::now() - arrived;
    const bool upgradeStillRunning = !upgradeReturned;
    upgrader.join();
    std::fflush(stdout);
    const std::string out = testing::internal::GetCapturedStdout();

    ASSERT_TRUE(fileArrived);
    EXPECT_FALSE(returnedBefore);
    if (testsupport::sessionsSideBySide())
        EXPECT_TRUE(upgradeStillRunning);
    else
        EXPECT_GE(waited, std::chrono::milliseconds(2500));
    EXPECT_EQ(result, VCAM_ERR_UPGRADE_FAILED);
    EXPECT_NE(out.find("Receive upgrade response timeout!"), std::string::npos) << out;
    EXPECT_EQ(upgrades(cam).at(0).receivedSize, 5000u);
}

}  // namespace
