#include "programexit.h"

#include <QDeadlineTimer>
#include <QThreadPool>

#include "applog.h"
#include "dbutil/exitgrace.h"
#include "dbutil/interaction.h"
#include "fleet/fleetqueue.h"

namespace programexit {

int finish(int code) {
    const int grace = exitgrace::remainingMs();
    const int waitMs = grace >= 0 ? grace : kCameraCallWaitMs;
    if (!endCameraCalls(waitMs)) {
        FK_LOG("main", 3, "camera calls still running after %d ms, the program ends without them\n",
               waitMs);
        exitgrace::endNow(code);
    }
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

}  // namespace programexit
