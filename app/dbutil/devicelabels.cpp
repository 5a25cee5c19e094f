#include "devicelabels.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <algorithm>

#include "applog.h"
#include "inputcheck.h"
#include "json_keys.h"

const char DeviceLabels::kFileName[] = "kestrel.labels.json";

namespace {

constexpr int kFormatVersion = 1;
const QString kVersionKey = QStringLiteral("version");
const QString kCamerasKey = QStringLiteral("cameras");
const QString kNameKey = QStringLiteral("name");
const QString kGroupKey = QStringLiteral("group");

void logProblem(const char* what, const QString& fileName) {
    FK_LOG("dbutil\\devicelabels", 3, "camera names %s: %s\n", what,
           QDir::toNativeSeparators(fileName).toLocal8Bit().constData());
}

}  // namespace

QString DeviceLabels::fileBeside(const QString& storeFile) {
    return QFileInfo(storeFile).dir().filePath(QString::fromLatin1(kFileName));
}

bool DeviceLabels::clean(const QString& text, QString* cleaned) {
    const QString trimmed = text.trimmed();
    if (trimmed.size() > kMaxLength) return false;
    for (const QChar c : trimmed)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format ||
            c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            return false;
    *cleaned = trimmed;
    return true;
}

DeviceLabels::DeviceLabels(const QString& fileName) : fileName_(fileName) {}

QString DeviceLabels::key(const QString& ip) {
    const QString canonical = canonicalIp(ip);
    return canonical.isEmpty() ? ip : canonical;
}

void DeviceLabels::load() {
    labels_.clear();
    QFile file(fileName_);
    if (!file.exists()) return;
    if (file.size() > kMaxFileBytes || !file.open(QIODevice::ReadOnly))
        return logProblem("unreadable, none shown", fileName_);
    const QByteArray text = file.readAll();
    if (reply::hasDuplicateKeys(text)) return logProblem("damaged, none shown", fileName_);
    const QJsonDocument document = QJsonDocument::fromJson(text);
    const QJsonObject cameras = document.object().value(kCamerasKey).toObject();
    if (!document.isObject() || document.object().value(kVersionKey).toInt() != kFormatVersion)
        return logProblem("damaged, none shown", fileName_);
    int refused = 0;
    for (auto it = cameras.begin(); it != cameras.end(); ++it) {
        const QJsonObject entry = it.value().toObject();
        DeviceLabel label;
        const bool fits = canonicalIp(it.key()) == it.key() &&
                          clean(entry.value(kNameKey).toString(), &label.name) &&
                          clean(entry.value(kGroupKey).toString(), &label.group);
        if (!fits) {
            ++refused;
            continue;
        }
        if (!label.isEmpty()) labels_.insert(it.key(), label);
    }
    if (refused > 0) logProblem("with entries left out", fileName_);
}

bool DeviceLabels::save() const {
    QJsonObject cameras;
    for (auto it = labels_.begin(); it != labels_.end(); ++it)
        cameras.insert(it.key(), QJsonObject{{kNameKey, it->name}, {kGroupKey, it->group}});
    const QJsonObject root{{kVersionKey, kFormatVersion}, {kCamerasKey, cameras}};
    QSaveFile file(fileName_);
    const bool saved = file.open(QIODevice::WriteOnly) &&
                       file.write(QJsonDocument(root).toJson()) >= 0 && file.commit();
    if (!saved) logProblem("could not be saved", fileName_);
    return saved;
}

DeviceLabel DeviceLabels::label(const QString& ip) const {
    return labels_.value(key(ip));
}

bool DeviceLabels::set(const QString& ip, const DeviceLabel& label) {
    DeviceLabel cleaned;
    if (!clean(label.name, &cleaned.name) || !clean(label.group, &cleaned.group)) return false;
    const QString at = key(ip);
    if (labels_.value(at) == cleaned) return false;
    if (cleaned.isEmpty())
        labels_.remove(at);
    else
        labels_.insert(at, cleaned);
    return true;
}

bool DeviceLabels::remove(const QString& ip) {
    return labels_.remove(key(ip)) > 0;
}

QStringList DeviceLabels::groups() const {
    QStringList names;
    for (const DeviceLabel& label : labels_)
        if (!label.group.isEmpty()) names << label.group;
    names.removeDuplicates();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return QString::localeAwareCompare(a, b) < 0;
    });
    return names;
}

QString DeviceLabels::describe(const QString& ip) const {
    const DeviceLabel found = label(ip);
    QStringList parts{ip};
    for (const QString& part : {found.name, found.group})
        if (!part.isEmpty()) parts << part;
    return parts.join(QStringLiteral(" \u00b7 "));
}
