#include "packagefile.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include "resultcode.h"
#include "zipreader.h"

namespace package {
namespace {

// The smallest record: two int64, two int32 (status and the ext count) and six empty texts.
constexpr qint64 kMinRecordBytes = 8 + 8 + 4 + 4 + 6 * 4;
constexpr quint32 kNullText = 0xFFFFFFFF;

// Bytes the device can still deliver, or -1 when it cannot tell.
qint64 bytesLeft(const QDataStream& s) {
    const QIODevice* dev = s.device();
    return dev->isSequential() ? -1 : dev->size() - dev->pos();
}

bool fail(QDataStream& s) {
    s.setStatus(QDataStream::ReadCorruptData);
    return false;
}

// A text whose announced length is checked against what is left before Qt allocates for it.
bool readText(QDataStream& s, QString& text) {
    const qint64 left = bytesLeft(s);
    uchar raw[4];
    if (left >= 4 && s.device()->peek(reinterpret_cast<char*>(raw), 4) == 4) {
        const quint32 bytes = qFromBigEndian<quint32>(raw);
        if (bytes != kNullText && qint64(bytes) > left - 4) return fail(s);
    }
    s >> text;
    return s.status() == QDataStream::Ok;
}

// Read by hand: Qt's list reader reserves room for the announced count up front.
bool readTextList(QDataStream& s, QStringList& list) {
    quint32 count = 0;
    s >> count;
    if (s.status() != QDataStream::Ok) return false;
    const qint64 left = bytesLeft(s);
    if (left >= 0 && qint64(count) * 4 > left) return fail(s);
    list.clear();
    for (quint32 i = 0; i < count; ++i) {
        QString text;
        if (!readText(s, text)) return false;
        list.append(text);
    }
    return true;
}

bool readHeader(QDataStream& s, Header& header) {
    return readText(s, header.libid) && readText(s, header.name) &&
           (s >> header.threshold >> header.imgnum >> header.errornum >> header.extractnum,
            s.status() == QDataStream::Ok);
}

bool readRecord(QDataStream& s, SFeatrueInfo& record) {
    QString storedPath;
    s >> record.imgid;
    if (s.status() != QDataStream::Ok || !readText(s, record.uid) || !readText(s, record.name) ||
        !readTextList(s, record.ext)) {
        return false;
    }
    s >> record.status;
    if (!readText(s, record.feature) || !readText(s, storedPath) || !readText(s, record.url)) {
        return false;
    }
    s >> record.feature_attr;
    if (s.status() != QDataStream::Ok || !readText(s, record.model_version)) return false;
    // The path later names a local file to upload: it must stay inside the package.
    if (!storedPath.isEmpty() && !isSafeEntryName(storedPath.toUtf8())) return fail(s);
    record.path = storedPath.isEmpty() ? QString() : storedPath;
    while (record.ext.size() < SFeatrueInfo::kExtCount)
        record.ext.append(QString());
    return true;
}

}  // namespace

QString picturePath(qint64 imgid) {
    return QStringLiteral("%1/%2.jpg").arg(QLatin1String(kImagesDir)).arg(imgid);
}

namespace {
qint64 textSize(const QString& text) {
    return textBytes(text.size());
}
}  // namespace

qint64 dataBytes(const Header& header, const SFeatrueList& records) {
    qint64 bytes = 4 + 4 + textSize(header.libid) + textSize(header.name) + 4 * 4;
    for (const SFeatrueInfoPtr& record : records) {
        const bool picture = !record->path.isEmpty() || !record->url.isEmpty();
        bytes += 8 + textSize(record->uid) + textSize(record->name) + 4 + 4 + 8 +
                 (record->status == 1 ? textSize(record->feature) : textBytes(0)) +
                 (picture ? textSize(picturePath(record->imgid)) : textBytes(0)) +
                 textSize(record->url) + textSize(record->model_version);
        for (const QString& ext : record->ext)
            bytes += textSize(ext);
    }
    return bytes;
}

bool fitsPackage(const Header& header, const SFeatrueList& records) {
    return records.size() <= kMaxRecords && dataBytes(header, records) <= kMaxDataBytes;
}

Header Header::fromLibrary(const SDBInfo& library) {
    Header header;
    header.libid = library.libid;
    header.name = library.name;
    header.threshold = library.threshold;
    header.imgnum = library.imgnum;
    header.errornum = library.errornum;
    header.extractnum = library.extractnum;
    return header;
}

SDBInfo Header::toLibrary() const {
    SDBInfo library;
    library.libid = libid;
    library.name = name;
    library.threshold = threshold;
    library.imgnum = imgnum;
    library.errornum = errornum;
    library.extractnum = extractnum;
    return library;
}

const char* readStatusText(ReadStatus status) {
    switch (status) {
        case ReadStatus::Ok:
            return "ok";
        case ReadStatus::NotReadable:
            return "not readable";
        case ReadStatus::BadMagic:
            return "not a package";
        case ReadStatus::WrongVersion:
            return "incompatible version";
        case ReadStatus::Damaged:
            return "damaged or incomplete";
    }
    return "unknown";
}

int resultCode(ReadStatus status) {
    switch (status) {
        case ReadStatus::Ok:
            return resultcode::Ok;
        case ReadStatus::WrongVersion:
            return resultcode::Incompatible;
        case ReadStatus::NotReadable:
        case ReadStatus::BadMagic:
        case ReadStatus::Damaged:
            return resultcode::FileError;
    }
    return resultcode::FileError;
}

bool write(QIODevice& out, const Header& header, const SFeatrueList& records,
           const StepFn& onRecord) {
    QDataStream s(&out);
    s << kMagic << kVersion << header.libid << header.name << header.threshold
      << qint32(records.size()) << header.errornum << header.extractnum;
    const QString noFeature(QLatin1String(""));  // empty but not null: length 0
    for (const SFeatrueInfoPtr& record : records) {
        s << record->imgid << record->uid << record->name << record->ext << record->status
          << (record->status == 1 ? record->feature : noFeature)
          << (record->path.isEmpty() ? QString() : record->path) << record->url
          << record->feature_attr << record->model_version;
        if (s.status() != QDataStream::Ok) return false;
        if (onRecord) onRecord();
    }
    return s.status() == QDataStream::Ok;
}

bool writeFile(const QString& path, const Header& header, const SFeatrueList& records,
               const StepFn& onRecord) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    // An unfinished save file is discarded when it goes out of scope.
    return write(file, header, records, onRecord) && file.commit();
}

