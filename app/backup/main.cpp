// facekeeper-backup: versioned, verified backups of the face libraries of every camera the
// program manages, for people at a terminal and for timers.
#include <CLI/CLI.hpp>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "cmd_backup.h"
#include "cmd_sync.h"
#include "commands.h"
#include "sealing.h"

namespace {

constexpr char kVersion[] = "1.0.0";

// Interaction explains every failure on the debug channels; the tool reports failures itself.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type == QtFatalMsg || std::getenv("FACEKEEPER_BACKUP_DEBUG"))
        std::fprintf(stderr, "%s\n", qPrintable(text));
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

struct Parsed {
    backup::BackupOptions backup;
    std::string dir = backup::kDefaultRoot;
    std::string key;
    std::string older, newer;
    std::string camera, from, as;
    std::string prefix = "facekeeper-backup";
};

void addDeviceOptions(CLI::App* command, std::string& store, std::string& csv) {
    auto* devices = command->add_option("--devices", store,
                                        "Device list file of the program (default: its own)");
    auto* list = command->add_option("--csv", csv, "Cameras as lines of address,user,password");
    devices->excludes(list);
}

}  // namespace

int main(int argc, char** argv) {
    // camlink reads this once, at its first use: cameras are then worked side by side.
    setenv("CAMLINK_SESSIONS", "parallel", 1);
    qInstallMessageHandler(quietMessages);
    QCoreApplication application(argc, argv);

    CLI::App app{"Versioned, verified backups of the face libraries of every camera.\n"
                 "Exit codes: 0 all stored or unchanged, 1 some camera, library or package "
                 "failed, 2 bad usage, 3 another run holds the lock.",
                 "facekeeper-backup"};
    app.set_version_flag("--version", kVersion);
    app.require_subcommand(1);
    Parsed p;
    std::string store, csv;

    auto* backupCmd = app.add_subcommand("backup", "Back up every library of every camera");
    addDeviceOptions(backupCmd, store, csv);
    std::string to = backup::kDefaultRoot, recipient;
    backupCmd->add_option("--to", to, "Backup directory")->capture_default_str();
    backupCmd->add_option("--keep", p.backup.keep, "Generations kept per library (0: all)")
        ->check(CLI::NonNegativeNumber);
    backupCmd->add_option("--jobs", p.backup.jobs, "Cameras worked at once")->capture_default_str()
        ->check(CLI::Range(1, 256));
    backupCmd->add_flag("--json", p.backup.json, "Print the manifest as JSON on standard output");
    backupCmd->add_option("--recipient", recipient,
                          "Encrypt packages and manifest to this public key file (see keygen)")
        ->check(CLI::ExistingFile);

    auto* verifyCmd = app.add_subcommand("verify", "Re-read every package against its manifest");
    verifyCmd->add_option("DIR", p.dir, "Backup directory")->capture_default_str();
    verifyCmd->add_option("--key", p.key, "Secret key file, for encrypted backups");

    auto* listCmd = app.add_subcommand("list", "Generations kept per camera and library");
    listCmd->add_option("DIR", p.dir, "Backup directory")->capture_default_str();

    auto* diffCmd = app.add_subcommand("diff", "Records added, removed and changed between two packages");
    diffCmd->add_option("A", p.older, "Older package")->required()->check(CLI::ExistingFile);
    diffCmd->add_option("B", p.newer, "Newer package")->required()->check(CLI::ExistingFile);
    diffCmd->add_option("--key", p.key, "Secret key file, for encrypted packages");

    auto* restoreCmd = app.add_subcommand("restore", "Load a package into a new library of a camera");
    addDeviceOptions(restoreCmd, store, csv);
    restoreCmd->add_option("--camera", p.camera, "Camera address")->required();
    restoreCmd->add_option("--from", p.from, "Package file")->required()->check(CLI::ExistingFile);
    restoreCmd->add_option("--as", p.as, "Name of the new library (default: the package's)");
    restoreCmd->add_option("--key", p.key, "Secret key file, for encrypted packages");

    auto* syncCmd = app.add_subcommand(
        "sync", "Make one library the same on many cameras, sending only the difference");
    addDeviceOptions(syncCmd, store, csv);
    backup::SyncCommand sync;
    std::string syncFrom, syncLibrary, syncState;
    std::vector<std::string> syncTo;
    syncCmd->add_option("--from", syncFrom, "Package file, or ADDR:LIBRARY of a camera")->required();
    syncCmd->add_option("--to", syncTo, "Camera addresses to make the same")->required();
    syncCmd->add_option("--library", syncLibrary,
                        "Name of the library on the cameras (default: the source's)");
    syncCmd->add_flag("--remove-missing", sync.removeMissing,
                      "Delete the records the source does not hold");
    syncCmd->add_flag("--dry-run", sync.dryRun, "Print the plan only; change nothing");
    syncCmd->add_flag("--json", sync.json, "Print the plan and the outcome as JSON");
    syncCmd->add_flag("!--no-extract", sync.extract,
                      "Do not extract features on the cameras that received records");
    syncCmd->add_option("--key", p.key, "Secret key file, for encrypted packages");
    syncCmd->add_option("--state", syncState,
                        "Folder of the picture digests of the cameras (default: beside the "
                        "program's device list)");

    auto* keygenCmd = app.add_subcommand("keygen", "Write a key pair: PREFIX.pub and PREFIX.key");
    keygenCmd->add_option("--out", p.prefix, "File name prefix")->capture_default_str();

    try {
        app.parse(argc, argv);
    } catch (const CLI::Success& done) {
        return app.exit(done);
    } catch (const CLI::ParseError& error) {
        app.exit(error);
        return backup::exitcode::kUsage;
    }
    backup::keepOutputFromLibraries();
    if (!backup::sealing::initialize()) {
        backup::printError("libsodium cannot start");
        return backup::exitcode::kFailed;
    }
    const backup::DeviceChoice devices{q(store), q(csv)};
    if (*backupCmd) {
        p.backup.devices = devices;
        p.backup.root = q(to);
        p.backup.recipientFile = q(recipient);
        return backup::runBackup(p.backup);
    }
    if (*verifyCmd) return backup::runVerify(q(p.dir), q(p.key));
    if (*listCmd) return backup::runList(q(p.dir));
    if (*diffCmd) return backup::runDiff(q(p.older), q(p.newer), q(p.key));
    if (*syncCmd) {
        sync.devices = devices;
        sync.from = q(syncFrom);
        for (const std::string& address : syncTo) sync.to << q(address);
        sync.library = q(syncLibrary);
        sync.stateDir = q(syncState);
        sync.keyFile = q(p.key);
        return backup::runSync(sync);
    }
    if (*restoreCmd) return backup::runRestore(q(p.camera), q(p.from), q(p.as), q(p.key), devices);
    return backup::runKeygen(q(p.prefix));
}
