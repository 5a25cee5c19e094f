// Zip archives through the reader and the import's extraction, into a folder of its own under
// a parent folder that must stay untouched, with small limits so memory stays bounded.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "dbutil/zipreader.h"

namespace {

// Everything below dir, as paths relative to it.
QStringList tree(const QString& dir) {
    QStringList paths;
    QDirIterator it(dir, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(QDir(dir).relativeFilePath(it.next()));
    paths.sort();
    return paths;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QTemporaryDir parent;
    if (!parent.isValid()) std::abort();
    const QString archive = parent.filePath("input.zip");
    const QString dest = parent.filePath("dest");
    QDir().mkpath(dest);
    {
        QFile file(archive);
        if (!file.open(QIODevice::WriteOnly)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    const QStringList before = tree(parent.path());
    ZipReader reader;
    if (reader.open(archive)) {
        ZipLimits limits;
        limits.maxEntryBytes = 1 << 20;
        limits.maxTotalBytes = 4 << 20;
        reader.extractAll(dest, limits);
    }
    // Only files below dest may have appeared.
    for (const QString& path : tree(parent.path())) {
        if (!before.contains(path) && !path.startsWith("dest/")) std::abort();
    }
    return 0;
}
