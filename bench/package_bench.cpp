// Package export and import over loopback: a library of 2,000 records with JPEG pictures of 20
// to 90 KB is exported from one simulated camera by DbExportModule and imported into another by
// DbImportModule. Prints records per second of each stage, the packing stage against Info-ZIP
// zip at its default level on the same files, and the peak resident memory of each job, also
// for a library of 500 to show the peak does not follow the number of pictures.
//
// The cameras run in a separate camsim process, so the pictures they hold are not counted. Each
// job runs in a child process (this program re-executed with --export or --import) whose peak
// resident set comes from wait4.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "dbutil/dbexportmodule.h"
#include "dbutil/dbimportmodule.h"
#include "dbutil/interaction.h"
#include "dbutil/packagefile.h"
#include "dbutil/zipwriter.h"

extern char** environ;

namespace {

constexpr int kLargeLibrary = 2000;
constexpr int kSmallLibrary = 500;
constexpr int kPackRounds = 3;
constexpr long kPeakLimitKb = 150 * 1024;
const char kCameraA[] = "127.0.84.2";
const char kCameraB[] = "127.0.84.3";
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

std::string loadAverage() {
    char text[128] = {0};
    if (FILE* f = std::fopen("/proc/loadavg", "r")) {
        if (!std::fgets(text, sizeof text, f)) text[0] = 0;
        std::fclose(f);
    }
    std::string s(text);
    return s.substr(0, s.find(' ', s.find(' ', s.find(' ') + 1) + 1));
}

long statusKb(const char* field) {
    long kb = -1;
    char line[256];
    FILE* f = std::fopen("/proc/self/status", "r");
    while (f && std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, std::strlen(field)) == 0)
            kb = std::atol(line + std::strlen(field) + 1);
    if (f) std::fclose(f);
    return kb;
}

// ---- child processes ----

struct ChildRun {
    std::string out;
    int status = -1;
    long peakKb = 0;  // ru_maxrss of the child
};

// Runs argv (in cwd when given) with its stdout captured; waits for it with wait4.
ChildRun runChild(const std::vector<std::string>& args, const char* cwd = nullptr) {
    ChildRun run;
    int out[2];
    if (pipe(out) != 0) return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    if (cwd) posix_spawn_file_actions_addchdir_np(&actions, cwd);
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    char chunk[4096];
    for (ssize_t n; pid > 0 && (n = read(out[0], chunk, sizeof chunk)) > 0;)
        run.out.append(chunk, n);
    close(out[0]);
    rusage usage{};
    if (pid > 0 && wait4(pid, &run.status, 0, &usage) == pid) run.peakKb = usage.ru_maxrss;
    return run;
}

// Starts the two cameras in a camsim process and waits for its ready line; its pid, or -1.
pid_t startCameras() {
    int out[2];
    if (pipe(out) != 0) return -1;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    // Extraction is set-up here, not measured: 1 ms per picture keeps it short.
    const char* argv[] = {CAMSIM_BINARY, "--cameras",    "2", "--first",
                          kCameraA,      "--extract-ms", "1", nullptr};
    pid_t pid = -1;
    if (posix_spawn(&pid, CAMSIM_BINARY, &actions, nullptr, const_cast<char**>(argv), environ))
        pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    FILE* lines = fdopen(out[0], "r");
    char line[1024];
    bool ready = false;
    while (pid > 0 && lines && !ready && std::fgets(line, sizeof line, lines))
        ready = std::strncmp(line, "ready", 5) == 0;
    if (lines) std::fclose(lines);
    return ready ? pid : -1;
}

// ---- stage timing, in the job's process ----

struct Mark {
    double t;
    int value;
};

// A stage ends at a known count of progress emissions (each step emits once) with a value
// at its band's end, or one above when the stage has no steps of its own and ends at the next
// stage's first emission.
struct Band {
    const char* name;
    int emissions;
    int end;
};

