// Interaction::addImages against a loop making the same three camlink calls per picture
// (add, update, find) directly, on one simulated camera in this process. Alternating rounds;
// prints pictures per second of each and the median of the per-round time ratios.
#include <QDir>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <vector>

#include "camlink.h"
#include "camsim.h"
#include "dbutil/interaction.h"

namespace {

constexpr int kPictures = 500;
constexpr int kRounds = 5;
using Clock = std::chrono::steady_clock;

SFeatrueList makePictures(const QString& dir) {
    SFeatrueList pictures;
    for (int i = 0; i < kPictures; ++i) {
        QImage image(160, 200, QImage::Format_RGB32);
        image.fill(qRgb(i % 256, (i * 7) % 256, (i * 13) % 256));
        const QString path = QDir(dir).filePath(QString("p%1.jpg").arg(i));
        if (!image.save(path, "JPG")) qFatal("cannot write %s", qPrintable(path));
        auto picture = SFeatrueInfoPtr::create();
        picture->path = path;
        picture->name = QString("person %1").arg(i);
        pictures.append(picture);
    }
    return pictures;
}

template <size_t N>
void put(char (&field)[N], const QByteArray& text) {
    std::strncpy(field, text.constData(), N - 1);
}

// The same three calls per picture, straight on the C interface.
int rawLoop(int session, const QString& libid, const SFeatrueList& pictures) {
    int stored = 0;
    for (const SFeatrueInfoPtr& picture : pictures) {
        vcam_image_record record;
        std::memset(&record, 0, sizeof record);
        put(record.path, picture->path.toLocal8Bit());
        put(record.libid, libid.toUtf8());
        put(record.name, picture->name.toUtf8());
        // The same identifier text the application sends, so the camera does the same work.
        put(record.uid, QUuid::createUuid().toString(QUuid::WithoutBraces).toUtf8());
        if (vcam_control_add_image(session, &record) != 0) continue;
        record.imgid = QJsonDocument::fromJson(record.reply)
                           .object()
                           .value("data")
                           .toObject()
                           .value("imgid")
                           .toInt();
        if (vcam_control_update_image(session, &record) != 0) continue;
        if (vcam_control_find_image(session, &record) == 0) ++stored;
    }
    return stored;
}

double seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    camsim::CameraConfig config;
    config.address = "127.0.0.61";
    camsim::Camera camera(config);
    std::string error;
    if (!camera.start(&error)) qFatal("camera: %s", error.c_str());
    QTemporaryDir dir;
    const SFeatrueList pictures = makePictures(dir.path());
    SDeviceInfo device("127.0.0.61", "admin", "admin");
    Interaction link;
    const int session = link.login(device.ip, device.username, device.password, nullptr);

    std::vector<double> app, raw, ratios;
    for (int round = 0; round < kRounds; ++round) {
        SDBInfo db;
        db.name = "bench";
        if (!link.addFaceDB(device, &db)) qFatal("no library");
        // Which goes first alternates, so neither always meets a fuller library.
        for (int turn = 0; turn < 2; ++turn) {
            const bool appTurn = (turn == 0) == (round % 2 == 0);
            for (const auto& picture : pictures)
                picture->uid.clear();
            const auto start = Clock::now();
            const int stored = appTurn ? link.addImages(device, db.libid, pictures, nullptr)
                                       : rawLoop(session, db.libid, pictures);
            (appTurn ? app : raw).push_back(seconds(start));
            if (stored != kPictures) qFatal("pictures lost");
            link.clearImages(device, db.libid);
        }
        link.deleteFaceDB(device, db.libid);
        ratios.push_back(app.back() / raw.back());
    }
    std::printf("addImages: %.0f pictures/s, direct calls: %.0f pictures/s, median ratio %.3f\n",
                kPictures / median(app), kPictures / median(raw), median(ratios));
    camera.stop();
    return 0;
}
