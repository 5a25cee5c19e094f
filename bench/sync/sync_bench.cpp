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
//   peak the full fleet's may exceed by at most 15 %. --compare defaults to 20, above the 16
//   cameras worked at once, so that both runs work as many cameras at a time.
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
#include "fleet/fleetsettings.h"
#include "bench_flags.h"
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
    int compare = 20;
    int records = 2000;
    int missing = 20;
    int stale = 5;
    int latencyMs = 50;
    int atOnce = fleet::kDefaultLimit;
};

Settings parse(int argc, char** argv) {
    Settings s;
    benchflags::parse(argc, argv,
                      {{"--cameras", &s.cameras}, {"--compare", &s.compare},
                       {"--records", &s.records}, {"--missing", &s.missing},
                       {"--stale", &s.stale}, {"--latency", &s.latencyMs},
                       {"--at-once", &s.atOnce}},
                      "[--cameras N] [--compare N] [--records N] [--missing N] [--stale N] "
                      "[--latency MS] [--at-once N]\n"
                      "  --cameras N   cameras of the fleet (default 50)\n"
                      "  --compare N   cameras of the smaller fleet, for peak memory (default 20)\n"
                      "  --records N   records of the source (default 2000)\n"
                      "  --missing N   source records the cameras lack, at most records / 100 "
                      "(default 20)\n"
                      "  --stale N     records of each camera the source lacks (default 5)\n"
                      "  --latency MS  added to every request (default 50)\n"
                      "  --at-once N   cameras worked at once (default: the program's, 16)\n");
    if (s.missing > s.records / 100 || s.cameras < 1 || s.atOnce < fleet::kMinLimit ||
        s.atOnce > fleet::kMaxLimit) {
        std::fprintf(stderr, "--missing is at most --records / 100; --cameras at least 1; "
                             "--at-once from 1 to 256\n");
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
        if (word.contains('=')) values.insert(word.section('=', 0, 0), word.section('=', 1).toDouble());
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

// The bench's side: cameras, source, journals; the measured runs go through the launcher.
class Bench {
public:
    Bench(const Settings& s, benchlaunch::Launcher& launcher, const testsupport::TempDir& scratch,
          std::string output)
        : s_(s), launcher_(launcher), dir_(QString::fromStdString(scratch.path())),
          output_(std::move(output)) {}

    void prepare();
    bool reference();
    bool compare();
    bool fleet();
    bool memory() const;

private:
    std::vector<SeededCamera> seedCameras(int count);
    benchlaunch::Measure measure(const QStringList& args, QHash<QString, double>* values);
    QStringList syncArgs(const char* mode, const std::vector<SeededCamera>& cameras,
                         const QString& name) const;
    bool exact(const std::vector<SeededCamera>& cameras, Traffic* total) const;
    void clearJournals(const std::vector<SeededCamera>& cameras) const;

    const Settings s_;
    benchlaunch::Launcher& launcher_;
    const QString dir_;
    const std::string output_;
    testsupport::CameraSet set_;
    QVector<SourceRecord> records_;
    std::vector<SeededCamera> fleet_, smaller_;
    camsim::Camera* referenceCamera_ = nullptr;
    QString referenceLibid_;
    double referenceSeconds_ = 0;
    long fleetPeakKb_ = 0, smallerPeakKb_ = 0;
};

std::vector<SeededCamera> Bench::seedCameras(int count) {
    std::vector<SeededCamera> cameras;
    for (int i = 0; i < count; ++i) {
        camsim::Camera* camera = testsupport::mustStart(set_);
        cameras.push_back(seed(*camera, records_, s_.missing, s_.stale, kLibrary, dir_ + "/digests"));
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
    referenceCamera_ = testsupport::mustStart(set_);
    referenceLibid_ = QString::fromStdString(
        referenceCamera_->faces().createLibrary("reference", 74).data["libid"].asString());
    referenceCamera_->addFault({"*", camsim::FaultKind::Latency, s_.latencyMs, -1});
    std::printf("%d records (%d missing from each camera, %d stale on each), %d cameras (and %d "
                "for the memory comparison), %d ms per request, %d cameras at once, removal on, "
                "extraction off\n",
                s_.records, s_.missing, s_.stale, s_.cameras, s_.compare, s_.latencyMs, s_.atOnce);
}

benchlaunch::Measure Bench::measure(const QStringList& args, QHash<QString, double>* values) {
    std::vector<std::string> argv{"--child"};
    for (const QString& arg : args) argv.push_back(arg.toStdString());
    const benchlaunch::Measure m = launcher_.run(argv);
    *values = figures(output_);
    if (m.code != 0) std::printf("  (the run ended with exit code %d)\n", m.code);
    return m;
}

QStringList Bench::syncArgs(const char* mode, const std::vector<SeededCamera>& cameras,
                            const QString& name) const {
    const std::string targets = targetsFile((dir_ + "/" + name).toStdString(), cameras);
    return {mode, QString::fromStdString(targets), dir_ + "/source.zip", kLibrary,
            dir_ + "/digests", "1", QString::number(s_.atOnce)};
}

bool Bench::reference() {
    SeededCamera one{referenceCamera_, referenceLibid_, {}};
    const std::string targets = targetsFile((dir_ + "/reference.txt").toStdString(), {one});
    QHash<QString, double> v;
    measure({"reference", QString::fromStdString(targets), referenceLibid_, dir_ + "/reference"}, &v);
    referenceSeconds_ = v.value("reference_s");
    const Traffic t = trafficOf(*referenceCamera_);
    std::printf("reference: %d pictures uploaded to one camera in %.2f s (%d requests: %s)\n",
                t.adds, referenceSeconds_, t.requests, perCamera(t, 1).c_str());
    return t.adds == s_.missing && referenceSeconds_ > 0;
}

void Bench::clearJournals(const std::vector<SeededCamera>& cameras) const {
    for (const SeededCamera& seeded : cameras) seeded.camera->journal().clear();
}

// Every camera was sent exactly its missing pictures and the deletion of its stale records, and
// holds the source's uids and nothing else.
bool Bench::exact(const std::vector<SeededCamera>& cameras, Traffic* total) const {
    QSet<QString> missingMd5, sourceUids;
    for (int i = 0; i < records_.size(); ++i) {
        sourceUids.insert(records_[i].uid);
        if (isMissing(i, s_.missing)) missingMd5.insert(records_[i].md5);
    }
    int exactCameras = 0, holding = 0;
    for (const SeededCamera& seeded : cameras) {
        const Traffic t = trafficOf(*seeded.camera);
        *total += t;
        exactCameras += t.adds == s_.missing && t.addedMd5 == missingMd5 &&
                        t.deletes == s_.stale && t.deletedImgids == seeded.staleImgids;
        QSet<QString> held;
        int records = 0;
        for (const camsim::LibraryRecord& library : seeded.camera->faces().snapshot())
            for (const auto& [imgid, image] : library.images)
                if (library.libid == seeded.libid.toStdString()) {
                    held.insert(QString::fromStdString(image.uid));
                    ++records;
                }
        holding += held == sourceUids && records == sourceUids.size();
    }
    const int n = int(cameras.size());
    std::printf("  sent (camsim journals): %.2f additions and %.2f deletions per camera; "
                "exactly the missing pictures and the stale records on %d of %d cameras; "
                "%d of %d hold exactly the source  %s\n",
                double(total->adds) / n, double(total->deletes) / n, exactCameras, n, holding, n,
                verdict(exactCameras == n && holding == n));
    return exactCameras == n && holding == n;
}

bool Bench::compare() {
    QHash<QString, double> v;
    const benchlaunch::Measure m = measure(syncArgs("sync", smaller_, "smaller.txt"), &v);
    smallerPeakKb_ = m.code == 0 ? m.peakKb : 0;
    std::printf("sync to %d cameras: plan %.2f s, apply %.2f s, peak %.1f MB\n", s_.compare,
                v.value("plan_s"), v.value("apply_s"), m.peakKb / 1024.0);
    Traffic total;
    return exact(smaller_, &total) && m.code == 0;
}

bool Bench::fleet() {
    QHash<QString, double> plan;
    const benchlaunch::Measure planned = measure(syncArgs("plan", fleet_, "fleet.txt"), &plan);
    Traffic planTraffic;
    for (const SeededCamera& seeded : fleet_) planTraffic += trafficOf(*seeded.camera);
    clearJournals(fleet_);
    const double planSeconds = plan.value("plan_s");
    const bool planPass = planned.code == 0 && planSeconds > 0 && planSeconds <= kPlanLimitSeconds;
    std::printf("plan for %d cameras: %.2f s (source loaded in %.2f s before it), planned +%.0f "
                "~%.0f -%.0f, %.0f cameras refused  %s (<= %.0f s)\n"
                "  requests per camera: %s; picture downloads: %d\n",
                s_.cameras, planSeconds, plan.value("load_s"), plan.value("adds"),
                plan.value("updates"), plan.value("deletes"), plan.value("refused"),
                verdict(planPass), kPlanLimitSeconds,
                perCamera(planTraffic, s_.cameras).c_str(), planTraffic.downloads);

    QHash<QString, double> v;
    const benchlaunch::Measure m = measure(syncArgs("sync", fleet_, "fleet.txt"), &v);
    fleetPeakKb_ = m.code == 0 ? m.peakKb : 0;
    const double applySeconds = v.value("apply_s");
    const bool applyPass = m.code == 0 && applySeconds > 0 &&
                           applySeconds <= kApplyLimitRatio * referenceSeconds_;
    std::printf("sync to %d cameras: plan %.2f s again, apply %.2f s = %.2f x the reference  %s "
                "(<= %.0f x)\n",
                s_.cameras, v.value("plan_s"), applySeconds, applySeconds / referenceSeconds_,
                verdict(applyPass), kApplyLimitRatio);
    Traffic total;
    const bool exactPass = exact(fleet_, &total);
    std::printf("  apply requests per camera: %s\n",
                perCamera(total.minus(planTraffic), s_.cameras).c_str());
    return planPass && applyPass && exactPass;
}

bool Bench::memory() const {
    const bool pass = smallerPeakKb_ > 0 && fleetPeakKb_ > 0 &&
                      fleetPeakKb_ <= kPeakGrowthLimit * smallerPeakKb_;
    std::printf("peak memory: %.1f MB with %d cameras, %.1f MB with %d (%+.0f KB per added "
                "camera)  %s (<= +%.0f %%)\n",
                smallerPeakKb_ / 1024.0, s_.compare, fleetPeakKb_ / 1024.0, s_.cameras,
                double(fleetPeakKb_ - smallerPeakKb_) / qMax(1, s_.cameras - s_.compare),
                verdict(pass), (kPeakGrowthLimit - 1) * 100);
    return pass;
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
    bool ok = bench.reference();
    ok = bench.compare() && ok;
    ok = bench.fleet() && ok;
    ok = bench.memory() && ok;
    return ok ? 0 : 1;
}
