// The firmware upgrade export: the whole transfer, and the camera's settling pause after it,
// run under the session frame, so every other session call waits for it.
#include "camlink.h"
#include "core/session_call.h"
#include "core/tcp_login.h"

extern "C" {

// A null path is a bad argument (18) like every other null argument of the interface; the
// step's own failures, an unreadable or oversized file included, are 100001.
CAMLINK_API int vcam_control_update(int session, const char* path) {
    return camlink::sessionCall(
        session, path, [](LumenControl::LumenControlClient& client, const char& file) {
            camlink::TcpLoginRecord* record = client.tcpLogin();
            if (!record) return VCAM_ERR_SESSION;  // the login never reached the binary channel
            return record->steps->upgrade(*record, &file) < 0 ? VCAM_ERR_UPGRADE_FAILED : VCAM_OK;
        });
}

}  // extern "C"
