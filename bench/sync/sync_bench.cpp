// The sync of one library to a fleet: a package of --records records (distinct pictures, each
// record with a uid) synced, with removal on, to --cameras simulated cameras that answer every
// request after --latency ms and already hold the library minus --missing records plus --stale
// records of their own. The cameras were filled directly, with the digest caches a real earlier
// sync would have left (so the plan downloads no picture: the journals say if it does).
//
// Measured, each in a process of its own started by a launcher (launcher.h):
// - the plan for all cameras, at most 10 s;
// - the apply: exactly the missing pictures added and the stale records deleted on every
//   camera, counted from the cameras' journals, and every camera then holding exactly the
//   source; its wall time at most 3 times that of uploading --missing pictures to one camera
//   as the batch upload does (the reference, measured in the same run);
// - peak memory flat in the number of cameras: a sync to --compare other cameras first, whose
//   peak the full fleet's may exceed by at most 15 %. --compare defaults to the cameras worked
//   at once, at least 20, so that both runs work as many cameras at a time; a smaller --compare
//   measures what each camera in flight costs, not how the fleet's size weighs.
// With the program's 16 cameras at once, 50 cameras take 50 / 16 rounds: the apply then needs
// at least 3.1 times one camera's time, so its target is met only with more cameras at once
// (bench/run uses 25).
// Prints the figures and PASS or FAIL per target; exits 1 on any FAIL.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QTextStream>
#include <cstdio>
#include <string>
#include <vector>

#include "app_cameras.h"
#include "bench_flags.h"
#include "fleet/fleetsettings.h"
#include "launcher.h"
#include "support/temp_dir.h"
#include "sync_child.h"
#include "sync_fleet.h"
#include "sync_traffic.h"

namespace {

using namespace syncbench;

constexpr double kPlanLimitSeconds = 10;
constexpr double kApplyLimitRatio = 3;
constexpr double kPeakGrowthLimit = 1.15;
const QString kLibrary = "staff";

struct Settings {
    int cameras = 50;
    int compare = 0;  // 0: the cameras worked at once, at least 20
    int records = 2000;
    int missing = 20;
    int stale = 5;
    int latencyMs = 50;
    int atOnce = fleet::kDefaultLimit;
};

Settings parse(int argc, char** argv) {
    Settings s;
    benchflags::parse(argc, argv,
                      {{"--cameras", &s.cameras},
                       {"--compare", &s.compare},
                       {"--records", &s.records},
                       {"--missing", &s.missing},
                       {"--stale", &s.stale},
                       {"--latency", &s.latencyMs},
                       {"--at-once", &s.atOnce}},
                      "[--cameras N] [--compare N] [--records N] [--missing N] [--stale N] "
                      "[--latency MS] [--at-once N]\n"
                      "  --cameras N   cameras of the fleet (default 50)\n"
                      "  --compare N   cameras of the smaller fleet, for peak memory (default: "
                      "--at-once, at least 20)\n"
                      "  --records N   records of the source (default 2000)\n"
                      "  --missing N   source records the cameras lack, at most records / 100 "
                      "(default 20)\n"
                      "  --stale N     records of each camera the source lacks (default 5)\n"
                      "  --latency MS  added to every request (default 50)\n"
                      "  --at-once N   cameras worked at once (default: the program's, 16)\n");
    if (s.compare == 0) s.compare = qMax(20, s.atOnce);
    if (s.missing > s.records / 100 || s.cameras < 1 || s.atOnce < fleet::kMinLimit ||
        s.atOnce > fleet::kMaxLimit || s.compare < 1 || s.compare >= s.cameras) {
        std::fprintf(stderr,
                     "--missing is at most --records / 100; --cameras at least 1; "
                     "--at-once from 1 to 256; --compare from 1 to below --cameras\n");
        std::exit(2);
    }
    return s;
}

// A child's "key=value" words.
QHash<QString, double> figures(const std::string& path) {
    QHash<QString, double> values;
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return values;
    for (const QString& word : QString::fromUtf8(file.readAll()).split(QRegExp("\\s+")))
        if (word.contains('='))
            values.insert(word.section('=', 0, 0), word.section('=', 1).toDouble());
    return values;
}

std::string targetsFile(const std::string& path, const std::vector<SeededCamera>& cameras) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", path.c_str());
    QTextStream out(&file);
    for (const SeededCamera& seeded : cameras) {
        const auto& c = seeded.camera->config();
        out << c.address.c_str() << ' ' << c.user.c_str() << ' ' << c.password.c_str() << '\n';
    }
    return path;
}

