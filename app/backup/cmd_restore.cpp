// restore: a package into a new library of a camera. The camera keeps at most two libraries
// and no two of one name, so both are checked before anything is created; afterwards the new
// library is read back and every record it lacks is listed.
#include <QMultiHash>
#include <cstdio>

#include "commands.h"
#include "dbutil/inputcheck.h"
#include "dbutil/interaction.h"
#include "dbutil/packagejob.h"
#include "devicesource.h"
#include "libraryfetch.h"
#include "packageread.h"
#include "sealing.h"

namespace backup {
namespace {

bool findDevice(const QString& address, const DeviceChoice& choice, SDeviceInfo* device) {
    QVector<SDeviceInfo> devices;
    QString error;
    if (!loadDevices(choice.storeFile, choice.csvFile, &devices, &error)) {
        printError(error);
        return false;
    }
    for (const SDeviceInfo& known : qAsConst(devices))
        if (known.ip == address) *device = known;
    if (device->ip != address) printError(QString("%1 is not in the device list").arg(address));
    return device->ip == address;
}

QString refusal(const SDeviceInfo& device, const QString& name) {
    if (device.dbs.size() >= SDeviceInfo::kMaxLibraries)
        return QString("%1 already holds %2 libraries, the most a camera keeps")
            .arg(device.ip)
            .arg(device.dbs.size());
    for (const SDBInfo& library : device.dbs)
        if (library.name == name)
            return QString("%1 already has a library named %2; choose another name with --as")
                .arg(device.ip, name);
    return {};
}

QString recordKey(const SFeatrueInfo& record) {
    return record.uid + '\n' + record.name;
}

// Records of the package the camera's new library does not hold, and records restored without
// their picture because the package has none.
int listSkipped(const SFeatrueList& sent, const SFeatrueList& held) {
    QMultiHash<QString, int> present;
    for (const SFeatrueInfoPtr& record : held) present.insert(recordKey(*record), 0);
    int skipped = 0;
    for (const SFeatrueInfoPtr& record : sent) {
        const auto found = present.find(recordKey(*record));
        const char* why = nullptr;
        if (found == present.end()) {
            why = "refused by the camera";
        } else {
            present.erase(found);
            if (record->path.isEmpty() && !record->url.isEmpty()) why = "no picture in the package";
        }
        if (!why) continue;
        std::fprintf(output(), "skipped %lld %s: %s\n", static_cast<long long>(record->imgid),
                    qPrintable(record->name), why);
        ++skipped;
    }
    return skipped;
}

}  // namespace

int runRestore(const QString& address, const QString& packagePath, const QString& newName,
               const QString& keyFile, const DeviceChoice& choice) {
    sealing::KeyPair keys;
    bool haveKey = false;
    SDeviceInfo device;
    if (!loadKeyOption(keyFile, &keys, &haveKey) || !findDevice(address, choice, &device))
        return exitcode::kUsage;
    OpenedPackage opened;
    QString error;
    if (!openPackage(packagePath, haveKey ? &keys : nullptr, &opened, &error, Pictures::Unpack)) {
        printError(QString("%1: %2").arg(packagePath, error));
        return exitcode::kFailed;
    }
    SDBInfo library = opened.library;
    if (!newName.isEmpty()) library.name = newName;
    if (!isValidLibraryName(library.name)) {
        printError(QString("\"%1\" is not a library name (at most 16 letters, digits or _)").arg(library.name));
        return exitcode::kUsage;
    }
    LoginResult login;
    const int code = Interaction::instance().updateIPC(&device, &login);
    if (code != 0) {
        printError(QString("%1 cannot be reached (%2)").arg(address).arg(code));
        return exitcode::kFailed;
    }
    const QString refused = refusal(device, library.name);
    if (!refused.isEmpty()) {
        printError(refused);
        return exitcode::kFailed;
    }
    if (packagejob::createLibrary(&device, &library) != packagejob::kOk) {
        printError(QString("%1 did not create the library %2").arg(address, library.name));
        return exitcode::kFailed;
    }
    Interaction::instance().importFaceDB(device, library.libid, opened.records, {});
    SFeatrueList held;
    const FetchResult readBack = fetchRecords(device, &library, &held);
    if (!readBack.ok) {
        printError(QString("the restored library could not be read back: %1").arg(readBack.reason));
        return exitcode::kFailed;
    }
    const int skipped = listSkipped(opened.records, held);
    std::fprintf(output(), "restored %d of %d records into %s (library %s) on %s\n",
                int(opened.records.size()) - skipped, int(opened.records.size()),
                qPrintable(library.name), qPrintable(library.libid), qPrintable(address));
    return skipped == 0 ? exitcode::kOk : exitcode::kFailed;
}

}  // namespace backup
