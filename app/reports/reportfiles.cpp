#include "reportfiles.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <cstdio>

#include "dbutil/json_keys.h"

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

// Written by hand rather than through QJsonDocument: a report of 50,000 rows is saved in a
// fraction of the time. Control characters are escaped; the rest of UTF-8 goes as it is.
void appendJsonString(QByteArray* out, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    out->append('"');
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out->append('\\').append(c);
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out->append(escaped);
        } else {
            out->append(c);
        }
    }
    out->append('"');
}

void appendMember(QByteArray* out, const char* key, const QString& value) {
    out->append('"').append(key).append("\":");
    appendJsonString(out, value);
}

void appendRow(QByteArray* out, const ReportRow& row) {
    out->append('{');
    appendMember(out, "camera", row.camera);
    out->append(',');
    out->append("\"code\":").append(QByteArray::number(row.code)).append(',');
    appendMember(out, "file", row.file);
    out->append(',');
    appendMember(out, "libid", row.libid);
    out->append(',');
    appendMember(out, "library", row.library);
    out->append(',');
    appendMember(out, "outcome", outcomeKey(row.outcome));
    out->append(',');
    appendMember(out, "reason", row.reason);
    out->append('}');
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
    out.reserve(report.rows.size() * (head.size() + 120));
    for (const ReportRow& row : report.rows) {
        out.append(head).append(csvField(row.camera)).append(',');
        out.append(csvField(row.library)).append(',').append(csvField(row.file)).append(',');
        out.append(outcomeKey(row.outcome).toLatin1()).append(',');
        out.append(QByteArray::number(row.code)).append(',').append(csvField(row.reason));
        out.append("\r\n");
    }
    return out;
}

QByteArray toJson(const JobReport& report) {
    QByteArray out;
    out.reserve(256 + report.rows.size() * 200);
    out.append('{');
    appendMember(&out, "ended", timeText(report.ended));
    out.append(',');
    appendMember(&out, "format", QString::fromLatin1(kFormat));
    out.append(',');
    appendMember(&out, "kind", kindKey(report.kind));
    out.append(",\"rows\":[");
    for (int i = 0; i < report.rows.size(); ++i) {
        if (i > 0) out.append(',');
        appendRow(&out, report.rows.at(i));
    }
    out.append("],");
    appendMember(&out, "source", report.source);
    out.append(',');
    appendMember(&out, "started", timeText(report.started));
    out.append(",\"version\":").append(QByteArray::number(kVersion)).append('}');
    return out;
}

bool fromJson(const QByteArray& bytes, JobReport* report) {
    if (reply::hasDuplicateKeys(bytes)) return false;  // Qt's parser would leak the first value
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
