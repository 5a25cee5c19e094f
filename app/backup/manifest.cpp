#include "manifest.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace backup {
namespace {

constexpr int kFormat = 1;
constexpr qint64 kMaxSumBytes = 4096;

QJsonObject libraryJson(const LibraryEntry& library) {
    QJsonObject md5;
    for (auto it = library.pictureMd5.begin(); it != library.pictureMd5.end(); ++it)
        md5.insert(QString::number(it.key()), it->toHex());
    return {{"libid", library.libid},
            {"name", library.name},
            {"outcome", library.outcome},
            {"reason", library.reason},
            {"package", library.package},
            {"sha256", library.sha256},
            {"records", library.records},
            {"pictures", library.pictures},
            {"missing_pictures", library.missingPictures},
            {"bytes", library.bytes},
            {"picture_md5", md5}};
}

LibraryEntry libraryFrom(const QJsonObject& json) {
    LibraryEntry library;
    library.libid = json["libid"].toString();
    library.name = json["name"].toString();
    library.outcome = json["outcome"].toString();
    library.reason = json["reason"].toString();
    library.package = json["package"].toString();
    library.sha256 = json["sha256"].toString();
    library.records = json["records"].toInt();
    library.pictures = json["pictures"].toInt();
    library.missingPictures = json["missing_pictures"].toInt();
    library.bytes = qint64(json["bytes"].toDouble());
    const QJsonObject md5 = json["picture_md5"].toObject();
    // A damaged digest is kept as zeros: verify then names that picture.
    for (auto it = md5.begin(); it != md5.end(); ++it)
        library.pictureMd5.insert(it.key().toLongLong(),
                                  Md5::fromHex(it.value().toString()).value_or(Md5{}));
    return library;
}

}  // namespace

bool CameraEntry::failed() const {
    if (outcome != "ok") return true;
    for (const LibraryEntry& library : libraries)
        if (library.outcome != outcome::kStored && library.outcome != outcome::kUnchanged)
            return true;
    return false;
}

QJsonObject Manifest::totals() const {
    int libraries = 0, records = 0, pictures = 0;
    qint64 bytes = 0;
    for (const CameraEntry& camera : cameras) {
        for (const LibraryEntry& library : camera.libraries) {
            ++libraries;
            records += library.records;
            pictures += library.pictures;
            if (library.outcome == outcome::kStored) bytes += library.bytes;
        }
    }
    return {{"cameras", cameras.size()}, {"libraries", libraries}, {"records", records},
            {"pictures", pictures},      {"bytes_written", bytes}};
}

// The document QJsonDocument would make of the whole manifest, one camera at a time: the MD5s
// of a large fleet are never all in JSON form at once. "cameras" is the first key either way.
bool Manifest::write(QIODevice& out) const {
    const QJsonObject rest{{"format", kFormat},         {"started", started},
                           {"finished", finished},      {"encrypted", encrypted},
                           {"interrupted", interrupted}, {"totals", totals()}};
    bool ok = out.write("{\n    \"cameras\": [") >= 0;
    for (int i = 0; ok && i < cameras.size(); ++i) {
        const CameraEntry& camera = cameras[i];
        QJsonArray libraryList;
        for (const LibraryEntry& library : camera.libraries) libraryList.append(libraryJson(library));
        const QJsonObject json{{"address", camera.address},
                               {"outcome", camera.outcome},
                               {"reason", camera.reason},
                               {"libraries", libraryList}};
        QByteArray text = QJsonDocument(json).toJson(QJsonDocument::Indented);
        text.chop(1);  // its last line break
        text.replace('\n', "\n        ");
        ok = out.write(i == 0 ? "\n        " : ",\n        ") >= 0 && out.write(text) == text.size();
    }
    // The other keys as QJsonDocument writes them, after the list: "{\n" dropped.
    const QByteArray tail = QJsonDocument(rest).toJson(QJsonDocument::Indented).mid(2);
    return ok && out.write(cameras.isEmpty() ? "],\n" : "\n    ],\n") >= 0 &&
           out.write(tail) == tail.size();
}

bool Manifest::fromText(const QByteArray& text, Manifest* out) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(text, &error);
    const QJsonObject json = document.object();
    if (error.error != QJsonParseError::NoError || json["format"].toInt() != kFormat) return false;
    out->started = json["started"].toString();
    out->finished = json["finished"].toString();
    out->encrypted = json["encrypted"].toBool();
    out->interrupted = json["interrupted"].toBool();
    out->cameras.clear();
    for (const QJsonValue& value : json["cameras"].toArray()) {
        const QJsonObject cameraJson = value.toObject();
        CameraEntry camera;
        camera.address = cameraJson["address"].toString();
        camera.outcome = cameraJson["outcome"].toString();
        camera.reason = cameraJson["reason"].toString();
        for (const QJsonValue& library : cameraJson["libraries"].toArray())
            camera.libraries.append(libraryFrom(library.toObject()));
        out->cameras.append(camera);
    }
    return true;
}

QByteArray PackageSum::toText() const {
    const QJsonObject json{{"sha256", sha256},     {"fingerprint", fingerprint},
                           {"records", records},   {"pictures", pictures},
                           {"missing_pictures", missingPictures}, {"bytes", bytes}};
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

bool PackageSum::read(const QString& path, PackageSum* out) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QJsonObject json = QJsonDocument::fromJson(file.read(kMaxSumBytes)).object();
    out->sha256 = json["sha256"].toString();
    out->fingerprint = json["fingerprint"].toString();
    out->records = json["records"].toInt();
    out->pictures = json["pictures"].toInt();
    out->missingPictures = json["missing_pictures"].toInt();
    out->bytes = qint64(json["bytes"].toDouble());
    return !out->sha256.isEmpty() && !out->fingerprint.isEmpty();
}

}  // namespace backup