// Stage end times. Counted emissions when they match the plan; otherwise the first emission
// at or above each band's end, which can come up to half a percent early after rounding.
std::vector<double> stageEnds(const std::vector<Mark>& marks, const std::vector<Band>& bands,
                              double finish, bool* counted) {
    *counted = !bands.empty() && static_cast<int>(marks.size()) == bands.back().emissions;
    for (const Band& b : bands) {
        const int v = *counted && b.emissions > 0 ? marks[b.emissions - 1].value : -1;
        *counted = *counted && (v == b.end || v == b.end + 1);
    }
    std::vector<double> ends;
    for (const Band& b : bands) {
        double t = finish;
        if (*counted) {
            t = marks[b.emissions - 1].t;
        } else {
            auto it = std::find_if(marks.begin(), marks.end(),
                                   [&](const Mark& m) { return m.value >= b.end; });
            if (it != marks.end()) t = it->t;
        }
        ends.push_back(t);
    }
    ends.back() = finish;  // the last stage's tail (a final look-up) runs after its last step
    return ends;
}

template <class Job>
std::vector<Mark> runTimed(Job& job, double* finish) {
    std::vector<Mark> marks;
    marks.reserve(4 * kLargeLibrary + 16);
    const auto start = Clock::now();
    QObject::connect(
        &job, &Job::signalProgress, &job,
        [&](int val, int) {
            marks.push_back({secondsSince(start), val});
        },
        Qt::DirectConnection);
    job.start();
    job.wait();
    *finish = secondsSince(start);
    return marks;
}

void printStages(const std::vector<Band>& bands, const std::vector<Mark>& marks, double finish) {
    bool counted = false;
    const std::vector<double> ends = stageEnds(marks, bands, finish, &counted);
    for (size_t i = 0; i < bands.size(); ++i)
        std::printf("stage %s|%.6f\n", bands[i].name, ends[i] - (i ? ends[i - 1] : 0.0));
    std::printf("bounds %s\n", counted ? "counted" : "rounded");
    std::printf("total %.6f\n", finish);
}

void quietDebug(QtMsgType type, const QMessageLogContext&, const QString& text) {
    if (type != QtDebugMsg && type != QtInfoMsg) std::fprintf(stderr, "%s\n", qPrintable(text));
}

int exportJob(const char* ip, const char* libid, const char* zipPath) {
    qInstallMessageHandler(quietDebug);
    std::printf("rss0 %ld\n", statusKb("VmRSS"));
    DbExportModule job(SDeviceInfo(ip, "admin", "admin"), libid);
    job.setSavePath(zipPath);
    double finish = 0;
    const std::vector<Mark> marks = runTimed(job, &finish);
    const int n = job.exportedCount();
    const int pages = (n + DbExportModule::pageSizeFor(n) - 1) / DbExportModule::pageSizeFor(n);
    printStages({{"lock, library", 1, 5},
                 {"record pages", pages, 20},
                 {"pictures", pages + n, 80},
                 {"package.dat", pages + 2 * n + 1, 90},
                 {"zip", pages + 3 * n + 2, 100}},
                marks, finish);
    std::printf("result %d %d -\n", job.errorCode(), n);
    return 0;
}

int importJob(const char* ip, const char* zipPath) {
    qInstallMessageHandler(quietDebug);
    std::printf("rss0 %ld\n", statusKb("VmRSS"));
    DbImportModule job(SDeviceInfo(ip, "admin", "admin"), zipPath);
    double finish = 0;
    const std::vector<Mark> marks = runTimed(job, &finish);
    const int n = job.totalCount(), up = job.uploadedCount();
    printStages({{"unzip", n + 1, 10},
                 {"package.dat", 2 * n + 1, 20},
                 {"library", 2 * n + 2, 30},
                 {"upload", 2 * n + 1 + up, 100}},
                marks, finish);
    std::printf("result %d %d %s\n", job.errorCode(), up, qPrintable(job.library().libid));
    return 0;
}

// ---- the parent ----

struct JobResult {
    bool ok = false;
    int error = -1;
    int count = 0;
    std::string libid;
    long rss0Kb = 0;
    long peakKb = 0;
    double total = 0;
    std::string bounds;
    std::vector<std::pair<std::string, double>> stages;
};

