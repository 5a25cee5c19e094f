#include "digestcache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <algorithm>
#include <cstring>

namespace facesync {

namespace {
constexpr int kMd5Bytes = 16;
constexpr qint64 kMaxLineBytes = 64;

// A libid comes from the camera: only its harmless characters reach the file name.
QString fileNamePart(QString text) {
    for (QChar& c : text)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != '.' && c != '-') c = '_';
    return text;
}

}  // namespace

DigestCache::DigestCache(const QString& dir, const QString& camera, const QString& libid)
    : path_(
          QDir(dir).filePath(QString("%1-%2.md5").arg(fileNamePart(camera), fileNamePart(libid)))) {
}

void DigestCache::load() {
    md5_.clear();
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return;
    while (!file.atEnd()) {
        const QList<QByteArray> parts = file.readLine(kMaxLineBytes).trimmed().split(' ');
        if (parts.size() != 2) continue;
        bool ok = false;
        const qint64 imgid = parts[0].toLongLong(&ok);
        const QByteArray md5 = QByteArray::fromHex(parts[1]);
        if (ok && imgid >= 0 && parts[1].size() == 2 * kMd5Bytes) put(imgid, md5);
    }
}

bool DigestCache::save() const {
    if (!QDir().mkpath(QFileInfo(path_).path())) return false;
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly)) return false;
    for (auto it = md5_.constBegin(); it != md5_.constEnd(); ++it)
        file.write(QByteArray::number(it.key()) + ' ' + get(it.key()).toHex() + '\n');
    return file.commit();
}

QByteArray DigestCache::get(qint64 imgid) const {
    const auto it = md5_.constFind(imgid);
    return it == md5_.constEnd() ? QByteArray() : QByteArray(it->bytes, kMd5Bytes);
}

void DigestCache::put(qint64 imgid, const QByteArray& md5) {
    if (md5.size() != kMd5Bytes) return;
    Md5& held = md5_[imgid];
    memcpy(held.bytes, md5.constData(), kMd5Bytes);
}

void DigestCache::keepOnly(const QVector<qint64>& sortedImgids) {
    for (auto it = md5_.begin(); it != md5_.end();) {
        if (std::binary_search(sortedImgids.cbegin(), sortedImgids.cend(), it.key()))
            ++it;
        else
            it = md5_.erase(it);
    }
}

}  // namespace facesync
