// The binary channel on port 80 as the camera saw it: whole packets against known answers, and
// the client's failure paths against a camera that misbehaves on demand.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "support/camera_fixture.h"
#include "support/temp_dir.h"

namespace {

using camsim::ChannelFault;
using camsim::ChannelPacket;

// The DES blocks below were computed when this test was written, with nothing of ours:
//   printf 'admin\0\0\0' | openssl enc -des-ecb -K 133457799BBCDFF1 -nopad
//       -provider legacy -provider default | xxd -p          (one line) -> 55b86a9caae8c264
// and likewise for eight zero bytes (948a43f98a834f7e) and for the serial's own eight bytes
// (787b787d86c3a0fc). The key is the one of the published DES example (133457799BBCDFF1
// enciphers 0123456789ABCDEF to 85E813540F0AB405, which the same command reproduces).
constexpr uint64_t kSerial = 0x133457799BBCDFF1ULL;

// Packets as hex; spaces only for the reader. "Z15" stands for the 15 zero bytes that end
// every header, "Z27" for the padding of the user name.
std::string packet(const std::string& spaced) {
    std::string out;
    for (size_t i = 0; i < spaced.size(); ++i) {
        if (spaced[i] == ' ') continue;
        if (spaced[i] != 'Z') {
            out += spaced[i];
            continue;
        }
        const size_t end = spaced.find(' ', i);
        out += std::string(2 * std::stoul(spaced.substr(i + 1, end - i - 1)), '0');
        i = end == std::string::npos ? spaced.size() : end;
    }
    return out;
}

// Header groups: bytes 0-3, 4-7 (command, status, 0), login id, payload length, byte 16.
const std::string kHandshakeRequest = packet("00000101 01010000 ffffffff 00000000 00 Z15");
const std::string kHandshakeAnswer =
    packet("00000101 01010000 ffffffff 08000000 00 Z15 133457799bbcdff1");
const std::string kLoginRequest = packet(
    "00000101 00000000 ffffffff 4c000000 01 Z15 "
    "61646d696e Z27 "                                                       // user "admin"
    "55b86a9caae8c264 948a43f98a834f7e 948a43f98a834f7e 948a43f98a834f7e "  // its password
    "00000000 787b787d86c3a0fc");                                           // the serial
const std::string kLoginAnswer = packet("00000101 00000000 01000000 00000000 00 Z15");
const std::string kUpgradeHeader = packet("00000101 02200000 01000000 c4090000 01 Z15");
const std::string kUpgradeRefused = packet("00000101 02200100 01000000 00000000 00 Z15");
const std::string kLogoutRequest = packet("00000101 01000000 01000000 00000000 00 Z15");

std::string hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

struct Login {
    int session = 0;
    int result = -1;
    std::string out;  // standard output of the call
};

Login login(const camsim::Camera& cam) {
    Login l;
    char reply[VCAM_LOGIN_REPLY_SIZE];
    testing::internal::CaptureStdout();
    l.result =
        vcam_control_login_v2(&l.session, cam.config().address.c_str(), "admin", "admin", reply);
    std::fflush(stdout);
    l.out = testing::internal::GetCapturedStdout();
    return l;
}

int update(int session, const std::string& path) {
    testing::internal::CaptureStdout();
    const int result = vcam_control_update(session, path.c_str());
    std::fflush(stdout);
    testing::internal::GetCapturedStdout();
    return result;
}

// The journal once it holds `count` packets (the camera reads the logout after the call ends).
std::vector<ChannelPacket> journalOf(camsim::Camera& cam, size_t count) {
    for (int i = 0; i < 300 && cam.channel().journal().size() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return cam.channel().journal();
}

class ChannelTest : public testsupport::CameraTest {
protected:
    std::string pattern(size_t size) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; ++i)
            bytes[i] = static_cast<char>(i * 7 + i / 251);
        return dir_.write("fw.bin", bytes);
    }
    testsupport::TempDir dir_{"camlink-channel"};
};

