#include "programexit.h"

#include <QDeadlineTimer>
#include <QThreadPool>
#include <cstdlib>

#include "applog.h"
#include "dbutil/interaction.h"
#include "fleet/fleetqueue.h"
#include "instanceguard.h"

namespace programexit {

int finish(InstanceGuard& guard, int code) {
    if (!endCameraCalls()) leaveWithCallsRunning(guard, code);
    Interaction::instance().logoutAll();
    return code;
}

bool endCameraCalls(int waitMs) {
    QThreadPool* pools[] = {QThreadPool::globalInstance(), &FleetQueue::pool()};
    for (QThreadPool* pool : pools)
        pool->clear();
    const QDeadlineTimer deadline(waitMs);
    for (QThreadPool* pool : pools)
        if (!pool->waitForDone(int(qMax<qint64>(0, deadline.remainingTime())))) return false;
    return true;
}

void leaveWithCallsRunning(InstanceGuard& guard, int code) {
    FK_LOG("main", 3, "camera calls still running after %d ms, the program ends without them\n",
           kCameraCallWaitMs);
    guard.release();
    std::_Exit(code);
}

}  // namespace programexit
