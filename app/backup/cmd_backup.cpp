// backup: the lock, the run and what it reports.
#include <QDir>
#include <QFile>
#include <cstdio>

#include "backuprun.h"
#include "cmd_backup.h"
#include "commands.h"
#include "console.h"
#include "devicesource.h"
#include "layout.h"
#include "runlock.h"

namespace backup {
namespace {

QString summaryOf(const Manifest& manifest) {
    int stored = 0, unchanged = 0, failed = 0, cameraFailures = 0;
    for (const CameraEntry& camera : manifest.cameras) {
        if (camera.outcome != "ok") ++cameraFailures;
        for (const LibraryEntry& library : camera.libraries) {
            if (library.outcome == outcome::kStored) ++stored;
            else if (library.outcome == outcome::kUnchanged) ++unchanged;
            else ++failed;
        }
    }
    return QString("%1 cameras, %5 failed: %2 libraries stored, %3 unchanged, %4 not stored%6")
        .arg(manifest.cameras.size())
        .arg(stored)
        .arg(unchanged)
        .arg(failed)
        .arg(cameraFailures)
        .arg(manifest.interrupted ? " (stopped by a signal)" : "");
}

}  // namespace

int runBackup(const BackupOptions& options) {
    std::FILE* out = options.json ? stderr : output();
    QVector<SDeviceInfo> devices;
    QString error;
    if (!loadDevices(options.devices.storeFile, options.devices.csvFile, &devices, &error)) {
        printError(error);
        return exitcode::kUsage;
    }
    RunSettings settings;
    settings.root = QDir(options.root).absolutePath();
    settings.keep = options.keep;
    settings.jobs = options.jobs;
    if (!options.recipientFile.isEmpty()) {
        sealing::PublicKey key;
        if (!sealing::loadPublicKey(options.recipientFile, &key, &error)) {
            printError(error);
            return exitcode::kUsage;
        }
        settings.recipient = key;
    }
    if (!QDir().mkpath(settings.root)) {
        printError("cannot make " + settings.root);
        return exitcode::kFailed;
    }
    RunLock lock;
    qint64 holder = 0;
    switch (lock.take(settings.root, &holder, &error)) {
        case RunLock::Outcome::Held:
            printError(QString("another backup run (process %1) holds %2/%3")
                           .arg(holder)
                           .arg(settings.root, layout::kLockName));
            return exitcode::kLocked;
        case RunLock::Outcome::Failed:
            printError(error);
            return exitcode::kFailed;
        case RunLock::Outcome::Taken:
            break;
    }
    Console console(out, Console::isTerminal(out));
    if (holder != 0)
        console.note(QString("took over the lock of process %1, which ended without releasing it").arg(holder));
    const int removed = layout::removeLeftovers(settings.root);
    if (removed > 0) console.note(QString("removed %1 unfinished files of an earlier run").arg(removed));
    if (!settings.recipient)
        console.note("notice: packages are not encrypted; face pictures are biometric data "
                     "(see keygen and --recipient)");

    std::atomic<bool>& stopRequested = catchStopSignals();
    BackupRun run(settings, devices, console, stopRequested);
    const Manifest manifest = run.run();
    console.note(summaryOf(manifest));
    if (run.manifestPath().isEmpty()) {
        printError("the manifest was not written: " + run.manifestError());
        return exitcode::kFailed;
    }
    console.note("manifest: " + run.manifestPath());
    if (options.json) {
        std::fflush(output());
        QFile json;
        if (!json.open(output(), QIODevice::WriteOnly) || !manifest.write(json) || !json.flush())
            printError("the manifest could not be printed");
    }
    bool failed = manifest.interrupted;
    for (const CameraEntry& camera : manifest.cameras) failed = failed || camera.failed();
    return failed ? exitcode::kFailed : exitcode::kOk;
}

}  // namespace backup
