#include "batchprogress.h"

#include <algorithm>

#include "dbutil/jobcontrol.h"

namespace batch {

QString libraryKey(const QString& ip, const QString& libraryName) {
    return QString("%1/%2").arg(ip, libraryName);
}

QString countNote(int done, int total) {
    return QString("%1/%2").arg(done).arg(total);
}

int itemPercent(int val, int total) {
    return std::clamp(JobControl::overallPercent(val, total), 0, 100);
}

ItemProgress itemProgress(const QString& key, int val, int total) {
    return ItemProgress{key, itemPercent(val, total), countNote(val, total)};
}

}  // namespace batch
