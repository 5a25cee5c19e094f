#include "cmd_sync.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "dbutil/inputcheck.h"
#include "devicesource.h"
#include "sealing.h"
#include "syncrun.h"

namespace backup {
namespace {

using facesync::Change;

constexpr int kSignalCheckMs = 100;

struct Prepared {
    std::shared_ptr<facesync::Source> source;
    QVector<facesync::Target> targets;
};

bool findDevice(const QVector<SDeviceInfo>& devices, const QString& address, SDeviceInfo* out) {
    for (const SDeviceInfo& device : devices)
        if (device.ip == address) return *out = device, true;
    printError(QString("%1 is not in the device list").arg(address));
    return false;
}

// An encrypted package is opened into a temporary copy first; the source keeps the file's name.
bool loadPackage(const SyncCommand& command, facesync::Source* source) {
    QString path = command.from;
    QTemporaryDir plain;
    if (sealing::isSealed(path)) {
        sealing::KeyPair keys;
        bool haveKey = false;
        if (!loadKeyOption(command.keyFile, &keys, &haveKey)) return false;
        if (!haveKey)
            return printError("the package is encrypted: give the secret key with --key"), false;
        path = plain.filePath("package.zip");
        QString error;
        if (!sealing::open(command.from, path, keys, &error)) return printError(error), false;
    }
    QString error;
    if (!facesync::loadPackageSource(path, source, &error))
        return printError(QString("%1: %2").arg(command.from, error)), false;
    source->label = command.from;
    return true;
}

// kOk, or the exit code of what went wrong (already printed).
int prepare(const SyncCommand& command, Prepared* out) {
    QVector<SDeviceInfo> devices;
    QString error;
    if (!loadDevices(command.devices.storeFile, command.devices.csvFile, &devices, &error))
        return printError(error), exitcode::kUsage;
    for (const QString& address : command.to) {
        facesync::Target target;
        if (!findDevice(devices, address, &target.device)) return exitcode::kUsage;
        out->targets << target;
    }
    out->source = std::make_shared<facesync::Source>();
    if (QFileInfo(command.from).isFile())
        return loadPackage(command, out->source.get()) ? exitcode::kOk : exitcode::kFailed;
    const int colon = command.from.indexOf(':');
    SDeviceInfo camera;
    if (colon <= 0 || colon == command.from.size() - 1) {
        printError(
            QString("--from %1 is neither a package file nor ADDR:LIBRARY").arg(command.from));
        return exitcode::kUsage;
    }
    if (!findDevice(devices, command.from.left(colon), &camera)) return exitcode::kUsage;
    if (!facesync::loadCameraSource(camera, command.from.mid(colon + 1), out->source.get(), &error))
        return printError(error), exitcode::kFailed;
    return exitcode::kOk;
}

const char* changeKey(Change change) {
    switch (change) {
        case Change::Add:
            return "add";
        case Change::UpdateTexts:
            return "update-texts";
        case Change::ReplacePicture:
            return "replace-picture";
        case Change::Delete:
            return "delete";
    }
    return "";
}

void printPlan(const facesync::SyncRun& run) {
    const facesync::Source& source = run.source();
    std::fprintf(output(), "plan: %s (%d records, %d without uid left out) -> library %s\n",
                 qPrintable(source.label), int(source.records.size()), source.withoutUid,
                 qPrintable(run.options().libraryName));
    for (const facesync::TargetPlan& plan : run.plans()) {
        if (!plan.ok()) {
            std::fprintf(output(), "  %-15s not synced: %s\n", qPrintable(plan.camera),
                         qPrintable(plan.reason));
            continue;
        }
        std::fprintf(output(), "  %-15s %-14s unchanged %d, kept %d, without uid %d%s\n",
                     qPrintable(plan.camera), qPrintable(plan.summary()), plan.unchanged, plan.kept,
                     plan.withoutUid, plan.createLibrary ? ", library created" : "");
    }
    std::fprintf(output(), "total %s\n", qPrintable(facesync::totalSummary(run.plans())));
}

QJsonObject planJson(const facesync::TargetPlan& plan) {
    QJsonArray changes;
    for (const facesync::PlannedChange& change : plan.changes)
        changes.append(QJsonObject{
            {"change", changeKey(change.change)}, {"uid", change.uid}, {"name", change.name}});
    return {{"address", plan.camera},
            {"libid", plan.libid},
            {"createLibrary", plan.createLibrary},
            {"code", plan.code},
            {"reason", plan.reason},
            {"summary", plan.summary()},
            {"adds", plan.adds()},
            {"updates", plan.updates()},
            {"deletes", plan.deletes()},
            {"unchanged", plan.unchanged},
            {"kept", plan.kept},
            {"withoutUid", plan.withoutUid},
            {"changes", changes}};
}

QJsonArray rowsJson(const reports::JobReport& report) {
    QJsonArray rows;
    for (const reports::ReportRow& row : report.rows)
        rows.append(QJsonObject{{"address", row.camera},
                                {"uid", row.file},
                                {"outcome", reports::outcomeKey(row.outcome)},
                                {"code", row.code},
                                {"reason", row.reason}});
    return rows;
}

void printJson(const facesync::SyncRun& run, const reports::JobReport* report) {
    QJsonArray cameras;
    for (const facesync::TargetPlan& plan : run.plans())
        cameras.append(planJson(plan));
    QJsonObject json{{"source", run.source().label},
                     {"library", run.options().libraryName},
                     {"withoutUid", run.source().withoutUid},
                     {"cameras", cameras},
                     {"total", facesync::totalSummary(run.plans())},
                     {"applied", report != nullptr}};
    if (report) json.insert("rows", rowsJson(*report));
    std::fputs(QJsonDocument(json).toJson(QJsonDocument::Indented).constData(), output());
}

void printOutcome(const reports::JobReport& report) {
    for (const reports::ReportRow& row : report.rows)
        if (row.outcome != reports::Outcome::Stored)
            std::fprintf(output(), "  %-15s %s %s: %s\n", qPrintable(row.camera),
                         qPrintable(reports::outcomeKey(row.outcome)),
                         qPrintable(row.file.isEmpty() ? QString("camera") : row.file),
                         qPrintable(row.reason));
    std::fprintf(output(), "synced: %d stored, %d failed, %d skipped\n",
                 report.count(reports::Outcome::Stored), report.count(reports::Outcome::Failed),
                 report.count(reports::Outcome::Skipped));
}

bool allPlanned(const facesync::SyncRun& run) {
    for (const facesync::TargetPlan& plan : run.plans())
        if (!plan.ok()) return false;
    return true;
}

// By default the digest caches lie beside the program's own device store, shared with it.
QString digestDir(const SyncCommand& command) {
    return command.stateDir.isEmpty() ? QFileInfo(defaultStorePath()).dir().filePath("sync")
                                      : command.stateDir;
}

}  // namespace

int runSync(const SyncCommand& command) {
    Prepared prepared;
    const int ready = prepare(command, &prepared);
    if (ready != exitcode::kOk) return ready;
    facesync::Options options;
    options.libraryName =
        command.library.isEmpty() ? prepared.source->library.name : command.library;
    options.removeMissing = command.removeMissing;
    options.extractAfter = command.extract;
    options.digestDir = digestDir(command);
    facesync::SyncRun run(prepared.source, options, prepared.targets);
    if (!isValidLibraryName(options.libraryName)) {
        printError(QString("\"%1\" is not a library name (at most 16 letters, digits or _)")
                       .arg(options.libraryName));
        return exitcode::kUsage;
    }
    QEventLoop loop;
    bool planned = false, applied = false;
    reports::JobReport report;
    QObject::connect(&run, &facesync::SyncRun::signalPlanDone, &loop, [&] {
        planned = true;
        loop.quit();
    });
    QObject::connect(&run, &facesync::SyncRun::signalApplied, &loop,
                     [&](const reports::JobReport& done) {
                         report = done;
                         applied = true;
                         loop.quit();
                     });
    run.plan();
    if (!planned) loop.exec();
    if (!command.json) printPlan(run);
    if (command.dryRun || run.plannedChanges() == 0) {
        if (command.json) printJson(run, nullptr);
        return allPlanned(run) ? exitcode::kOk : exitcode::kFailed;
    }
    // A signal stops the cameras between records; what was sent is reported, a later run
    // sends the rest.
    std::atomic<bool>& stop = catchStopSignals();
    QTimer signalWatch;
    QObject::connect(&signalWatch, &QTimer::timeout, &run, [&] {
        if (stop) run.cancel();
    });
    signalWatch.start(kSignalCheckMs);
    run.apply();
    if (!applied) loop.exec();
    if (command.json)
        printJson(run, &report);
    else
        printOutcome(report);
    return allPlanned(run) && report.count(reports::Outcome::Failed) == 0 ? exitcode::kOk
                                                                          : exitcode::kFailed;
}

}  // namespace backup
