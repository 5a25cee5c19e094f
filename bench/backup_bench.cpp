// facekeeper-backup over a fleet of simulated cameras: every camera with two libraries of
// --pictures pictures (features extracted) and --latency ms added to each request. Runs the
// tool twice as a process of its own: the first run's wall time, peak resident memory and bytes
// per second written, then a second run with nothing changed (no package may be written) and
// its time as a share of the first. --compare N repeats the first run with only N cameras, for
// the peak memory of a smaller fleet. Exits non-zero when a run fails, peaks above 150 MB, or
// the second one writes a package.
//
// The tool is started by a launcher process forked before the cameras are filled (launcher.h).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "bench_flags.h"
#include "launcher.h"
#include "support/camera_fixture.h"
#include "support/camera_set.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

struct Settings {
    int cameras = 50;
    int pictures = 1000;
    int latencyMs = 20;
    int jobs = 16;
    int compare = 10;
};

// The most the tool may take, whatever the size of the fleet or of its libraries.
constexpr long kPeakLimitKb = 150 * 1024;

// A run of the tool, within the memory limit or not.
struct Measure : benchlaunch::Measure {
    Measure(const benchlaunch::Measure& m) : benchlaunch::Measure(m) {}

    bool withinLimit() const { return code == 0 && peakKb <= kPeakLimitKb; }
    const char* limitNote() const { return peakKb <= kPeakLimitKb ? "" : " ABOVE 150 MB"; }
};

Settings parse(int argc, char** argv) {
    Settings s;
    benchflags::parse(argc, argv,
                      {{"--cameras", &s.cameras}, {"--pictures", &s.pictures},
                       {"--latency", &s.latencyMs}, {"--jobs", &s.jobs}, {"--compare", &s.compare}},
                      "[--cameras N] [--pictures N] [--latency MS] [--jobs N] [--compare N]\n"
                      "  --cameras N   simulated cameras, two libraries each (default 50)\n"
                      "  --pictures N  pictures per library (default 1000)\n"
                      "  --latency MS  added to every request (default 20)\n"
                      "  --jobs N      the tool's --jobs (default 16)\n"
                      "  --compare N   a first run with only N cameras, for its peak memory "
                      "(default 10;\n"
                      "                0 skips it)\n");
    return s;
}

std::string csvOf(const std::vector<camsim::Camera*>& cameras, int count, const std::string& path) {
    std::ofstream out(path);
    for (int i = 0; i < count; ++i)
        out << cameras[i]->config().address << ",admin,admin\n";
    return path;
}

long packageCount(const std::string& dir) {
    long count = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().extension() == ".zip") ++count;
    return count;
}

unsigned long long packageBytes(const std::string& dir) {
    unsigned long long bytes = 0;
    for (const auto& entry : fs::recursive_directory_iterator(dir))
        if (entry.path().extension() == ".zip") bytes += entry.file_size();
    return bytes;
}

void fill(camsim::Camera& camera, int pictures, int seed) {
    for (const char* name : {"staff", "visitors"}) {
        const std::string libid = camera.faces().createLibrary(name, 80).data["libid"].asString();
        for (int i = 0; i < pictures; ++i) {
            camsim::NewImage image;
            image.libid = libid;
            image.name = "person_" + std::to_string(i);
            image.uid = std::to_string(seed) + "-" + std::to_string(i);
            // About 6 KB of noise: a photograph's bytes hardly compress.
            std::string body(6000, '\0');
            for (char& c : body) c = char(random());
            image.bytes = testsupport::makeJpeg(160, 200, body);
            // Features extracted, as in a library in use: each record then carries its text.
            image.status = camsim::kImageStatusExtracted;
            image.feature = camsim::computeFeature(image.bytes);
            image.featureAttr = 1;
            image.modelVersion = "0.0.8";
            camera.faces().addImage(image);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Settings s = parse(argc, argv);
    benchlaunch::Launcher launcher(FACEKEEPER_BACKUP);  // before the cameras grow this process
    testsupport::CameraSet set;
    std::vector<camsim::Camera*> cameras;
    for (int i = 0; i < s.cameras; ++i) {
        camsim::Camera* camera = set.start();
        if (!camera) {
            std::fprintf(stderr, "camera did not start: %s\n", set.error().c_str());
            return 1;
        }
        fill(*camera, s.pictures, i);
        camera->addFault({"*", camsim::FaultKind::Latency, s.latencyMs, -1});
        cameras.push_back(camera);
    }
    testsupport::TempDir scratch("backup-bench");
    const std::string dir = scratch.path() + "/backups";
    const std::string all = csvOf(cameras, s.cameras, scratch.path() + "/all.csv");
    const std::string jobs = std::to_string(s.jobs);
    std::printf("%d cameras x 2 libraries x %d pictures, %d ms per request, --jobs %d\n", s.cameras,
                s.pictures, s.latencyMs, s.jobs);

    const Measure first = launcher.run({"backup", "--csv", all, "--to", dir, "--jobs", jobs});
    const unsigned long long bytes = packageBytes(dir);
    const long written = packageCount(dir);
    std::printf("first run:  exit %d, %.1f s, peak %.1f MB%s, %ld packages, %.1f MB, %.2f MB/s\n",
                first.code, first.seconds, first.peakKb / 1024.0, first.limitNote(), written,
                bytes / 1e6, bytes / 1e6 / first.seconds);
    const Measure second = launcher.run({"backup", "--csv", all, "--to", dir, "--jobs", jobs});
    const long newPackages = packageCount(dir) - written;
    std::printf("second run: exit %d, %.1f s (%.1f %% of the first), peak %.1f MB%s, %ld new packages\n",
                second.code, second.seconds, 100.0 * second.seconds / first.seconds,
                second.peakKb / 1024.0, second.limitNote(), newPackages);
    bool ok = first.withinLimit() && second.withinLimit() && newPackages == 0;
    if (s.compare > 0 && s.compare < s.cameras) {
        const std::string few = csvOf(cameras, s.compare, scratch.path() + "/few.csv");
        const Measure small = launcher.run({"backup", "--csv", few, "--to", scratch.path() + "/few",
                                       "--jobs", jobs});
        std::printf("first run with %d cameras: exit %d, %.1f s, peak %.1f MB%s\n", s.compare,
                    small.code, small.seconds, small.peakKb / 1024.0, small.limitNote());
        ok = ok && small.withinLimit();
    }
    return ok ? 0 : 1;
}
