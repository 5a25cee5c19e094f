#include "camera_fleet.h"

#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace fleet {

QString cameraAddress(int index) {
    return QString("127.1.%1.%2").arg(index / 250).arg(2 + index % 250);
}

bool writePicture(const QString& path, int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(qRgb((seed * 37) % 256, (seed * 91) % 256, 255 - (seed * 53) % 256));
    return image.save(path, "JPG", 80);
}

namespace {

QJsonObject library(const QString& name, int pictures, const QString& picturePath) {
    QJsonArray images;
    for (int i = 0; i < pictures; ++i)
        images.append(QJsonObject{{"path", picturePath},
                                  {"name", QString("person %1").arg(i + 1, 5, 10, QChar('0'))}});
    return QJsonObject{{"name", name}, {"images", images}};
}

}  // namespace

bool writeCamsimConfig(const QString& path, const Plan& plan) {
    QJsonArray cameras;
    for (int i = 0; i < plan.cameras; ++i) {
        QJsonObject camera{{"address", cameraAddress(i)},
                           {"user", kUser},
                           {"password", kPassword},
                           {"search", true}};
        QJsonArray libraries;
        if (i == 0) libraries.append(library("people", plan.libraryPictures, plan.sharedPicture));
        if (i >= plan.firstBatchCamera && i < plan.firstBatchCamera + plan.batchCameras)
            libraries.append(library("batch", 0, QString()));
        if (!libraries.isEmpty()) camera["libraries"] = libraries;
        cameras.append(camera);
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QByteArray text = QJsonDocument(QJsonObject{{"cameras", cameras}}).toJson(
        QJsonDocument::Compact);
    return file.write(text) == text.size();
}

}  // namespace fleet
