// The MD5s of the pictures a target library holds. Camera records carry no digest, so the sync
// keeps its own, one file per camera and library: lines "imgid md5hex". A digest is trusted
// only while its imgid exists, since a camera never changes the picture of an imgid.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>

namespace facesync {

class DigestCache {
public:
    DigestCache(const QString& dir, const QString& camera, const QString& libid);

    QString path() const { return path_; }
    // Missing or unreadable file: empty cache. Bad lines are skipped.
    void load();
    bool save() const;

    // Empty when unknown.
    QByteArray get(qint64 imgid) const;
    // A digest that is not 16 bytes is not kept.
    void put(qint64 imgid, const QByteArray& md5);
    void remove(qint64 imgid) { md5_.remove(imgid); }
    // Drops digests of imgids the library no longer holds; sortedImgids in ascending order.
    void keepOnly(const QVector<qint64>& sortedImgids);
    int size() const { return md5_.size(); }

private:
    // Held in place, not as a QByteArray each: every camera planned at once holds thousands.
    struct Md5 {
        char bytes[16];
    };
    QString path_;
    QHash<qint64, Md5> md5_;
};

}  // namespace facesync