TEST_F(ChannelTest, PacketsMatchKnownAnswers) {
    camsim::CameraConfig config;
    config.serial = kSerial;
    camsim::Camera& cam = startCamera(config);
    const Login l = login(cam);
    ASSERT_EQ(l.result, 0) << l.out;
    cam.channel().refuseUpgrade = true;  // answered at once, without the settling pause
    EXPECT_EQ(update(l.session, pattern(2500)), VCAM_ERR_UPGRADE_FAILED);
    EXPECT_EQ(vcam_control_logout(l.session), 0);

    using D = ChannelPacket::Direction;
    const std::vector<std::pair<D, std::string>> expected = {
        {D::In, kHandshakeRequest}, {D::Out, kHandshakeAnswer}, {D::In, kLoginRequest},
        {D::Out, kLoginAnswer},     {D::In, kUpgradeHeader},    {D::Out, kUpgradeRefused},
        {D::In, kLogoutRequest},
    };
    const auto journal = journalOf(cam, expected.size());
    ASSERT_EQ(journal.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(journal[i].direction, expected[i].first) << i;
        EXPECT_EQ(hex(journal[i].bytes), expected[i].second) << i;
        EXPECT_EQ(journal[i].connection, journal[0].connection) << i;
        EXPECT_FALSE(journal[i].refused) << i;
    }
}

// Every channel failure of the login ends in 18 with the console naming the step; the HTTP
// check before it passed, and the session still has to be logged out.
TEST_F(ChannelTest, ChannelFailuresOfTheLoginGive18) {
    camsim::Camera& cam = startCamera();
    struct Case {
        const char* what;
        ChannelFault fault;
        bool portClosed;
        const char* line;  // the console line that names the failed step, if fixed
    } const cases[] = {
        {"port closed", ChannelFault::None, true, "connect failed!\n"},
        {"silent at the handshake", ChannelFault::SilentHandshake, false, "Login timeout!\n"},
        {"short handshake answer", ChannelFault::ShortReply, false, nullptr},
    };
    for (const Case& k : cases) {
        cam.channel().fault = k.fault;
        ASSERT_TRUE(cam.setChannelPortOpen(!k.portClosed));
        const Login l = login(cam);
        EXPECT_EQ(l.result, VCAM_ERR_ARGUMENT) << k.what << "\n" << l.out;
        EXPECT_NE(l.out.find("login failed.\n"), std::string::npos) << k.what << "\n" << l.out;
        if (k.line) {
            EXPECT_NE(l.out.find(k.line), std::string::npos) << k.what << "\n" << l.out;
        }
        EXPECT_EQ(vcam_control_update(l.session, "/dev/null"), VCAM_ERR_SESSION) << k.what;
        EXPECT_EQ(vcam_control_logout(l.session), 0) << k.what;
    }
    cam.clearFaults();
    const Login healed = login(cam);
    EXPECT_EQ(healed.result, 0) << healed.out;
    vcam_control_logout(healed.session);
    std::lock_guard<std::mutex> lock(cam.channel().mutex);
    EXPECT_EQ(cam.channel().logins, 1);
}

// A camera that drops the connection in the middle of the file, or answers the upgrade with half
// a packet: 100001, and the camera never accepted a whole file.
TEST_F(ChannelTest, BrokenUpgradeGives100001) {
    camsim::Camera& cam = startCamera();
    const std::string path = pattern(256 * 1024);
    for (ChannelFault fault : {ChannelFault::CloseMidUpgrade, ChannelFault::ShortReply}) {
        const Login l = login(cam);
        ASSERT_EQ(l.result, 0) << l.out;
        cam.channel().fault = fault;
        EXPECT_EQ(update(l.session, path), VCAM_ERR_UPGRADE_FAILED) << int(fault);
        cam.channel().fault = ChannelFault::None;
        EXPECT_EQ(vcam_control_logout(l.session), 0);
    }
    std::lock_guard<std::mutex> lock(cam.channel().mutex);
    const auto& upgrades = cam.channel().upgrades;
    ASSERT_EQ(upgrades.size(), 2u);
    EXPECT_FALSE(upgrades[0].accepted);
    EXPECT_LT(upgrades[0].receivedSize, upgrades[0].announcedSize);
    EXPECT_EQ(upgrades[1].receivedSize, 256u * 1024);  // whole file, answer cut short
}

}  // namespace
