#include "reportfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace reports {

namespace {

const char kFormat[] = "facekeeper-job-report";
constexpr int kVersion = 1;
// Far above a report of 500 cameras x 1,000 files; beyond it a file is not ours.
constexpr qint64 kMaxFileBytes = 256LL * 1024 * 1024;
constexpr int kMaxFieldChars = 4096;

const char* const kCsvHeader = "job,started,ended,camera,library,file,outcome,code,reason";

QString timeText(const QDateTime& time) {
    return time.toString(Qt::ISODateWithMs);
}

// Quoted when it holds a separator, a quote or a line break. A leading = + @ would make a
// spreadsheet run the file name as a formula, so such a field is shown as text.
QByteArray csvField(const QString& text) {
    QByteArray field = text.toUtf8();
    if (field.startsWith('=') || field.startsWith('+') || field.startsWith('@'))
        field.prepend('\'');
    if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r'))
        return '"' + field.replace("\"", "\"\"") + '"';
    return field;
}

QJsonObject rowObject(const ReportRow& row) {
    return QJsonObject{{"camera", row.camera},   {"library", row.library},
                       {"libid", row.libid},     {"file", row.file},
                       {"outcome", outcomeKey(row.outcome)}, {"code", row.code},
                       {"reason", row.reason}};
}

// A string member of at most kMaxFieldChars, or false.
bool text(const QJsonObject& object, const char* key, QString* out) {
    const QJsonValue value = object.value(QLatin1String(key));
    if (!value.isString() || value.toString().size() > kMaxFieldChars) return false;
    *out = value.toString();
    return true;
}

bool readRow(const QJsonValue& value, ReportRow* row) {
    if (!value.isObject()) return false;
    const QJsonObject object = value.toObject();
    QString outcome;
    const QJsonValue code = object.value("code");
    if (!code.isDouble() || code.toDouble() != double(code.toInt())) return false;
    row->code = code.toInt();
    return text(object, "camera", &row->camera) && text(object, "library", &row->library) &&
           text(object, "libid", &row->libid) && text(object, "file", &row->file) &&
           text(object, "reason", &row->reason) && text(object, "outcome", &outcome) &&
           outcomeFromKey(outcome, &row->outcome);
}

bool readTime(const QJsonObject& object, const char* key, QDateTime* time) {
    QString value;
    if (!text(object, key, &value)) return false;
    *time = QDateTime::fromString(value, Qt::ISODateWithMs);
    return time->isValid();
}

}  // namespace

QByteArray toCsv(const JobReport& report) {
    QByteArray out = QByteArray(kCsvHeader) + "\r\n";
    const QByteArray head = csvField(kindKey(report.kind)) + ',' +
                            csvField(timeText(report.started)) + ',' +
                            csvField(timeText(report.ended)) + ',';
    out.reserve(report.rows.size() * 120);
    for (const ReportRow& row : report.rows) {
        out += head + csvField(row.camera) + ',' + csvField(row.library) + ',' +
               csvField(row.file) + ',' + csvField(outcomeKey(row.outcome)) + ',' +
               QByteArray::number(row.code) + ',' + csvField(row.reason) + "\r\n";
    }
    return out;
}

QByteArray toJson(const JobReport& report) {
    QJsonArray rows;
    for (const ReportRow& row : report.rows)
        rows.append(rowObject(row));
    const QJsonObject root{{"format", kFormat},
                           {"version", kVersion},
                           {"kind", kindKey(report.kind)},
                           {"started", timeText(report.started)},
                           {"ended", timeText(report.ended)},
                           {"source", report.source},
                           {"rows", rows}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

bool fromJson(const QByteArray& bytes, JobReport* report) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) return false;
    const QJsonObject root = document.object();
    if (root.value("format").toString() != QLatin1String(kFormat) ||
        root.value("version").toInt() != kVersion || !root.value("rows").isArray())
        return false;
    JobReport read;
    QString kind;
    if (!text(root, "kind", &kind) || !kindFromKey(kind, &read.kind) ||
        !readTime(root, "started", &read.started) || !readTime(root, "ended", &read.ended) ||
        !text(root, "source", &read.source))
        return false;
    const QJsonArray rows = root.value("rows").toArray();
    read.rows.resize(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        if (!readRow(rows.at(i), &read.rows[i])) return false;
    *report = std::move(read);
    return true;
}

bool writeFile(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(path);
    const bool ok = file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
                    file.commit();
    if (!ok && error) *error = file.errorString();
    return ok;
}

bool readReport(const QString& path, JobReport* report) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes) return false;
    return fromJson(file.readAll(), report);
}

}  // namespace reports
