// The MD5s of the pictures a target library holds. Camera records carry no digest, so the sync
// keeps its own, one file per camera and library: lines "imgid md5hex". A digest is trusted
// only while its imgid exists, since a camera never changes the picture of an imgid.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QSet>
#include <QString>
#include <QVector>

namespace facesync {

// The whole file, for the plan's look-ups.
class DigestCache {
public:
    DigestCache(const QString& dir, const QString& camera, const QString& libid);
    static QString pathFor(const QString& dir, const QString& camera, const QString& libid);

    QString path() const { return path_; }
    // Missing or unreadable file: empty cache. Bad lines are skipped; of two lines for one
    // imgid the later counts.
    void load();
    bool save() const;

    // Empty when unknown.
    QByteArray get(qint64 imgid) const;
    // A digest that is not 16 bytes is not kept.
    void put(qint64 imgid, const QByteArray& md5);
    // Drops digests of imgids the library no longer holds; sortedImgids in ascending order.
    void keepOnly(const QVector<qint64>& sortedImgids);
    int size() const { return entries_.size(); }

private:
    // Sorted by imgid, held in place: every camera planned at once holds thousands, and a
    // hash node each would cost three times as much.
    struct Entry {
        qint64 imgid;
        char md5[16];
    };
    QString path_;
    QVector<Entry> entries_;
};

// What an apply changes in a library's digests, merged into the file when the camera is done:
// the apply never holds the digests of the whole library.
class DigestEdits {
public:
    void put(qint64 imgid, const QByteArray& md5);
    void remove(qint64 imgid);
    // The library is new: whatever a file at its path holds is not about its pictures.
    void startFresh() { fresh_ = true; }
    // Streams the file's lines to a new one, leaving out those of removed or replaced imgids,
    // and adds the new digests.
    bool save(const QString& path) const;

private:
    QHash<qint64, QByteArray> put_;
    QSet<qint64> removed_;
    bool fresh_ = false;
};

}  // namespace facesync