JobResult parseJob(const ChildRun& run) {
    JobResult r;
    r.peakKb = run.peakKb;
    const QStringList lines = QString::fromStdString(run.out).split('\n');
    for (const QString& line : lines) {
        const QString key = line.section(' ', 0, 0), rest = line.section(' ', 1);
        if (key == "rss0") r.rss0Kb = rest.toLong();
        if (key == "total") r.total = rest.toDouble();
        if (key == "bounds") r.bounds = rest.toStdString();
        if (key == "stage")
            r.stages.push_back(
                {rest.section('|', 0, 0).toStdString(), rest.section('|', 1).toDouble()});
        if (key == "result") {
            r.error = rest.section(' ', 0, 0).toInt();
            r.count = rest.section(' ', 1, 1).toInt();
            r.libid = rest.section(' ', 2, 2).toStdString();
            r.ok = WIFEXITED(run.status) && WEXITSTATUS(run.status) == 0;
        }
    }
    return r;
}

std::string selfPath() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    return n > 0 ? std::string(path, n) : std::string();
}

// Noise over a gradient at quality 85: about 0.37 bytes a pixel, so the pixel count sets the
// size; two corrections bring each picture near its target.
QByteArray encodePicture(int pixels, uint32_t seed) {
    const int w = std::max(100, static_cast<int>(std::sqrt(pixels * 0.8)));
    const int h = std::max(100, pixels / w);
    QImage image(w, h, QImage::Format_RGB32);
    uint32_t s = seed | 1;
    auto clamp = [](int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); };
    for (int y = 0; y < h; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            s ^= s << 13, s ^= s >> 17, s ^= s << 5;
            const int r = static_cast<int>(s & 63) - 32, g = static_cast<int>((s >> 8) & 63) - 32;
            line[x] = qRgb(clamp(x * 255 / w + r), clamp(y * 255 / h + g),
                           clamp(128 + static_cast<int>((s >> 16) & 63) - 32));
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 85);
    return bytes;
}

struct PictureSet {
    SFeatrueList records;
    qint64 minBytes = 0, maxBytes = 0, totalBytes = 0;
};

PictureSet makePictures(const QString& dir, int count) {
    PictureSet set;
    uint32_t rng = 20240611;
    for (int i = 0; i < count; ++i) {
        rng = rng * 1664525u + 1013904223u;
        const int target = 21 * 1024 + static_cast<int>((rng >> 8) % (68 * 1024));
        int pixels = static_cast<int>(target / 0.37);
        QByteArray bytes;
        for (int pass = 0; pass < 4; ++pass) {
            bytes = encodePicture(pixels, rng + static_cast<uint32_t>(i));
            if (bytes.size() >= 20 * 1024 && bytes.size() <= 90 * 1024 &&
                std::abs(bytes.size() - target) < target / 20)
                break;
            pixels = static_cast<int>(static_cast<double>(pixels) * target / bytes.size());
        }
        const QString path = QDir(dir).filePath(QString("p%1.jpg").arg(i));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write %s", qPrintable(path));
        auto record = SFeatrueInfoPtr::create();
        record->path = path;
        record->name = QString("person %1").arg(i);
        record->uid = QString("u%1").arg(i);
        set.records.append(record);
        set.minBytes = i ? std::min<qint64>(set.minBytes, bytes.size()) : bytes.size();
        set.maxBytes = std::max<qint64>(set.maxBytes, bytes.size());
        set.totalBytes += bytes.size();
    }
    return set;
}