const char* verdict(bool pass) {
    return pass ? "PASS" : "FAIL";
}

// A measured sync: its figures, its peak, and whether every camera got exactly its changes.
struct SyncResult {
    benchlaunch::Measure run;
    QHash<QString, double> values;
    bool exact = false;

    bool ok() const { return run.code == 0 && exact; }
};

// The bench's side: cameras, source, journals; the measured runs go through the launcher.
class Bench {
public:
    Bench(const Settings& s, benchlaunch::Launcher& launcher, const testsupport::TempDir& scratch,
          std::string output)
        : s_(s),
          launcher_(launcher),
          dir_(QString::fromStdString(scratch.path())),
          output_(std::move(output)) {}

    void prepare();
    // The upload of the missing pictures to one camera; its seconds, 0 when it failed.
    double reference();
    SyncResult syncFleet() { return sync(fleet_, "fleet.txt"); }
    SyncResult syncSmaller() { return sync(smaller_, "smaller.txt"); }

private:
    std::vector<SeededCamera> seedCameras(int count);
    benchlaunch::Measure measure(const QStringList& args, QHash<QString, double>* values);
    SyncResult sync(const std::vector<SeededCamera>& cameras, const QString& name);
    void printTraffic(const char* step, const std::vector<SeededCamera>& cameras, TimePoint from,
                      TimePoint until) const;
    bool exact(const std::vector<SeededCamera>& cameras) const;

    const Settings s_;
    benchlaunch::Launcher& launcher_;
    const QString dir_;
    const std::string output_;
    testsupport::CameraSet set_;
    QVector<SourceRecord> records_;
    std::vector<SeededCamera> fleet_, smaller_;
    SeededCamera reference_;
};

std::vector<SeededCamera> Bench::seedCameras(int count) {
    std::vector<SeededCamera> cameras;
    for (int i = 0; i < count; ++i) {
        camsim::Camera* camera = testsupport::mustStart(set_);
        cameras.push_back(
            seed(*camera, records_, s_.missing, s_.stale, kLibrary, dir_ + "/digests"));
        camera->addFault({"*", camsim::FaultKind::Latency, s_.latencyMs, -1});
    }
    return cameras;
}

void Bench::prepare() {
    records_ = makeRecords(s_.records);
    QDir(dir_).mkpath("package");
    writePackage(records_, kLibrary, dir_ + "/package", dir_ + "/source.zip");
    QDir(dir_).mkpath("reference");
    for (int i = 0; i < s_.records; ++i) {
        QFile picture(QString("%1/reference/%2.jpg").arg(dir_).arg(i, 5, 10, QChar('0')));
        if (isMissing(i, s_.missing) &&
            (!picture.open(QIODevice::WriteOnly) || picture.write(records_[i].jpeg) < 0))
            qFatal("cannot write a reference picture");
    }
    fleet_ = seedCameras(s_.cameras);
    smaller_ = seedCameras(s_.compare);
    reference_.camera = testsupport::mustStart(set_);
    reference_.libid = QString::fromStdString(
        reference_.camera->faces().createLibrary("reference", 74).data["libid"].asString());
    reference_.camera->addFault({"*", camsim::FaultKind::Latency, s_.latencyMs, -1});
    std::printf(
        "%d records (%d missing from each camera, %d stale on each), %d cameras (and %d "
        "for the memory comparison), %d ms per request, %d cameras at once, removal on, "
        "extraction off\n",
        s_.records, s_.missing, s_.stale, s_.cameras, s_.compare, s_.latencyMs, s_.atOnce);
}

