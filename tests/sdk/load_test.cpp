// Many sessions and many calls leave no descriptors and no memory behind.
#include <dirent.h>

#include <cstdio>
#include <fstream>
#include <string>

#include <gtest/gtest.h>
#include "camlink.h"

#include "support/camera_fixture.h"
#include "support/camsim_process.h"

namespace {

int openDescriptors() {
    int count = 0;
    if (DIR* dir = ::opendir("/proc/self/fd")) {
        while (::readdir(dir))
            ++count;
        ::closedir(dir);
    }
    return count;
}

long residentKiB() {
    std::ifstream status("/proc/self/status");
    std::string key;
    long value = 0;
    while (status >> key) {
        if (key == "VmRSS:" && status >> value) return value;
    }
    return -1;
}

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;  // the sanitizer's quarantine keeps freed memory resident
#else
constexpr bool kSanitized = false;
#endif

// The camera runs in a process of its own, so that only the library's costs are measured here.
TEST(LoadTest, ThousandLoginsAndTenThousandCallsLeaveNothingBehind) {
    const std::string address = testsupport::freshLoopbackAddress();
    testsupport::CamsimProcess camera;
    ASSERT_TRUE(camera.start(CAMSIM_BINARY, {"--cameras", "1", "--first", address}));
    int session_ = 0;
    char first[VCAM_LOGIN_REPLY_SIZE] = {};
    ASSERT_EQ(vcam_control_login_v2(&session_, address.c_str(), "admin", "admin", first), 0);
    vcam_library_record record{};
    std::snprintf(record.name, sizeof record.name, "load");
    ASSERT_EQ(vcam_control_create_library(session_, &record), 0);

    auto cycle = [&](int logins, int calls) {
        for (int i = 0; i < logins; ++i) {
            int session = 0;
            char reply[VCAM_LOGIN_REPLY_SIZE] = {};
            ASSERT_EQ(vcam_control_login_v2(&session, address.c_str(), "admin", "admin", reply), 0);
            ASSERT_EQ(vcam_control_logout(session), 0);
        }
        for (int i = 0; i < calls; ++i) {
            vcam_library_record list{};
            ASSERT_EQ(vcam_control_list_library(session_, &list), 0);
        }
    };
    cycle(50, 500);  // warm-up: buffers and caches reach their working size
    const int fdsBefore = openDescriptors();
    const long rssBefore = residentKiB();
    cycle(1000, 10000);
    const int fdsAfter = openDescriptors();
    const long rssAfter = residentKiB();
    std::printf("descriptors %d -> %d, resident %ld KiB -> %ld KiB\n", fdsBefore, fdsAfter,
                rssBefore, rssAfter);
    EXPECT_LE(fdsAfter, fdsBefore);
    if (!kSanitized) {
        EXPECT_LT(rssAfter - rssBefore, 4096);
    }
    vcam_control_logout(session_);
}

}  // namespace
