#include "digestcache.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <cstring>
#include <functional>

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

// Every well-formed line of the file, in order; nothing when it cannot be read.
void readLines(const QString& path, const std::function<void(qint64, const QByteArray&)>& line) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return;
    while (!file.atEnd()) {
        const QList<QByteArray> parts = file.readLine(kMaxLineBytes).trimmed().split(' ');
        if (parts.size() != 2 || parts[1].size() != 2 * kMd5Bytes) continue;
        bool ok = false;
        const qint64 imgid = parts[0].toLongLong(&ok);
        const QByteArray md5 = QByteArray::fromHex(parts[1]);
        if (ok && imgid >= 0 && md5.size() == kMd5Bytes) line(imgid, md5);
    }
}

QByteArray lineOf(qint64 imgid, const QByteArray& md5) {
    return QByteArray::number(imgid) + ' ' + md5.toHex() + '\n';
}

// A new file at path, filled by write; false when it could not be written whole.
bool writeFile(const QString& path, const std::function<void(QSaveFile*)>& write) {
    if (!QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    write(&file);
    return file.commit();
}

}  // namespace

DigestCache::DigestCache(const QString& dir, const QString& camera, const QString& libid)
    : path_(pathFor(dir, camera, libid)) {}

QString DigestCache::pathFor(const QString& dir, const QString& camera, const QString& libid) {
    return QDir(dir).filePath(QString("%1-%2.md5").arg(fileNamePart(camera), fileNamePart(libid)));
}

void DigestCache::load() {
    entries_.clear();
    readLines(path_, [this](qint64 imgid, const QByteArray& md5) {
        Entry entry{imgid, {}};
        memcpy(entry.md5, md5.constData(), kMd5Bytes);
        entries_ << entry;
    });
    const auto byImgid = [](const Entry& a, const Entry& b) { return a.imgid < b.imgid; };
    std::stable_sort(entries_.begin(), entries_.end(), byImgid);
    // Of a run of one imgid the last line counts: move it to the run's end, keep that one.
    const auto sameImgid = [](const Entry& a, const Entry& b) { return a.imgid == b.imgid; };
    std::reverse(entries_.begin(), entries_.end());
    entries_.erase(std::unique(entries_.begin(), entries_.end(), sameImgid), entries_.end());
    std::reverse(entries_.begin(), entries_.end());
    entries_.squeeze();
}

bool DigestCache::save() const {
    return writeFile(path_, [this](QSaveFile* file) {
        for (const Entry& entry : entries_)
            file->write(lineOf(entry.imgid, QByteArray::fromRawData(entry.md5, kMd5Bytes)));
    });
}

QByteArray DigestCache::get(qint64 imgid) const {
    const auto it = std::lower_bound(entries_.cbegin(), entries_.cend(), imgid,
                                     [](const Entry& e, qint64 id) { return e.imgid < id; });
    return it != entries_.cend() && it->imgid == imgid ? QByteArray(it->md5, kMd5Bytes)
                                                       : QByteArray();
}

void DigestCache::put(qint64 imgid, const QByteArray& md5) {
    if (md5.size() != kMd5Bytes) return;
    auto it = std::lower_bound(entries_.begin(), entries_.end(), imgid,
                               [](const Entry& e, qint64 id) { return e.imgid < id; });
    if (it == entries_.end() || it->imgid != imgid) it = entries_.insert(it, Entry{imgid, {}});
    memcpy(it->md5, md5.constData(), kMd5Bytes);
}

void DigestCache::keepOnly(const QVector<qint64>& sortedImgids) {
    const auto gone = [&sortedImgids](const Entry& entry) {
        return !std::binary_search(sortedImgids.cbegin(), sortedImgids.cend(), entry.imgid);
    };
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(), gone), entries_.end());
}

void DigestEdits::put(qint64 imgid, const QByteArray& md5) {
    if (md5.size() != kMd5Bytes) return;
    removed_.remove(imgid);
    put_.insert(imgid, md5);
}

void DigestEdits::remove(qint64 imgid) {
    put_.remove(imgid);
    removed_.insert(imgid);
}

bool DigestEdits::save(const QString& path) const {
    return writeFile(path, [&](QSaveFile* file) {
        if (!fresh_)
            readLines(path, [&](qint64 imgid, const QByteArray& md5) {
                if (!removed_.contains(imgid) && !put_.contains(imgid))
                    file->write(lineOf(imgid, md5));
            });
        for (auto it = put_.cbegin(); it != put_.cend(); ++it)
            file->write(lineOf(it.key(), it.value()));
    });
}

}  // namespace facesync
