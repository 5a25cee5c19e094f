// list: the generations kept per camera and library, from their check-sum files.
#include <QDir>
#include <cstdio>

#include "commands.h"
#include "layout.h"
#include "manifest.h"

namespace backup {

int runList(const QString& root) {
    if (!QDir(root).exists()) {
        printError(QString("no backup directory %1").arg(root));
        return exitcode::kUsage;
    }
    for (const QString& libraryDir : layout::libraryDirs(root)) {
        const QVector<layout::Generation> kept = layout::generations(QDir(root).filePath(libraryDir));
        std::fprintf(output(), "%s: %d generation%s\n", qPrintable(libraryDir), int(kept.size()),
                    kept.size() == 1 ? "" : "s");
        for (const layout::Generation& generation : kept) {
            PackageSum sum;
            const bool known = PackageSum::read(generation.sumPath, &sum);
            std::fprintf(output(), "  %-20s %6d records %6d pictures %12lld bytes%s%s\n",
                        qPrintable(generation.stem), sum.records, sum.pictures,
                        static_cast<long long>(sum.bytes), generation.sealed ? "  encrypted" : "",
                        known ? "" : "  (no check-sum file)");
        }
    }
    return exitcode::kOk;
}

}  // namespace backup
