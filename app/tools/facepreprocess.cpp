#include "facepreprocess.h"

#include <QDir>
#include <QImage>

#include "applog.h"
#include "dbutil/inputcheck.h"
#include "dbutil/jobcontrol.h"
#include "vizorworker.h"

namespace {

constexpr int kMaxBaseCharacters = 20;

bool saveCrop(const QImage& picture, const QString& outputDir, const QFileInfo& input) {
    // Joined rather than QString::arg so that a '%' in the folder name stays literal.
    const QString target = outputDir + QLatin1Char('/') + preprocessOutputBase(input) + ".jpg";
    if (picture.save(target)) return true;
    FK_LOG("tools\\facepreprocess", 3, "%s, Failed to save image: %s.\n", "preprocessDirectory",
           target.toUtf8().constData());
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
    for (const QFileInfo& file : files) {
        if ((stop && stop()) || JobControl::exitRequested()) break;
        const QImage picture = worker.extractFaceImage(file.absoluteFilePath());
        if (!picture.isNull() && saveCrop(picture, outputDir, file)) ++counts.success;
        ++processed;
        if (progress) progress(processed, counts.total);
    }
    return counts;
}
