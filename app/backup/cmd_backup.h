// The options of backup and the command itself.
#pragma once

#include <QString>

#include "commands.h"

namespace backup {

constexpr char kDefaultRoot[] = "facekeeper-backups";

struct BackupOptions {
    DeviceChoice devices;
    QString root = kDefaultRoot;
    int keep = 0;
    int jobs = 1;
    bool json = false;
    QString recipientFile;
};

int runBackup(const BackupOptions& options);

}  // namespace backup
