// facekeeper_facecrop INPUT OUTPUT: the preprocessing tool's loop from the command line, so a
// script can prepare face pictures the way the desktop program does. Prints the counts.
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

#include "tools/facepreprocess.h"
#include "tools/preprocessthread.h"
#include "tools/vizorworker.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: facekeeper_facecrop INPUT_DIR OUTPUT_DIR\n");
        return 2;
    }
    const QString input = args.at(1);
    const QString output = args.at(2);
    if (!QFileInfo(input).isDir() || !QDir().mkpath(output) || sameDirectory(input, output)) {
        std::fprintf(stderr,
                     "facekeeper_facecrop: need an input folder and a different output folder\n");
        return 2;
    }
    // The face-analysis configuration is shipped beside the program.
    VizorWorker worker;
    worker.initialize(QCoreApplication::applicationDirPath() + "/models_bit8/model_conf.json");
    const PreprocessCounts counts = preprocessDirectory(worker, input, output, nullptr, nullptr);
    std::printf("Total: %d, Success: %d, Failed: %d\n", counts.total, counts.success,
                counts.failed());
    return counts.success > 0 ? 0 : 1;
}
