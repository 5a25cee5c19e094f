#include "digest.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

namespace backup {
namespace {

QByteArray hashOfFile(const QString& path, QCryptographicHash::Algorithm algorithm) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(algorithm);
    if (!hash.addData(&file)) return {};
    return hash.result();
}


// Each text with its length first, so that no two different records hash alike.
void addText(QCryptographicHash& hash, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    hash.addData(QByteArray::number(bytes.size()) + ':');
    hash.addData(bytes);
}

}  // namespace

QString sha256OfFile(const QString& path) {
    return QString::fromLatin1(hashOfFile(path, QCryptographicHash::Sha256).toHex());
}

Md5 Md5::fromRaw(const QByteArray& raw) {
    Md5 md5;
    std::copy_n(raw.constData(), std::min<size_t>(md5.bytes.size(), size_t(raw.size())),
                md5.bytes.begin());
    return md5;
}

Md5 Md5::of(const QByteArray& data) {
    return Md5::fromRaw(QCryptographicHash::hash(data, QCryptographicHash::Md5));
}

std::optional<Md5> Md5::ofFile(const QString& path) {
    const QByteArray raw = hashOfFile(path, QCryptographicHash::Md5);
    if (raw.isEmpty()) return std::nullopt;
    return Md5::fromRaw(raw);
}

std::optional<Md5> Md5::fromHex(const QString& hex) {
    const bool digits = hex.size() == 32 && std::all_of(hex.begin(), hex.end(), [](QChar c) {
                            return c.isDigit() || (c.toLower() >= 'a' && c.toLower() <= 'f');
                        });
    if (!digits) return std::nullopt;
    return Md5::fromRaw(QByteArray::fromHex(hex.toLatin1()));
}

QString Md5::toHex() const {
    return QString::fromLatin1(QByteArray(bytes.data(), int(bytes.size())).toHex());
}

QString recordsFingerprint(const SFeatrueList& records) {
    SFeatrueList sorted = records;
    std::sort(sorted.begin(), sorted.end(),
              [](const SFeatrueInfoPtr& a, const SFeatrueInfoPtr& b) { return a->imgid < b->imgid; });
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const SFeatrueInfoPtr& record : qAsConst(sorted)) {
        addText(hash, QString::number(record->imgid));
        addText(hash, QString::number(record->status));
        for (const QString& text : {record->name, record->uid, record->url, record->feature,
                                    record->model_version, QString::number(record->feature_attr)})
            addText(hash, text);
        for (const QString& text : qAsConst(record->ext)) addText(hash, text);
    }
    return QString::fromLatin1(hash.result().toHex());
}

}  // namespace backup
