#include "plan.h"

#include <algorithm>

namespace facesync {

namespace {

int countOf(const QVector<PlannedChange>& changes, std::initializer_list<Change> kinds) {
    return int(std::count_if(changes.begin(), changes.end(), [&](const PlannedChange& c) {
        return std::find(kinds.begin(), kinds.end(), c.change) != kinds.end();
    }));
}

QString summaryOf(int adds, int updates, int deletes) {
    return QString("+%1 ~%2 -%3").arg(adds).arg(updates).arg(deletes);
}

}  // namespace

int TargetPlan::adds() const {
    return countOf(changes, {Change::Add});
}

int TargetPlan::updates() const {
    return countOf(changes, {Change::UpdateTexts, Change::ReplacePicture});
}

int TargetPlan::deletes() const {
    return countOf(changes, {Change::Delete});
}

QString TargetPlan::summary() const {
    return summaryOf(adds(), updates(), deletes());
}

QString totalSummary(const QVector<TargetPlan>& plans) {
    int adds = 0, updates = 0, deletes = 0;
    for (const TargetPlan& plan : plans) {
        if (!plan.ok()) continue;
        adds += plan.adds();
        updates += plan.updates();
        deletes += plan.deletes();
    }
    return summaryOf(adds, updates, deletes);
}

}  // namespace facesync
