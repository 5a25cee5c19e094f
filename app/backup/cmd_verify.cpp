// verify: every kept package against the manifest of the run that stored it.
#include <QDir>
#include <QFile>
#include <QHash>
#include <cstdio>

#include "commands.h"
#include "digest.h"
#include "layout.h"
#include "manifest.h"
#include "packageread.h"
#include "sealing.h"

namespace backup {
namespace {

constexpr qint64 kMaxManifestBytes = 256 << 20;

struct Tally {
    int ok = 0;
    int failed = 0;
};

// Package path (relative to root) -> the manifest entry that stored it.
void readManifests(const QString& root, const sealing::KeyPair* keys,
                   QHash<QString, LibraryEntry>* stored, Tally* tally) {
    const QDir dir(QDir(root).filePath(layout::kManifestDir));
    for (const QString& name : dir.entryList({"*.json", "*.json.sealed"}, QDir::Files, QDir::Name)) {
        QFile file(dir.filePath(name));
        QByteArray text = file.open(QIODevice::ReadOnly) ? file.read(kMaxManifestBytes) : QByteArray();
        QString error = "not a manifest";
        bool ok = !text.isEmpty();
        if (ok && name.endsWith(".sealed")) {
            QByteArray plain;
            ok = keys && sealing::openBytes(text, &plain, *keys, &error);
            if (!keys) error = "encrypted: give the secret key with --key";
            text = plain;
        }
        Manifest manifest;
        if (!ok || !Manifest::fromText(text, &manifest)) {
            std::fprintf(output(), "FAILED %s/%s: %s\n", layout::kManifestDir, qPrintable(name), qPrintable(error));
            ++tally->failed;
            continue;
        }
        for (const CameraEntry& camera : qAsConst(manifest.cameras))
            for (const LibraryEntry& library : camera.libraries)
                if (library.outcome == outcome::kStored) stored->insert(library.package, library);
    }
}

QString checkPackage(const QString& path, const LibraryEntry& entry, const sealing::KeyPair* keys) {
    if (sha256OfFile(path) != entry.sha256) return "its SHA-256 differs from the manifest's";
    OpenedPackage opened;
    QString error;
    if (!openPackage(path, keys, &opened, &error)) return error;
    if (opened.records.size() != entry.records)
        return QString("%1 records, the manifest says %2").arg(opened.records.size()).arg(entry.records);
    for (auto it = entry.pictureMd5.begin(); it != entry.pictureMd5.end(); ++it)
        if (opened.pictureMd5.value(it.key()) != it.value())
            return QString("the picture of record %1 differs from the manifest's").arg(it.key());
    if (opened.pictureMd5.size() != entry.pictureMd5.size())
        return "the package holds pictures the manifest does not list";
    return {};
}

}  // namespace

int runVerify(const QString& root, const QString& keyFile) {
    sealing::KeyPair keys;
    bool haveKey = false;
    if (!loadKeyOption(keyFile, &keys, &haveKey)) return exitcode::kUsage;
    if (!QDir(root).exists()) {
        printError(QString("no backup directory %1").arg(root));
        return exitcode::kUsage;
    }
    Tally tally;
    QHash<QString, LibraryEntry> stored;
    readManifests(root, haveKey ? &keys : nullptr, &stored, &tally);
    for (const QString& libraryDir : layout::libraryDirs(root)) {
        for (const layout::Generation& generation :
             layout::generations(QDir(root).filePath(libraryDir))) {
            const QString relative = QDir(root).relativeFilePath(generation.packagePath);
            const auto entry = stored.constFind(relative);
            const QString problem = entry == stored.constEnd()
                                        ? QString("no manifest names this package")
                                        : checkPackage(generation.packagePath, *entry,
                                                       haveKey ? &keys : nullptr);
            if (problem.isEmpty()) {
                std::fprintf(output(), "ok     %s (%d records, %d pictures)\n", qPrintable(relative),
                            entry->records, entry->pictures);
                ++tally.ok;
            } else {
                std::fprintf(output(), "FAILED %s: %s\n", qPrintable(relative), qPrintable(problem));
                ++tally.failed;
            }
        }
    }
    std::fprintf(output(), "%d packages verified, %d failed\n", tally.ok, tally.failed);
    return tally.failed == 0 ? exitcode::kOk : exitcode::kFailed;
}

}  // namespace backup
