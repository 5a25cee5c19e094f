#include "support/sdk_session.h"

#include "camlink.h"

namespace testsupport {

void SdkSessionTest::SetUp() {
    camera_ = &startCamera();
    char reply[VCAM_LOGIN_REPLY_SIZE];
    testing::internal::CaptureStdout();  // the login reports the serial number there
    const int rc = vcam_control_login_v2(&session_, address().c_str(), "admin", "admin", reply);
    testing::internal::GetCapturedStdout();
    ASSERT_EQ(rc, 0);
}

void SdkSessionTest::TearDown() {
    if (session_ != -1) vcam_control_logout(session_);
    CameraTest::TearDown();
}

}  // namespace testsupport
