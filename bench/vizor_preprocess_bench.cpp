// Photographs per second through the whole preprocessing run (read, face search, crop read,
// shrink, JPEG save) for 200 photographs of about 2 megapixels, a third of them without a face,
// and the peak resident memory after 50 and after 200 of them: one picture at a time, so the
// second figure must not exceed the first by more than noise.
#include <sys/resource.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>

#include "tools/facepreprocess.h"
#include "tools/vizorworker.h"

namespace {

const QString kSamples = QStringLiteral(OPENCV_SAMPLE_PICTURES);
constexpr int kPhotographs = 200;
constexpr int kFirstBatch = 50;

long peakResidentKiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// About 2 megapixels each, every one a little different (shifted by its index).
bool makePhotographs(const QString& dir, int count) {
    const char* names[] = {"messi5.jpg", "basketball1.png", "fruits.jpg"};
    QImage bases[3];
    for (int i = 0; i < 3; ++i) {
        const QImage small(kSamples + QLatin1Char('/') + QLatin1String(names[i]));
        if (small.isNull()) return false;
        const double factor = std::sqrt(2.0e6 / (small.width() * small.height()));
        bases[i] =
            small.scaled(small.size() * factor, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }
    for (int i = 0; i < count; ++i) {
        const QImage& base = bases[i % 3];
        const QImage shifted = base.copy(i % 17, i % 13, base.width() - 16, base.height() - 12);
        if (!shifted.save(dir + QString("/photo_%1.jpg").arg(i, 3, 10, QLatin1Char('0')), "jpg",
                          90))
            return false;
    }
    return true;
}

PreprocessCounts timedRun(VizorWorker& worker, const QString& in, const QString& out,
                          double* seconds) {
    QElapsedTimer timer;
    timer.start();
    const PreprocessCounts counts = preprocessDirectory(worker, in, out, nullptr, nullptr);
    *seconds = timer.nsecsElapsed() / 1e9;
    return counts;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDir::setCurrent(QCoreApplication::applicationDirPath());
    QTemporaryDir work;
    const QString first = work.filePath("first"), all = work.filePath("all");
    const QString out = work.filePath("out");
    if (!QDir().mkpath(first) || !QDir().mkpath(all) || !QDir().mkpath(out) ||
        !makePhotographs(first, kFirstBatch) || !makePhotographs(all, kPhotographs)) {
        std::fprintf(stderr, "could not make the photographs\n");
        return 1;
    }
    VizorWorker worker;
    worker.initialize(QStringLiteral("models_bit8/model_conf.json"));
    const long before = peakResidentKiB();
    double seconds = 0;
    const PreprocessCounts firstCounts = timedRun(worker, first, out, &seconds);
    const long afterFirst = peakResidentKiB();
    const PreprocessCounts counts = timedRun(worker, all, out, &seconds);
    const long afterAll = peakResidentKiB();
    std::printf("photographs: %d (%d with a face found, %d failed), %.1f s, %.2f photographs/s\n",
                counts.total, counts.success, counts.failed(), seconds, counts.total / seconds);
    std::printf("peak resident memory: %ld KiB before, %ld KiB after %d, %ld KiB after %d more\n",
                before, afterFirst, firstCounts.total, afterAll, counts.total);
    return counts.total == kPhotographs ? 0 : 1;
}
