// One backup run: every library of every camera, --jobs cameras at a time, each library into a
// new verified generation or found unchanged, and the manifest of it all.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>
#include <atomic>
#include <optional>

#include "dbutil/records.h"
#include "manifest.h"
#include "sealing.h"

namespace backup {

class Console;

struct RunSettings {
    QString root;
    int keep = 0;  // generations kept per library; 0 keeps all
    int jobs = 1;
    std::optional<sealing::PublicKey> recipient;
};

class BackupRun {
public:
    // stop: set by SIGINT/SIGTERM; each camera ends after the library it is working on.
    BackupRun(RunSettings settings, QVector<SDeviceInfo> devices, Console& console,
              const std::atomic<bool>& stop);

    // Works every camera and writes the manifest; its path (empty when it could not be
    // written, with the reason in manifestError()).
    Manifest run();
    QString manifestPath() const { return manifestPath_; }
    QString manifestError() const { return manifestError_; }

private:
    CameraEntry backupCamera(int index);
    LibraryEntry backupLibrary(int index, const SDeviceInfo& device, const SDBInfo& library,
                               const QString& libraryDir);
    // A kept generation with these records: the entry then names it.
    bool findUnchanged(const QString& libraryDir, const QString& fingerprint,
                       LibraryEntry* entry) const;
    bool writeGeneration(const QString& libraryDir, const QString& work, const SDBInfo& library,
                         const SFeatrueList& records, const PictureDigests& pictureMd5,
                         PackageSum* sum, QString* package, QString* error) const;
    bool writeManifest(const Manifest& manifest);

    const RunSettings settings_;
    const QVector<SDeviceInfo> devices_;
    Console& console_;
    const std::atomic<bool>& stop_;
    QString stamp_;
    QString workRoot_;
    QString manifestPath_;
    QString manifestError_;
};

}  // namespace backup
