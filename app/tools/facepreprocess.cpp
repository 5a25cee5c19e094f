#include "facepreprocess.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSet>

#include "applog.h"
#include "dbutil/inputcheck.h"
#include "dbutil/jobcontrol.h"
#include "facecrop.h"
#include "vizorworker.h"

namespace {

constexpr int kMaxBaseCharacters = 20;

// The names written during one run. A later file whose name clashes with one of them gets the
// first free "_2", "_3", ... variant instead of replacing it ("a.png" and "a.jpg", or two long
// names sharing their first 20 characters). Compared without case, so that an output folder on
// a case-insensitive disk behaves the same. Files left by earlier runs are still replaced.
class RunNames {
public:
    QString claim(const QString& base) {
        QString name = base;
        for (int n = 2; taken_.contains(name.toCaseFolded()); ++n)
            name = base + QLatin1Char('_') + QString::number(n);
        return name;
    }
    void keep(const QString& name) { taken_.insert(name.toCaseFolded()); }

private:
    QSet<QString> taken_;
};

// A file cut short by a full disk is removed: it would fail the upload check.
bool writeAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    if (file.write(bytes) == bytes.size() && file.flush()) return true;
    file.remove();
    return false;
}

// Saves the crop as a JPEG the upload check takes; nothing when it gave no crop.
bool saveCrop(const QImage& picture, const QString& outputDir, const QFileInfo& input,
              RunNames& names, CropFailure* failure) {
    if (picture.isNull()) {
        *failure = CropFailure::NoFace;
        return false;
    }
    const QByteArray bytes = uploadableJpeg(picture);
    if (bytes.isEmpty()) {
        *failure = CropFailure::TooLarge;
        return false;
    }
    const QString name = names.claim(preprocessOutputBase(input));
    // Joined rather than QString::arg so that a '%' in the folder name stays literal.
    const QString target = outputDir + QLatin1Char('/') + name + ".jpg";
    if (writeAll(target, bytes)) {
        names.keep(name);
        return true;
    }
    FK_LOG("tools\\facepreprocess", 3, "%s, Failed to save image: %s.\n", "preprocessDirectory",
           target.toUtf8().constData());
    *failure = CropFailure::NotWritten;
    return false;
}

}  // namespace

QString preprocessOutputBase(const QFileInfo& input) {
    return firstCharacters(input.completeBaseName(), kMaxBaseCharacters);
}

PreprocessCounts preprocessDirectory(VizorWorker& worker, const QString& inputDir,
                                     const QString& outputDir, const PreprocessProgress& progress,
                                     const PreprocessStop& stop) {
    TaskScope task(JobControl::PreprocessImage);
    const QFileInfoList files = QDir(inputDir).entryInfoList(QDir::Files, QDir::NoSort);
    PreprocessCounts counts;
    counts.total = files.size();
    int processed = 0;
    RunNames names;
    for (const QFileInfo& file : files) {
        if ((stop && stop()) || JobControl::exitRequested()) break;
        const QImage picture = worker.extractFaceImage(file.absoluteFilePath());
        CropFailure failure = CropFailure::NoFace;
        if (saveCrop(picture, outputDir, file, names, &failure))
            ++counts.success;
        else
            counts.failures.append({file.fileName(), failure});
        ++processed;
        if (progress) progress(processed, counts.total);
    }
    return counts;
}
