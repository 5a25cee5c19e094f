// One target's work, on the fleet's pool: its reading and plan, then its apply. Internal to
// SyncRun.
#pragma once

#include <QVector>
#include <atomic>
#include <functional>

#include "digestcache.h"
#include "plan.h"
#include "reports/jobreport.h"
#include "source.h"

namespace facesync {

struct TargetState {
    Target target;
    TargetPlan plan;
    SDeviceInfo device;  // with the library list read while planning
    SDBInfo library;     // the target library (its libid once it exists)
    std::unique_ptr<DigestCache> cache;  // while planning
};

using StopCheck = std::function<bool()>;
using RecordDone = std::function<void()>;

// Reads the target's library and compares it with the source; state->plan gets the outcome.
void planTarget(TargetState* state, const Source& source, const Options& options,
                const StopCheck& stop);

// Sends state->plan's changes; one report row per change (and one for the camera when it could
// not be synced at all). recordDone runs after each change, on the pool.
QVector<reports::ReportRow> applyTarget(TargetState* state, const Source& source,
                                        const Options& options, const StopCheck& stop,
                                        const RecordDone& recordDone);

}  // namespace facesync
