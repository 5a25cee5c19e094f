#include "jobreport.h"

#include <QCoreApplication>
#include <algorithm>
#include <QMutexLocker>

#include "dbutil/errortext.h"
#include "dbutil/resultcode.h"

namespace reports {

namespace {

struct KindName {
    JobKind kind;
    const char* key;
    const char* text;
};

const KindName kKinds[] = {
    {JobKind::BatchImport, "batch-import", QT_TRANSLATE_NOOP("JobReport", "Import Batch")},
    {JobKind::BatchExtract, "batch-extract", QT_TRANSLATE_NOOP("JobReport", "Extract Batch")},
    {JobKind::BatchUpload, "batch-upload", QT_TRANSLATE_NOOP("JobReport", "Upload Batch")},
    {JobKind::FolderUpload, "folder-upload", QT_TRANSLATE_NOOP("JobReport", "Folder upload")},
    {JobKind::LibraryImport, "library-import", QT_TRANSLATE_NOOP("JobReport", "Library import")},
    {JobKind::LibraryExport, "library-export", QT_TRANSLATE_NOOP("JobReport", "Library export")},
    {JobKind::Sync, "sync", QT_TRANSLATE_NOOP("JobReport", "Sync Batch")},
};

struct OutcomeName {
    Outcome outcome;
    const char* key;
    const char* text;
};

const OutcomeName kOutcomes[] = {
    {Outcome::Stored, "stored", QT_TRANSLATE_NOOP("JobReport", "Stored")},
    {Outcome::Failed, "failed", QT_TRANSLATE_NOOP("JobReport", "Failed")},
    {Outcome::Skipped, "skipped", QT_TRANSLATE_NOOP("JobReport", "Skipped")},
};

QString translated(const char* text) {
    return QCoreApplication::translate("JobReport", text);
}

}  // namespace

int JobReport::count(Outcome outcome) const {
    return int(std::count_if(rows.begin(), rows.end(),
                             [outcome](const ReportRow& row) { return row.outcome == outcome; }));
}

JobReport JobReport::failedOnly() const {
    JobReport failed = *this;
    failed.rows.clear();
    for (const ReportRow& row : rows)
        if (row.outcome == Outcome::Failed) failed.rows << row;
    return failed;
}

ReportRow failedRow(ReportRow row, int code) {
    row.outcome = Outcome::Failed;
    row.code = isTransferError(code) ? resultcode::NetworkError : code;
    row.reason = ErrorText(row.code);
    return row;
}

ReportRow storedRow(ReportRow row) {
    row.outcome = Outcome::Stored;
    row.code = 0;
    row.reason = ErrorText(0);
    return row;
}

ReportRow skippedRow(ReportRow row) {
    row.outcome = Outcome::Skipped;
    row.reason = translated(QT_TRANSLATE_NOOP("JobReport", "Cancelled"));
    return row;
}

QString kindText(JobKind kind) {
    for (const KindName& name : kKinds)
        if (name.kind == kind) return translated(name.text);
    return {};
}

QString outcomeText(Outcome outcome) {
    for (const OutcomeName& name : kOutcomes)
        if (name.outcome == outcome) return translated(name.text);
    return {};
}

QString kindKey(JobKind kind) {
    for (const KindName& name : kKinds)
        if (name.kind == kind) return QString::fromLatin1(name.key);
    return {};
}

bool kindFromKey(const QString& key, JobKind* kind) {
    for (const KindName& name : kKinds)
        if (key == QLatin1String(name.key)) return *kind = name.kind, true;
    return false;
}

QString outcomeKey(Outcome outcome) {
    for (const OutcomeName& name : kOutcomes)
        if (name.outcome == outcome) return QString::fromLatin1(name.key);
    return {};
}

bool outcomeFromKey(const QString& key, Outcome* outcome) {
    for (const OutcomeName& name : kOutcomes)
        if (key == QLatin1String(name.key)) return *outcome = name.outcome, true;
    return false;
}

ReportRecorder::ReportRecorder(JobKind kind, const QString& source) {
    report_.kind = kind;
    report_.source = source;
    report_.started = QDateTime::currentDateTime();
}

void ReportRecorder::add(const QVector<ReportRow>& rows) {
    QMutexLocker lock(&mutex_);
    report_.rows += rows;
}

JobReport ReportRecorder::finish() const {
    QMutexLocker lock(&mutex_);
    JobReport report = report_;
    report.ended = QDateTime::currentDateTime();
    return report;
}

}  // namespace reports