ReadStatus read(QIODevice& in, Contents& out, const HeaderFn& onHeader, const StepFn& onRecord) {
    out = Contents();
    QDataStream s(&in);
    quint32 magic = 0;
    quint32 version = 0;
    s >> magic >> version;
    if (s.status() != QDataStream::Ok) return ReadStatus::Damaged;
    if (magic != kMagic) return ReadStatus::BadMagic;
    if (version != kVersion) return ReadStatus::WrongVersion;
    if (!readHeader(s, out.header) || out.header.imgnum < 0) return ReadStatus::Damaged;

    const qint64 left = bytesLeft(s);
    if (left >= 0 && qint64(out.header.imgnum) * kMinRecordBytes > left) {
        return ReadStatus::Damaged;
    }
    if (left >= 0) out.records.reserve(out.header.imgnum);  // bounded by the check above
    if (onHeader) onHeader(out.header);
    for (qint32 i = 0; i < out.header.imgnum; ++i) {
        auto record = SFeatrueInfoPtr::create();
        if (!readRecord(s, *record)) {
            out.records.clear();
            return ReadStatus::Damaged;
        }
        out.records.append(record);
        if (onRecord) onRecord();
    }
    return ReadStatus::Ok;
}

ReadStatus readFile(const QString& path, Contents& out, const HeaderFn& onHeader,
                    const StepFn& onRecord) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out = Contents();
        return ReadStatus::NotReadable;
    }
    return read(file, out, onHeader, onRecord);
}

void resolvePicturePaths(SFeatrueList& records, const QString& rootDir) {
    for (const SFeatrueInfoPtr& record : records) {
        if (!record->path.isEmpty()) record->path = rootDir + QLatin1Char('/') + record->path;
    }
}

}  // namespace package
