// The exports of the core: version, login, logout and the operations this library does not
// support.
#include "camlink.h"
#include "core/frame.h"

using camlink::guarded;
using camlink::SessionTable;

// One body for every unsupported export: touches no state, takes no lock.
extern "C" int camlink_unsupported(int, void*) {
    return VCAM_ERR_UNSUPPORTED;
}

namespace {

constexpr size_t kLoginReplySize = VCAM_LOGIN_REPLY_SIZE;

int loginWith(int* session, const char* address, const char* user, const char* password,
              char* reply) {
    if (!session || !address || !user || !password || !reply) return VCAM_ERR_ARGUMENT;
    return guarded(
        [&] { return SessionTable::instance().login(session, address, user, password, reply); });
}

}  // namespace

extern "C" {

CAMLINK_API const char* vcam_control_version(void) {
    return "3.1.6.0";
}

CAMLINK_API int vcam_control_login_v2(int* session, const char* address, const char* user,
                                      const char* password, char* reply) {
    return loginWith(session, address, user, password, reply);
}

CAMLINK_API int vcam_control_login(int* session, const char* address, const char* user,
                                   const char* password) {
    char reply[kLoginReplySize];
    return loginWith(session, address, user, password, reply);
}

CAMLINK_API int vcam_control_logout(int session) {
    return guarded([&] { return SessionTable::instance().logout(session); });
}

// The nine names share the one body above.
#define CAMLINK_UNSUPPORTED(name) \
    CAMLINK_API int name(int, void*) __attribute__((alias("camlink_unsupported")));
CAMLINK_UNSUPPORTED(vcam_control_add_feature)
CAMLINK_UNSUPPORTED(vcam_control_add_id)
CAMLINK_UNSUPPORTED(vcam_control_delete_feature)
CAMLINK_UNSUPPORTED(vcam_control_delete_id)
CAMLINK_UNSUPPORTED(vcam_control_delete_repo)
CAMLINK_UNSUPPORTED(vcam_control_download_repo)
CAMLINK_UNSUPPORTED(vcam_control_list_feature)
CAMLINK_UNSUPPORTED(vcam_control_update_feature)
CAMLINK_UNSUPPORTED(vcam_control_upload_repo)
#undef CAMLINK_UNSUPPORTED

}  // extern "C"
