// The history, log and analysis-log exports: each runs its call under the session frame.
#include "camlink.h"
#include "config/history_calls.h"
#include "core/session_call.h"

namespace {

using camlink::sessionCall;
using Client = LumenControl::LumenControlClient;

template <typename Record>
int pagedCall(int session, Record* record, const camlink::PagedQuery<Record>& query) {
    return sessionCall(session, record,
                       [&](Client& c, Record& r) { return camlink::runPagedQuery(c, query, r); });
}

}  // namespace

extern "C" {

CAMLINK_API int vcam_control_get_flow_history(int session, vcam_flow_history* record) {
    return pagedCall(session, record, camlink::kFlowHistory);
}
CAMLINK_API int vcam_recognize_get_history(int session, vcam_recognize_history* record) {
    return pagedCall(session, record, camlink::kRecognizeHistory);
}
CAMLINK_API int vcam_control_get_snap_history(int session, vcam_snap_history* record) {
    return pagedCall(session, record, camlink::kSnapHistory);
}
CAMLINK_API int vcam_control_get_flow_statistics(int session, vcam_flow_statistics* record) {
    return sessionCall(session, record, &camlink::getFlowStatistics);
}
CAMLINK_API int vcam_control_get_ipc_log(int session, vcam_ipc_log* record) {
    return sessionCall(session, record, &camlink::getIpcLog);
}
// The session only has to exist: the block belongs to the library, not to the session.
CAMLINK_API int vcam_control_free_ipc_log(int session, vcam_ipc_log* record) {
    return sessionCall(session, record,
                       [](Client&, vcam_ipc_log& r) { return camlink::freeIpcLog(r); });
}
CAMLINK_API int vcam_control_get_smart_log(int session, char* path) {
    return sessionCall(session, path,
                       [](Client& c, char& buffer) { return camlink::getSmartLog(c, &buffer); });
}

}  // extern "C"
