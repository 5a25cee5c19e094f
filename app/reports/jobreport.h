// What a long job did, item by item: one row per camera, library and (where the job works on
// files) file, with its outcome and the reason in the program's result texts. Threads of a job
// add rows as they end; the owner takes the finished report on the GUI thread.
#pragma once

#include <QDateTime>
#include <QMutex>
#include <QString>
#include <QVector>

namespace reports {

enum class Outcome { Stored, Failed, Skipped };

// Stable across versions: the kind names a saved report carries.
enum class JobKind { BatchImport, BatchExtract, BatchUpload, FolderUpload, LibraryImport, LibraryExport,
                     Sync };

struct ReportRow {
    QString camera;   // the camera's address
    QString library;  // the library's name
    QString libid;    // the library's identifier on the camera, when known
    QString file;     // the picture or package file, when the job works on files
    Outcome outcome = Outcome::Stored;
    int code = 0;     // the result code behind the reason
    QString reason;   // the result text of code, or why the item was skipped
};

struct JobReport {
    JobKind kind = JobKind::BatchUpload;
    QDateTime started;
    QDateTime ended;
    QString source;  // the package or folder the job read, when it read one
    QVector<ReportRow> rows;

    int count(Outcome outcome) const;
    // The same job, narrowed to the rows that failed: what a retry works on.
    JobReport failedOnly() const;
};

// A failed row for a result code; transfer errors read as the network error they are.
ReportRow failedRow(ReportRow row, int code);
ReportRow storedRow(ReportRow row);
ReportRow skippedRow(ReportRow row);

// Texts for the operator, translated in the "JobReport" context.
QString kindText(JobKind kind);
QString outcomeText(Outcome outcome);
// Names in saved files, never translated.
QString kindKey(JobKind kind);
bool kindFromKey(const QString& key, JobKind* kind);
QString outcomeKey(Outcome outcome);
bool outcomeFromKey(const QString& key, Outcome* outcome);

// Rows from the threads of one job, each adding its own from its own thread.
class ReportRecorder {
public:
    explicit ReportRecorder(JobKind kind, const QString& source = {});

    void add(const QVector<ReportRow>& rows);
    // The report so far, ended now.
    JobReport finish() const;

private:
    mutable QMutex mutex_;
    JobReport report_;
};

}  // namespace reports
