#include "sync_fleet.h"

#include <QCryptographicHash>
#include <QDir>

#include "bench_pictures.h"
#include "dbutil/packagefile.h"
#include "dbutil/zipwriter.h"
#include "sync/digestcache.h"

namespace syncbench {

namespace {

constexpr int kColourStep = 7;
constexpr int kThreshold = 74;
constexpr int kStaleBase = 60000;  // picture numbers of stale records, apart from the source's

QString md5Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex())
        .toUpper();
}

camsim::NewImage imageOf(const QString& libid, const SourceRecord& record) {
    camsim::NewImage image;
    image.libid = libid.toStdString();
    image.uid = record.uid.toStdString();
    image.name = record.name.toStdString();
    for (int i = 0; i < record.ext.size() && i < int(image.ext.size()); ++i)
        image.ext[i] = record.ext[i].toStdString();
    image.bytes = record.jpeg.toStdString();
    image.status = camsim::kImageStatusExtracted;
    image.feature = camsim::computeFeature(image.bytes);
    image.featureAttr = 1;
    image.modelVersion = "0.0.8";
    return image;
}

SourceRecord numbered(const QString& uid, int picture) {
    SourceRecord r;
    r.uid = uid;
    r.name = QString("person_%1").arg(picture);
    r.ext = QStringList{QString("badge %1").arg(picture), "site A", "", "", ""};
    r.jpeg = benchpictures::jpeg(picture, kColourStep);
    r.md5 = md5Hex(r.jpeg);
    return r;
}

}  // namespace

bool isMissing(int index, int missing) {
    return index % 100 == 7 && index / 100 < missing;
}

QVector<SourceRecord> makeRecords(int count) {
    QVector<SourceRecord> records;
    QSet<QString> digests;
    for (int i = 0; i < count; ++i) {
        records.append(numbered(QString("uid-%1").arg(i, 5, 10, QChar('0')), i));
        digests.insert(records.back().md5);
    }
    if (digests.size() != count) qFatal("two source pictures have the same bytes");
    return records;
}

void writePackage(const QVector<SourceRecord>& records, const QString& library,
                  const QString& workDir, const QString& zipPath) {
    package::Header header;
    header.libid = "1";
    header.name = library;
    header.threshold = kThreshold;
    SFeatrueList list;
    for (int i = 0; i < records.size(); ++i) {
        auto r = SFeatrueInfoPtr::create();
        r->imgid = i + 1;
        r->uid = records[i].uid;
        r->name = records[i].name;
        r->ext = records[i].ext;
        r->path = package::picturePath(r->imgid);
        list.append(r);
    }
    const QString data = QDir(workDir).filePath(package::kDataName);
    ZipWriter zip;
    bool ok = package::writeFile(data, header, list) && zip.open(zipPath) &&
              zip.addFile(package::kDataName, data);
    for (int i = 0; ok && i < records.size(); ++i)
        ok = zip.addBytes(list[i]->path, records[i].jpeg);
    if (!zip.close() || !ok) qFatal("cannot write the source package");
}

SeededCamera seed(camsim::Camera& camera, const QVector<SourceRecord>& records, int missing,
                  int stale, const QString& library, const QString& digestDir) {
    SeededCamera seeded{&camera, {}, {}};
    const camsim::StoreResult made =
        camera.faces().createLibrary(library.toStdString(), kThreshold);
    seeded.libid = QString::fromStdString(made.data["libid"].asString());
    const QString address = QString::fromStdString(camera.config().address);
    facesync::DigestCache cache(digestDir, address, seeded.libid);
    auto add = [&](const SourceRecord& record) {
        const camsim::StoreResult added = camera.faces().addImage(imageOf(seeded.libid, record));
        if (added.code != 0) qFatal("cannot seed a camera: %s", added.msg.c_str());
        const qint64 imgid = added.data["imgid"].asInt64();
        cache.put(imgid, QByteArray::fromHex(record.md5.toLatin1()));
        return imgid;
    };
    for (int i = 0; i < records.size(); ++i)
        if (!isMissing(i, missing)) add(records[i]);
    for (int k = 0; k < stale; ++k)
        seeded.staleImgids.insert(
            add(numbered(QString("%1-stale-%2").arg(address).arg(k), kStaleBase + k)));
    if (!cache.save()) qFatal("cannot write a digest cache");
    return seeded;
}

}  // namespace syncbench
