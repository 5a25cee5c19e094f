// facekeeper-backup over a fleet of simulated cameras: every camera with two libraries of
// --pictures pictures and --latency ms added to each request. Runs the tool twice as a process
// of its own: the first run's wall time, peak resident memory and bytes per second written,
// then a second run with nothing changed (no package may be written) and its time as a share
// of the first. --compare N repeats the first run with only N cameras, for the peak memory of a
// smaller fleet. Exits non-zero when a run fails or the second one writes a package.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

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

struct Measure {
    int code = -1;
    double seconds = 0;
    long peakKb = 0;
};

Settings parse(int argc, char** argv) {
    Settings s;
    const std::map<std::string, int*> flags{{"--cameras", &s.cameras}, {"--pictures", &s.pictures},
                                            {"--latency", &s.latencyMs}, {"--jobs", &s.jobs},
                                            {"--compare", &s.compare}};
    for (int i = 1; i + 1 < argc; i += 2) {
        const auto flag = flags.find(argv[i]);
        if (flag == flags.end()) {
            std::fprintf(stderr, "usage: %s [--cameras N] [--pictures N] [--latency MS] [--jobs N] [--compare N]\n", argv[0]);
            std::exit(2);
        }
        *flag->second = std::atoi(argv[i + 1]);
    }
    return s;
}

Measure runTool(const std::vector<std::string>& args) {
    std::vector<std::string> copies = args;
    std::vector<char*> argv{const_cast<char*>(FACEKEEPER_BACKUP)};
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    std::fflush(stdout);  // the child must not print the parent's buffer again
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (!freopen("/dev/null", "w", stdout)) _exit(127);
        execv(FACEKEEPER_BACKUP, argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    Measure m;
    if (wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status)) m.code = WEXITSTATUS(status);
    m.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    m.peakKb = usage.ru_maxrss;
    return m;
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
            camera.faces().addImage(image);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Settings s = parse(argc, argv);
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

    const Measure first = runTool({"backup", "--csv", all, "--to", dir, "--jobs", jobs});
    const unsigned long long bytes = packageBytes(dir);
    const long written = packageCount(dir);
    std::printf("first run:  exit %d, %.1f s, peak %.1f MB, %ld packages, %.1f MB, %.2f MB/s\n",
                first.code, first.seconds, first.peakKb / 1024.0, written, bytes / 1e6,
                bytes / 1e6 / first.seconds);
    const Measure second = runTool({"backup", "--csv", all, "--to", dir, "--jobs", jobs});
    const long newPackages = packageCount(dir) - written;
    std::printf("second run: exit %d, %.1f s (%.1f %% of the first), peak %.1f MB, %ld new packages\n",
                second.code, second.seconds, 100.0 * second.seconds / first.seconds,
                second.peakKb / 1024.0, newPackages);
    bool ok = first.code == 0 && second.code == 0 && newPackages == 0;
    if (s.compare > 0 && s.compare < s.cameras) {
        const std::string few = csvOf(cameras, s.compare, scratch.path() + "/few.csv");
        const Measure small = runTool({"backup", "--csv", few, "--to", scratch.path() + "/few",
                                       "--jobs", jobs});
        std::printf("first run with %d cameras: exit %d, %.1f s, peak %.1f MB\n", s.compare,
                    small.code, small.seconds, small.peakKb / 1024.0);
        ok = ok && small.code == 0;
    }
    return ok ? 0 : 1;
}
