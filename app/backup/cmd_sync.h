// sync: one library made the same on many cameras, from a package or from a library of one
// camera. The plan is printed first; nothing is sent with --dry-run.
#pragma once

#include <QString>
#include <QStringList>

#include "commands.h"

namespace backup {

struct SyncCommand {
    DeviceChoice devices;
    QString from;      // a package file, or "ADDR:LIBRARY"
    QStringList to;    // camera addresses
    QString library;   // the library's name on the targets (default: the source's)
    QString keyFile;   // for encrypted packages
    QString stateDir;  // the digest caches; empty: beside the program's device list
    bool removeMissing = false;
    bool dryRun = false;
    bool json = false;
    bool extract = true;
};

int runSync(const SyncCommand& command);

}  // namespace backup