benchlaunch::Measure Bench::measure(const QStringList& args, QHash<QString, double>* values) {
    std::vector<std::string> argv{"--child"};
    for (const QString& arg : args)
        argv.push_back(arg.toStdString());
    const benchlaunch::Measure m = launcher_.run(argv);
    *values = figures(output_);
    if (m.code != 0) std::printf("  (the run ended with exit code %d)\n", m.code);
    return m;
}

double Bench::reference() {
    const std::string targets = targetsFile((dir_ + "/reference.txt").toStdString(), {reference_});
    QHash<QString, double> v;
    const benchlaunch::Measure m = measure(
        {"reference", QString::fromStdString(targets), reference_.libid, dir_ + "/reference"}, &v);
    const Traffic t = trafficOf(*reference_.camera);
    std::printf("reference: %d pictures uploaded to one camera in %.2f s (%d requests: %s)\n",
                t.adds, v.value("reference_s"), t.requests, perCamera(t, 1).c_str());
    return m.code == 0 && t.adds == s_.missing ? v.value("reference_s") : 0;
}

void Bench::printTraffic(const char* step, const std::vector<SeededCamera>& cameras, TimePoint from,
                         TimePoint until) const {
    std::vector<Traffic> each;
    Traffic total;
    for (const SeededCamera& seeded : cameras) {
        each.push_back(trafficOf(*seeded.camera, from, until));
        total += each.back();
    }
    const Spans spans = spansOf(each);
    std::printf(
        "  %s: requests per camera: %s; picture downloads %d; a camera's requests span "
        "%.2f s on average (longest %.2f s), at most %d cameras at once; a request answered "
        "in %.0f ms on average\n",
        step, perCamera(total, int(cameras.size())).c_str(), total.downloads, spans.meanSeconds,
        spans.longestSeconds, spans.mostAtOnce, spans.meanAnswerMs);
}

// Every camera was sent exactly its missing pictures and the deletion of its stale records, and
// holds the source's uids and nothing else.
bool Bench::exact(const std::vector<SeededCamera>& cameras) const {
    QSet<QString> missingMd5, sourceUids;
    for (int i = 0; i < records_.size(); ++i) {
        sourceUids.insert(records_[i].uid);
        if (isMissing(i, s_.missing)) missingMd5.insert(records_[i].md5);
    }
    int exactCameras = 0, holding = 0;
    Traffic total;
    for (const SeededCamera& seeded : cameras) {
        const Traffic t = trafficOf(*seeded.camera);
        total += t;
        exactCameras += t.adds == s_.missing && t.addedMd5 == missingMd5 && t.deletes == s_.stale &&
                        t.deletedImgids == seeded.staleImgids;
        QSet<QString> held;
        int records = 0;
        for (const camsim::LibraryRecord& library : seeded.camera->faces().snapshot()) {
            if (library.libid != seeded.libid.toStdString()) continue;
            for (const auto& [imgid, image] : library.images)
                held.insert(QString::fromStdString(image.uid));
            records += int(library.images.size());
        }
        holding += held == sourceUids && records == sourceUids.size();
    }
    const int n = int(cameras.size());
    std::printf(
        "  sent (camsim journals): %.2f additions and %.2f deletions per camera; exactly "
        "the missing pictures and the stale records to %d of %d cameras; %d of %d hold "
        "exactly the source afterwards\n",
        double(total.adds) / n, double(total.deletes) / n, exactCameras, n, holding, n);
    return exactCameras == n && holding == n;
}

