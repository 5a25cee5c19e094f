#include "reportstore.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QtConcurrent>

#include "reportfiles.h"

namespace reports {

namespace {

QMutex storeMutex;

const char kPattern[] = "report_*.json";

// Names sort by time: "report_" + local time to the millisecond + kind (+ "_n" for a clash).
QString freeName(const QDir& dir, const JobReport& report) {
    const QString stem = "report_" + report.ended.toString("yyyyMMdd_HHmmsszzz") + "_" +
                         kindKey(report.kind);
    QString name = stem + ".json";
    for (int n = 2; dir.exists(name); ++n)
        name = stem + "_" + QString::number(n) + ".json";
    return name;
}

// Newest first.
QStringList storedNames(const QDir& dir) {
    return dir.entryList({kPattern}, QDir::Files, QDir::Name | QDir::Reversed);
}

void prune(const QDir& dir) {
    const QStringList names = storedNames(dir);
    for (int i = kKeptReports; i < names.size(); ++i)
        QFile::remove(dir.filePath(names.at(i)));
}

}  // namespace

QString storeDirectory() {
    return QDir::current().filePath("reports");
}

QString save(const JobReport& report, const QString& directory) {
    QMutexLocker lock(&storeMutex);
    QDir dir(directory);
    if (!dir.mkpath(".")) return {};
    const QString path = dir.filePath(freeName(dir, report));
    if (!writeFile(path, toJson(report))) return {};
    prune(dir);
    return path;
}

void saveInBackground(const JobReport& report) {
    // The directory is taken now, on the caller's side, not when the pool gets to it.
    const QString directory = storeDirectory();
    QtConcurrent::run([report, directory] { save(report, directory); });
}

QVector<StoredReport> loadAll(const QString& directory) {
    QMutexLocker lock(&storeMutex);
    const QDir dir(directory);
    QVector<StoredReport> stored;
    for (const QString& name : storedNames(dir)) {
        StoredReport entry;
        entry.path = dir.filePath(name);
        if (readReport(entry.path, &entry.report)) stored << entry;
        if (stored.size() == kKeptReports) break;
    }
    return stored;
}

}  // namespace reports
