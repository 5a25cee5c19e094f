// The shape of every export that takes a session and a record: a null record is a bad
// argument, the call runs under the session frame, and nothing thrown crosses the boundary.
#pragma once

#include "camlink.h"
#include "core/frame.h"

namespace camlink {

template <typename Record, typename Op>
int sessionCall(int session, Record* record, Op op) {
    if (!record) return VCAM_ERR_ARGUMENT;
    return guarded([&] {
        return SessionTable::instance().withSession(
            session, [&](LumenControl::LumenControlClient& client) { return op(client, *record); });
    });
}

// For the calls that take no record (reboot, reset).
template <typename Op>
int sessionCall(int session, Op op) {
    return guarded([&] { return SessionTable::instance().withSession(session, op); });
}

}  // namespace camlink
