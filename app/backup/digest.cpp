#include "digest.h"

#include <QCryptographicHash>
#include <QFile>
#include <algorithm>

namespace backup {
namespace {

QString hashOfFile(const QString& path, QCryptographicHash::Algorithm algorithm) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QCryptographicHash hash(algorithm);
    if (!hash.addData(&file)) return {};
    return QString::fromLatin1(hash.result().toHex());
}

// Each text with its length first, so that no two different records hash alike.
void addText(QCryptographicHash& hash, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    hash.addData(QByteArray::number(bytes.size()) + ':');
    hash.addData(bytes);
}

}  // namespace

QString sha256OfFile(const QString& path) {
    return hashOfFile(path, QCryptographicHash::Sha256);
}

QString md5OfFile(const QString& path) {
    return hashOfFile(path, QCryptographicHash::Md5);
}

QString md5Of(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
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