SyncResult Bench::sync(const std::vector<SeededCamera>& cameras, const QString& name) {
    SyncResult r;
    const std::string targets = targetsFile((dir_ + "/" + name).toStdString(), cameras);
    r.run = measure({"sync", QString::fromStdString(targets), dir_ + "/source.zip", kLibrary,
                     dir_ + "/digests", "1", QString::number(s_.atOnce)},
                    &r.values);
    const QHash<QString, double>& v = r.values;
    std::printf(
        "sync to %d cameras: source loaded in %.2f s, plan %.2f s (+%.0f ~%.0f -%.0f, %.0f "
        "cameras not synced), apply %.2f s; peak %.1f MB\n",
        int(cameras.size()), v.value("load_s"), v.value("plan_s"), v.value("adds"),
        v.value("updates"), v.value("deletes"), v.value("refused"), v.value("apply_s"),
        r.run.peakKb / 1024.0);
    const TimePoint applyAt(TimePoint::duration(qint64(v.value("apply_at"))));
    printTraffic("plan", cameras, TimePoint::min(), applyAt);
    printTraffic("apply", cameras, applyAt, TimePoint::max());
    r.exact = exact(cameras);
    return r;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::string(argv[1]) == "--child") {
        // camlink reads this once, at its first use: cameras are then worked side by side.
        setenv("CAMLINK_SESSIONS", "parallel", 1);
        QCoreApplication app(argc, argv);
        return runChild(app.arguments().mid(2));
    }
    const Settings s = parse(argc, argv);
    testsupport::TempDir scratch("sync-bench");
    const std::string output = scratch.path() + "/child.out";
    benchlaunch::Launcher launcher(benchlaunch::selfPath(), output);  // before the cameras grow
    QCoreApplication app(argc, argv);
    Bench bench(s, launcher, scratch, output);
    bench.prepare();
    const double reference = bench.reference();
    const SyncResult smaller = bench.syncSmaller();
    const SyncResult fleet = bench.syncFleet();

    const double plan = fleet.values.value("plan_s");
    const double apply = fleet.values.value("apply_s");
    const bool planPass = fleet.run.code == 0 && plan > 0 && plan <= kPlanLimitSeconds;
    const bool applyPass =
        fleet.run.code == 0 && reference > 0 && apply > 0 && apply <= kApplyLimitRatio * reference;
    const bool exactPass = smaller.ok() && fleet.ok();
    const long small = smaller.run.peakKb, large = fleet.run.peakKb;
    const bool memoryPass =
        smaller.run.code == 0 && fleet.run.code == 0 && large <= kPeakGrowthLimit * small;
    std::printf("plan for %d cameras: %.2f s  %s (<= %.0f s)\n", s.cameras, plan, verdict(planPass),
                kPlanLimitSeconds);
    std::printf("apply to %d cameras: %.2f s, %.2f x the reference (%.2f s)  %s (<= %.0f x)\n",
                s.cameras, apply, reference > 0 ? apply / reference : 0.0, reference,
                verdict(applyPass), kApplyLimitRatio);
    std::printf(
        "exactly %d additions and %d deletions per camera, every camera then holding the "
        "source  %s\n",
        s.missing, s.stale, verdict(exactPass));
    std::printf(
        "peak memory: %.1f MB with %d cameras, %.1f MB with %d (%+.0f KB per added "
        "camera)  %s (<= +%.0f %%)\n",
        small / 1024.0, s.compare, large / 1024.0, s.cameras,
        double(large - small) / qMax(1, s.cameras - s.compare), verdict(memoryPass),
        (kPeakGrowthLimit - 1) * 100);
    if (s.compare < s.atOnce)
        std::printf("  (%d cameras are worked at once, so the smaller fleet has fewer in flight: "
                    "the growth is the cost of the added cameras in flight)\n",
                    s.atOnce);
    return planPass && applyPass && exactPass && memoryPass ? 0 : 1;
}
