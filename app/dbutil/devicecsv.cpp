#include "devicecsv.h"

#include <QCoreApplication>
#include <QHash>
#include <QRegExp>

#include "inputcheck.h"

namespace devicecsv {

namespace {

enum Field { Address, User, Password, Name, Group, FieldCount };
const char* const kHeaders[FieldCount] = {"address", "user", "password", "name", "group"};

// Not named tr(): lupdate would take the marked texts for a call it cannot read and skip them.
QString text(const char* source) {
    return QCoreApplication::translate("DeviceCsv", source);
}

// One record of the file and the line it starts on.
struct Record {
    int line = 0;
    QStringList fields;
};

// Comma-separated fields, double quotes around a field that holds commas, quotes or line
// breaks ("" inside is one quote). Blank lines are skipped.
QVector<Record> records(const QString& data) {
    QVector<Record> result;
    Record current{1, {}};
    QString field;
    bool quoted = false;
    bool any = false;
    int line = 1;
    auto endRecord = [&] {
        current.fields << field;
        if (any || current.fields.size() > 1 || !field.trimmed().isEmpty()) result << current;
        current = Record{line, {}};
        field.clear();
        any = false;
    };
    for (int i = 0; i < data.size(); ++i) {
        const QChar c = data.at(i);
        if (c == QLatin1Char('\n')) ++line;
        if (quoted) {
            if (c != QLatin1Char('"'))
                field += c;
            else if (i + 1 < data.size() && data.at(i + 1) == QLatin1Char('"'))
                field += data.at(++i);
            else
                quoted = false;
        } else if (c == QLatin1Char('"')) {
            quoted = any = true;
        } else if (c == QLatin1Char(',')) {
            current.fields << field;
            field.clear();
        } else if (c == QLatin1Char('\n')) {
            endRecord();
        } else if (c != QLatin1Char('\r')) {
            field += c;
        }
    }
    endRecord();
    return result;
}

// Where each field sits: from a header row when the first record is one, else in the order
// address, user, password, name, group. -1 for a column the file does not have.
bool readHeader(const Record& first, int columns[FieldCount]) {
    for (int f = 0; f < FieldCount; ++f)
        columns[f] = -1;
    for (int i = 0; i < first.fields.size(); ++i)
        for (int f = 0; f < FieldCount; ++f)
            if (first.fields.at(i).trimmed().compare(QLatin1String(kHeaders[f]),
                                                     Qt::CaseInsensitive) == 0)
                columns[f] = i;
    if (columns[Address] >= 0) return true;
    for (int f = 0; f < FieldCount; ++f)
        columns[f] = f;
    return false;
}

// The first rule the camera breaks, or null.
QString problem(const Camera& camera) {
    if (!isValidIp(camera.ip))
        return text(QT_TRANSLATE_NOOP(
                        "DeviceCsv",
                        "the address \"%1\" is not four numbers 0 to 255 without leading zeros"))
            .arg(firstCharacters(camera.ip, 40));
    if (!QRegExp(kUserNameCharacterPattern).exactMatch(camera.user) ||
        !isValidUserNameLength(camera.user))
        return inputRuleText(UserNameRule);
    if (!QRegExp(kPasswordCharacterPattern).exactMatch(camera.password) ||
        !isValidPasswordLength(camera.password))
        return inputRuleText(PasswordRule);
    return QString();
}

QString lineText(int line, const QString& what) {
    return text(QT_TRANSLATE_NOOP("DeviceCsv", "Line %1: %2"))
        .arg(line)
        .arg(QString(what).replace(QLatin1Char('\n'), ' '));
}

QString csvField(const QString& value) {
    static const QRegExp special(QStringLiteral("[\",\r\n]"));
    if (!value.contains(special)) return value;
    return QLatin1Char('"') + QString(value).replace("\"", "\"\"") + QLatin1Char('"');
}

}  // namespace

QByteArray write(const QVector<SDeviceInfo>& devices, const DeviceLabels& labels,
                 bool withPasswords) {
    QStringList header{"address", "user", "name", "group"};
    if (withPasswords) header.insert(2, "password");
    QString out = header.join(',') + "\r\n";
    for (const SDeviceInfo& device : devices) {
        const DeviceLabel label = labels.label(device.ip);
        QStringList row{device.ip, device.username, label.name, label.group};
        if (withPasswords) row.insert(2, device.password);
        for (QString& field : row)
            field = csvField(field);
        out += row.join(',') + "\r\n";
    }
    return out.toUtf8();
}

Reading read(const QByteArray& data, const std::function<bool(const QString&)>& listed) {
    Reading reading;
    QString decoded = QString::fromUtf8(data);
    if (decoded.startsWith(QChar(0xFEFF))) decoded.remove(0, 1);
    QVector<Record> all = records(decoded);
    int columns[FieldCount];
    if (!all.isEmpty() && readHeader(all.first(), columns)) all.removeFirst();
    if (all.size() > kMaxCameras) {
        reading.errors << text(QT_TRANSLATE_NOOP(
                                   "DeviceCsv",
                                   "The file lists %1 cameras; at most %2 are read at once."))
                              .arg(all.size())
                              .arg(kMaxCameras);
        return reading;
    }
    QHash<QString, int> seen;  // canonical address -> its line
    for (const Record& record : all) {
        auto field = [&](int f) {
            return columns[f] < 0 ? QString() : record.fields.value(columns[f]).trimmed();
        };
        Camera camera{record.line, field(Address), field(User), field(Password), {}};
        QString error = problem(camera);
        if (error.isEmpty() && (!DeviceLabels::clean(field(Name), &camera.label.name) ||
                                !DeviceLabels::clean(field(Group), &camera.label.group)))
            error =
                text(QT_TRANSLATE_NOOP(
                         "DeviceCsv",
                         "a name or group longer than %1 characters or with control characters"))
                    .arg(DeviceLabels::kMaxLength);
        if (!error.isEmpty()) {
            reading.errors << lineText(record.line, error);
        } else if (listed(camera.ip)) {
            reading.duplicates << lineText(
                record.line,
                text(QT_TRANSLATE_NOOP("DeviceCsv", "%1 is in the list already")).arg(camera.ip));
        } else if (seen.contains(camera.ip)) {
            reading.duplicates << lineText(
                record.line, text(QT_TRANSLATE_NOOP("DeviceCsv", "%1 repeats line %2"))
                                 .arg(camera.ip)
                                 .arg(seen.value(camera.ip)));
        } else {
            seen.insert(camera.ip, record.line);
            reading.cameras << camera;
        }
    }
    return reading;
}

}  // namespace devicecsv
