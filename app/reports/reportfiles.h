// A job report as files: CSV for a spreadsheet (UTF-8, a header row, one row per item) and JSON,
// which the program also reads back. A file read back is hostile input: anything not shaped as
// a report is refused as a whole.
#pragma once

#include <QByteArray>
#include <QString>

#include "jobreport.h"

namespace reports {

QByteArray toCsv(const JobReport& report);
QByteArray toJson(const JobReport& report);
// False, with report untouched, when bytes are not a report this program wrote.
bool fromJson(const QByteArray& bytes, JobReport* report);

// Written whole or not at all; error gets why not.
bool writeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);
// False for a missing, oversized or damaged file.
bool readReport(const QString& path, JobReport* report);

}  // namespace reports
