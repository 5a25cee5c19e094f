#include "vizorworker.h"

#include <QCoreApplication>
#include <QFile>
#include <QImageReader>

#include <algorithm>
#include <cstdio>
#include <limits>

#include "applog.h"
#include "facecrop.h"

namespace {

constexpr const char* kLogSource = "tools\\vizorworker";
constexpr int kVersionBytes = 50;
// The library's input record counts bytes in 32 bits; far larger than any photograph.
constexpr qint64 kMaxFileBytes = 512LL * 1024 * 1024;
// A picture is decoded whole before the clip for most formats: 256 megapixels (1 GiB) at most.
constexpr qint64 kMaxPicturePixels = 1LL << 28;

QImage readClipped(const QString& filePath, const QRect& clip) {
    QImageReader reader(filePath);
    reader.setDecideFormatFromContent(true);
    reader.setClipRect(clip);
    const QSize size = reader.size();
    QImage picture;
    const bool tooLarge = qint64(size.width()) * size.height() > kMaxPicturePixels;
    if (tooLarge || !reader.read(&picture)) {
        const QString why = tooLarge ? QStringLiteral("picture too large") : reader.errorString();
        FK_LOG(kLogSource, 3, "%s, Failed to read image: %s, filepath: %s.\n",
               "VizorWorker::extractFaceImage", why.toUtf8().constData(),
               filePath.toUtf8().constData());
        return QImage();
    }
    return picture;
}

QImage limitToMaxSize(const QImage& picture) {
    const QSize size = limitedSize(picture.size());
    if (size == picture.size()) return picture;
    return picture.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

// Float coordinates truncated towards zero; values an int cannot hold are clamped.
int truncated(float value) {
    if (!(value == value)) return 0;  // NaN
    if (value >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<float>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

}  // namespace

VizorWorker::VizorWorker(QObject* parent) : QObject(parent) {}

VizorWorker::~VizorWorker() {
    releaseHandle();
}

void VizorWorker::releaseHandle() {
    if (handle_) NexoVizorFree(handle_);
    handle_ = nullptr;
}

void VizorWorker::initialize(const QString& configPath) {
    releaseHandle();
    NexoVizorCreate(&handle_);
    NexoVizorSetConfig(handle_, "model_conf", configPath.toLocal8Bit().constData());
    NexoVizorSetConfig(handle_, "alphadet_instance_count", "1");
    NexoVizorSetConfig(handle_, "min_face_width", "40");
    NexoVizorSetConfig(handle_, "min_face_height", "40");
    const int result = NexoVizorInit(handle_);
    if (result != 0) {
        std::printf("Failed to init VIZOR, error_msg is %d\n", result);
        FK_LOG(kLogSource, 3, "%s, Failed to init VIZOR, error_msg is %d.\n",
               "VizorWorker::initialize", result);
    }
    char version[kVersionBytes] = {};
    NexoVizorGetVersion(version, kVersionBytes);
    version[kVersionBytes - 1] = '\0';
    std::printf("VIZOR Version : %s\n", version);
    FK_LOG(kLogSource, 6, "%s, VIZOR Version : %s.\n", "VizorWorker::initialize", version);
    std::fflush(stdout);
}

bool VizorWorker::readFile(const QString& filePath) {
    buffer_.clear();
    QFile file(filePath);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (!file.isSequential() && file.size() > kMaxFileBytes) return false;
    // read(n) reserves n bytes at once: take what is there in pieces, bounded even where the
    // size is unknown in advance (a device or a growing file).
    constexpr qint64 kPieceBytes = 1 << 20;
    if (!file.isSequential()) buffer_.reserve(int(file.size()));
    while (!file.atEnd()) {
        const QByteArray piece =
            file.read(std::min(kPieceBytes, kMaxFileBytes + 1 - buffer_.size()));
        if (piece.isEmpty()) break;
        buffer_ += piece;
        if (buffer_.size() > kMaxFileBytes) return false;
    }
    return file.error() == QFileDevice::NoError;
}

FaceResult VizorWorker::extractFace(const QString& filePath) {
    FaceResult result;
    if (!readFile(filePath)) {
        std::printf("Failed to get image \n");
        std::fflush(stdout);
        FK_LOG(kLogSource, 3, "%s, Failed to get image, filename: %s.\n",
               "VizorWorker::extractFace", filePath.toUtf8().constData());
        return result;
    }
    analyse(&result);
    return result;
}

void VizorWorker::analyse(FaceResult* result) {
    NexoVizorImage image{};
    image.data = reinterpret_cast<const uint8_t*>(buffer_.constData());
    image.size = static_cast<uint32_t>(buffer_.size());
    image.format = NEXO_VIZOR_FORMAT_ENCODED;
    image.mode = NEXO_VIZOR_MODE_FACE_BOX;
    NexoVizorResult* features = nullptr;
    NexoVizorExtractFeature(handle_, &image, &features);
    if (!features) {
        std::printf("Failed to call NexoVizorExtractFeature, features is null\n");
        FK_LOG(kLogSource, 3, "%s, Failed to call NexoVizorExtractFeature, features is null.\n",
               "VizorWorker::extractFace");
        result->status = FaceResult::kNoResult;
    } else if (features->error_code != 0 || !features->face) {
        const int code = features->error_code != 0 ? features->error_code : FaceResult::kNoResult;
        std::printf("Failed to extract features, error code is %d\n", code);
        result->status = code;
        FK_LOG(kLogSource, 3, "%s, Failed to extract features, error code: %d, message: %s.\n",
               "VizorWorker::extractFace", code, VizorErrorText(code).toUtf8().constData());
    } else {
        const NexoVizorFaceBox& box = *features->face;
        result->rect = QRect(QPoint(truncated(box.x1), truncated(box.y1)),
                             QPoint(truncated(box.x2), truncated(box.y2)));
        result->status = FaceResult::kFound;
    }
    std::fflush(stdout);
    NexoVizorRelease(&features);
}

QImage VizorWorker::extractFaceImage(const QString& filePath) {
    QImage picture;
    const FaceResult face = extractFace(filePath);
    if (face.status == FaceResult::kFound)
        picture = readClipped(filePath, faceCropRect(face.rect, cropTransform_));
    return limitToMaxSize(picture);
}

QString VizorErrorText(int code) {
    const char* text = QT_TRANSLATE_NOOP("QObject", "Unknown error");
    switch (code) {
        case 1:
            text = QT_TRANSLATE_NOOP("QObject", "uninit");
            break;
        case 2:
            text = QT_TRANSLATE_NOOP("QObject", "parameter error");
            break;
        case 3:
            text = QT_TRANSLATE_NOOP("QObject", "no image");
            break;
        case 4:
            text = QT_TRANSLATE_NOOP("QObject", "bad face rects");
            break;
        case 5:
            text = QT_TRANSLATE_NOOP("QObject", "face rect too small");
            break;
        case 6:
            text = QT_TRANSLATE_NOOP("QObject", "no face rect");
            break;
        case 7:
            text = QT_TRANSLATE_NOOP("QObject", "not liveness");
            break;
        case 8:
            text = QT_TRANSLATE_NOOP("QObject", "no metric");
            break;
        case 9:
            text = QT_TRANSLATE_NOOP("QObject", "no keypoint");
            break;
        case 10:
            text = QT_TRANSLATE_NOOP("QObject", "pose error");
            break;
        case 11:
            text = QT_TRANSLATE_NOOP("QObject", "no model");
            break;
        case 12:
            text = QT_TRANSLATE_NOOP("QObject", "bad quality");
            break;
        case 13:
            text = QT_TRANSLATE_NOOP("QObject", "config error");
            break;
        case 15:
            text = QT_TRANSLATE_NOOP("QObject", "string length too short");
            break;
        default:
            break;
    }
    return QCoreApplication::translate("QObject", text);
}
