// The last reports of long jobs, kept as JSON files in "reports/" of the state folder (the
// program's working directory), newest first; older ones are removed as new ones arrive.
#pragma once

#include <QString>
#include <QVector>

#include "jobreport.h"

namespace reports {

constexpr int kKeptReports = 20;

struct StoredReport {
    QString path;
    JobReport report;
};

QString storeDirectory();
// Writes the report and prunes the store to kKeptReports; the file's path, or empty on failure.
// Safe from any thread; blocks on the disk, so the GUI thread uses saveInBackground.
QString save(const JobReport& report, const QString& directory = storeDirectory());
void saveInBackground(const JobReport& report);
// The kept reports that read back whole, newest first. A damaged file is passed over.
QVector<StoredReport> loadAll(const QString& directory = storeDirectory());

}  // namespace reports
