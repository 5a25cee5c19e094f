#include "sync_child.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <memory>

#include "dbutil/interaction.h"
#include "fleet/fleetsettings.h"
#include "reports/jobreport.h"
#include "sync/source.h"
#include "sync/syncrun.h"

namespace syncbench {

namespace {

QVector<facesync::Target> readTargets(const QString& path) {
    QVector<facesync::Target> targets;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) qFatal("no targets file");
    QTextStream in(&file);
    for (QString line; in.readLineInto(&line);) {
        const QStringList words = line.split(' ', Qt::SkipEmptyParts);
        if (words.size() != 3) continue;
        facesync::Target target;
        target.device = SDeviceInfo(words[0], words[1], words[2]);
        targets.append(target);
    }
    return targets;
}

void printPlans(const QVector<facesync::TargetPlan>& plans) {
    int adds = 0, updates = 0, deletes = 0, unchanged = 0, refused = 0;
    for (const facesync::TargetPlan& plan : plans) {
        adds += plan.adds();
        updates += plan.updates();
        deletes += plan.deletes();
        unchanged += plan.unchanged;
        refused += plan.ok() ? 0 : 1;
        if (!plan.ok())
            std::fprintf(stderr, "not planned: %s: %s\n", qPrintable(plan.camera),
                         qPrintable(plan.reason));
    }
    std::printf("cameras=%d adds=%d updates=%d deletes=%d unchanged=%d refused=%d\n",
                int(plans.size()), adds, updates, deletes, unchanged, refused);
}

// plan (and, unless planOnly, apply) over the fleet; the times of each step.
int sync(const QStringList& args, bool planOnly) {
    if (args.size() != 6) return 2;
    fleet::setLimit(args[5].toInt());
    QElapsedTimer clock;
    clock.start();
    auto source = std::make_shared<facesync::Source>();
    QString error;
    if (!facesync::loadPackageSource(args[1], source.get(), &error))
        qFatal("source: %s", qPrintable(error));
    std::printf("load_s=%.3f records=%d\n", clock.elapsed() / 1000.0, int(source->records.size()));

    facesync::Options options;
    options.libraryName = args[2];
    options.digestDir = args[3];
    options.removeMissing = args[4] == "1";
    // Extraction runs on the camera after the records are held; the sending is what is timed.
    options.extractAfter = false;
    facesync::SyncRun run(source, options, readTargets(args[0]));
    int code = 0;
    QObject::connect(&run, &facesync::SyncRun::signalPlanDone, qApp, [&] {
        std::printf("plan_s=%.3f\n", clock.elapsed() / 1000.0);
        printPlans(run.plans());
        if (planOnly) return qApp->quit();
        // The steady clock is the system's monotonic one: the cameras' journals tell the
        // requests of the apply from those of the plan by it.
        std::printf("apply_at=%lld\n",
                    (long long)std::chrono::steady_clock::now().time_since_epoch().count());
        clock.restart();
        run.apply();
    });
    QObject::connect(
        &run, &facesync::SyncRun::signalApplied, qApp, [&](const reports::JobReport& report) {
            std::printf("apply_s=%.3f stored=%d failed=%d skipped=%d\n", clock.elapsed() / 1000.0,
                        report.count(reports::Outcome::Stored),
                        report.count(reports::Outcome::Failed),
                        report.count(reports::Outcome::Skipped));
            code = report.count(reports::Outcome::Failed) ? 1 : 0;
            qApp->quit();
        });
    // Within the event loop, so that a run that ends at once still ends it.
    QTimer::singleShot(0, &run, [&] {
        clock.restart();
        run.plan();
    });
    qApp->exec();
    return code;
}

// The pictures of dir uploaded to one camera's library as the program's batch upload does.
int reference(const QStringList& args) {
    const QVector<facesync::Target> targets = readTargets(args.value(0));
    if (args.size() != 3 || targets.size() != 1) return 2;
    const SDeviceInfo device = targets[0].device;
    SFeatrueList pictures;
    for (const QFileInfo& file : QDir(args[2]).entryInfoList({"*.jpg"}, QDir::Files, QDir::Name)) {
        auto picture = SFeatrueInfoPtr::create();
        picture->name = file.completeBaseName();
        picture->path = file.filePath();
        pictures.append(picture);
    }
    QElapsedTimer clock;
    clock.start();
    const int stored = Interaction::instance().addImages(device, args[1], pictures,
                                                         [](int) { return false; });  // never stop
    std::printf("reference_s=%.3f stored=%d\n", clock.elapsed() / 1000.0, stored);
    return stored == pictures.size() ? 0 : 1;
}

}  // namespace

int runChild(const QStringList& args) {
    const QString mode = args.value(0);
    const QStringList rest = args.mid(1);
    int code = 2;
    if (mode == "sync" || mode == "plan") code = sync(rest, mode == "plan");
    if (mode == "reference") code = reference(rest);
    std::fflush(stdout);
    return code;
}

}  // namespace syncbench
