// Turns the progress emissions of batch threads into rows of the per-item progress table.
#pragma once

#include <QString>

namespace batch {

// The key of a per-library job: ip + "/" + library name.
QString libraryKey(const QString& ip, const QString& libraryName);
// "done/total".
QString countNote(int done, int total);
// 100 when val equals total, 0 when total is 0, else val * 100 / total; kept within 0..100
// whatever a camera reports.
int itemPercent(int val, int total);

struct ItemProgress {
    QString key;
    int percent = 0;
    QString note;
};
// A three-argument emission as a table row, with the note "val/total".
ItemProgress itemProgress(const QString& key, int val, int total);

}  // namespace batch