// A library of the pictures on camera A with features extracted; its libid.
QString fillLibrary(const PictureSet& set) {
    const SDeviceInfo device(kCameraA, "admin", "admin");
    Interaction& camera = Interaction::instance();
    SDBInfo db;
    db.name = QString("bench %1").arg(set.records.size());
    if (!camera.addFaceDB(device, &db)) qFatal("library not created");
    const int added = camera.addImages(device, db.libid, set.records, nullptr);
    int total = 0, extracted = 0, errors = 0;
    camera.extractFeature(device, db.libid, &total, &extracted, &errors, nullptr);
    std::printf("library %s on %s: %d pictures stored, %d features, %d extraction errors\n",
                qPrintable(db.libid), kCameraA, added, extracted, errors);
    if (added != set.records.size() || extracted != added) qFatal("library incomplete");
    return db.libid;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

qint64 fileBytes(const QString& path) {
    return QFileInfo(path).size();
}

// The export's packing loop over the unpacked files: package.dat, then every picture.
bool packWithZipWriter(const QString& dir, const QStringList& pictures, const QString& out) {
    ZipWriter zip;
    bool ok =
        zip.open(out) && zip.addFile(package::kDataName, QDir(dir).filePath(package::kDataName));
    for (const QString& name : pictures)
        ok = ok && zip.addFile("/" + name, QDir(dir).filePath(name));
    return zip.close() && ok;
}

struct PackResult {
    double ours = 0, infoZip = 0;
    qint64 oursBytes = 0, infoZipBytes = 0;
    qint64 inputBytes = 0;
    int files = 0;
};

// Unpacks the export's archive, then packs the same files alternately with ZipWriter and with
// `zip -q -r` (default level); the medians of the rounds.
PackResult comparePacking(const QString& zipPath, const QString& scratch) {
    const QString dir = QDir(scratch).filePath("unpacked");
    QDir().mkpath(dir);
    if (runChild({"unzip", "-q", zipPath.toStdString(), "-d", dir.toStdString()}).status != 0)
        qFatal("unzip failed");
    QStringList pictures;
    for (const QString& f : QDir(QDir(dir).filePath("images")).entryList(QDir::Files))
        pictures << QString("images/") + f;
    PackResult r;
    r.files = pictures.size() + 1;
    r.inputBytes = fileBytes(QDir(dir).filePath("package.dat"));
    for (const QString& p : pictures)
        r.inputBytes += fileBytes(QDir(dir).filePath(p));
    std::vector<double> ours, theirs;
    for (int round = 0; round < kPackRounds; ++round) {
        const QString a = QDir(scratch).filePath("ours.zip"), b = QDir(scratch).filePath("iz.zip");
        QFile::remove(a), QFile::remove(b);
        auto start = Clock::now();
        if (!packWithZipWriter(dir, pictures, a)) qFatal("ZipWriter failed");
        ours.push_back(secondsSince(start));
        start = Clock::now();
        const std::vector<std::string> zip = {"zip",           "-q",          "-r",
                                              b.toStdString(), "package.dat", "images"};
        if (runChild(zip, qPrintable(dir)).status != 0) qFatal("zip failed");
        theirs.push_back(secondsSince(start));
        r.oursBytes = fileBytes(a), r.infoZipBytes = fileBytes(b);
    }
    r.ours = median(ours), r.infoZip = median(theirs);
    return r;
}

struct LibraryRun {
    int records = 0;
    PictureSet pictures;
    JobResult exported, imported;
    SDBInfo onB;
    PackResult pack;
};

void checkJob(const JobResult& r, const char* what) {
    if (!r.ok || r.error != 0) qFatal("%s failed: error %d, %d records", what, r.error, r.count);
}

LibraryRun runLibrary(int records, bool comparePack) {
    LibraryRun run;
    run.records = records;
    QTemporaryDir scratch;
    run.pictures = makePictures(scratch.path(), records);
    const QString libid = fillLibrary(run.pictures);
    const std::string zip = QDir(scratch.path()).filePath("package.zip").toStdString();
    const std::string self = selfPath();
    run.exported = parseJob(runChild({self, "--export", kCameraA, libid.toStdString(), zip}));
    checkJob(run.exported, "export");
    run.imported = parseJob(runChild({self, "--import", kCameraB, zip}));
    checkJob(run.imported, "import");
    const SDeviceInfo a(kCameraA, "admin", "admin"), b(kCameraB, "admin", "admin");
    run.onB.libid = QString::fromStdString(run.imported.libid);
    Interaction::instance().getFaceDB(b, &run.onB);
    if (comparePack) run.pack = comparePacking(QString::fromStdString(zip), scratch.path());
    Interaction::instance().deleteFaceDB(b, run.onB.libid);
    Interaction::instance().deleteFaceDB(a, libid);
    return run;
}

void printJob(const char* title, const JobResult& r, int records) {
    std::printf("  %s (%d records, %.2f s, stage ends from %s progress)\n", title, r.count, r.total,
                r.bounds.c_str());
    std::printf("    %-16s %10s %12s\n", "stage", "seconds", "records/s");
    for (const auto& [name, secs] : r.stages)
        std::printf("    %-16s %10.3f %12.0f\n", name.c_str(), secs, records / secs);
    std::printf("    %-16s %10.3f %12.0f\n", "whole job", r.total, records / r.total);
}

void printMemory(const std::vector<LibraryRun>& runs) {
    std::printf(
        "\npeak resident memory of each job (child process, ru_maxrss; cameras not "
        "counted)\n");
    std::printf("  %-8s %8s %14s %14s %14s\n", "job", "records", "at start MiB", "peak MiB",
                "peak-start MiB");
    for (const LibraryRun& run : runs)
        for (const auto& [name, r] :
             {std::pair{"export", &run.exported}, {"import", &run.imported}})
            std::printf("  %-8s %8d %14.1f %14.1f %14.1f%s\n", name, run.records,
                        r->rss0Kb / 1024.0, r->peakKb / 1024.0, (r->peakKb - r->rss0Kb) / 1024.0,
                        r->peakKb <= kPeakLimitKb ? "" : "  ABOVE 150 MiB");
}

void printPacking(const LibraryRun& run) {
    const PackResult& p = run.pack;
    double exportZip = 0;
    for (const auto& [name, secs] : run.exported.stages)
        if (name == "zip") exportZip = secs;
    std::printf(
        "\npacking %d files, %.1f MiB (export's package.dat and pictures), median of %d "
        "alternating rounds\n",
        p.files, p.inputBytes / 1048576.0, kPackRounds);
    std::printf("  ZipWriter (export's packing loop) %8.3f s  %.1f MiB out\n", p.ours,
                p.oursBytes / 1048576.0);
    std::printf("  Info-ZIP zip -q -r, default level %8.3f s  %.1f MiB out\n", p.infoZip,
                p.infoZipBytes / 1048576.0);
    std::printf("  ratio ZipWriter / zip             %8.2f\n", p.ours / p.infoZip);
    std::printf("  the export's own zip stage        %8.3f s (ratio to zip %.2f)\n", exportZip,
                exportZip / p.infoZip);
}

int parentMain() {
    std::printf("load average at start: %s\n", loadAverage().c_str());
    signal(SIGPIPE, SIG_IGN);
    const pid_t camsim = startCameras();
    if (camsim < 0) qFatal("camsim did not start");
    std::vector<LibraryRun> runs;
    for (int records : {kLargeLibrary, kSmallLibrary})
        runs.push_back(runLibrary(records, records == kLargeLibrary));
    Interaction::instance().logoutAll();
    kill(camsim, SIGTERM);
    waitpid(camsim, nullptr, 0);

    for (const LibraryRun& run : runs) {
        std::printf("\nlibrary of %d records, pictures %lld to %lld bytes (%.1f MiB in all)\n",
                    run.records, static_cast<long long>(run.pictures.minBytes),
                    static_cast<long long>(run.pictures.maxBytes),
                    run.pictures.totalBytes / 1048576.0);
        printJob("export from camera A", run.exported, run.records);
        printJob("import into camera B", run.imported, run.records);
        std::printf("  camera B library: %d records, %d with features\n", run.onB.imgnum,
                    run.onB.extractnum);
    }
    std::printf(
        "\n  (lock, library and library have no step of their own: each ends at the next "
        "stage's first step, so it holds one item of it; unlocking counts in package.dat)\n");
    printPacking(runs.front());
    printMemory(runs);
    std::printf("\nload average at end: %s (2 shared cores: figures are noisy)\n",
                loadAverage().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--export") == 0)
        return exportJob(argv[2], argv[3], argv[4]);
    if (argc == 4 && std::strcmp(argv[1], "--import") == 0) return importJob(argv[2], argv[3]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: package_bench\n");
        return 2;
    }
    return parentMain();
}
