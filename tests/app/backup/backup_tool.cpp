#include "backup_tool.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include <QDataStream>
#include <QFile>

#include "dbutil/deviceinfofactory.h"
#include "support/camera_fixture.h"

extern char** environ;

namespace backuptest {
namespace fs = std::filesystem;

Running::Running(const std::vector<std::string>& args, const std::string& scratch,
                 std::string program) {
    static int counter = 0;
    const std::string stem = scratch + "/run" + std::to_string(++counter);
    outPath_ = stem + ".out";
    errPath_ = stem + ".err";
    std::vector<char*> argv;
    if (program.empty()) program = FACEKEEPER_BACKUP;
    argv.push_back(program.data());
    std::vector<std::string> copies = args;
    for (std::string& arg : copies) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&files, 1, outPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, errPath_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (posix_spawn(&pid_, program.c_str(), &files, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&files);
}

Running::~Running() {
    if (pid_ > 0 && !reaped_) {
        ::kill(pid_, SIGKILL);
        wait();
    }
}

void Running::kill(int signal) {
    if (pid_ > 0 && !reaped_) ::kill(pid_, signal);
}

Outcome Running::wait() {
    Outcome outcome;
    int status = 0;
    if (pid_ > 0 && !reaped_ && waitpid(pid_, &status, 0) == pid_) {
        reaped_ = true;
        outcome.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    outcome.out = readFile(outPath_);
    outcome.err = readFile(errPath_);
    return outcome;
}

Outcome run(const std::vector<std::string>& args, const std::string& scratch,
            const std::string& program) {
    return Running(args, scratch, program).wait();
}

Outcome runOnTerminal(const std::vector<std::string>& args, const std::string& scratch) {
    std::string command = FACEKEEPER_BACKUP;
    for (const std::string& arg : args) command += " '" + arg + "'";
    return run({"-qec", command, "/dev/null"}, scratch, "/usr/bin/script");
}

int64_t addRecord(camsim::Camera& camera, const std::string& libid, const std::string& name,
                  int seed) {
    camsim::NewImage image;
    image.libid = libid;
    image.name = name;
    image.uid = "u" + std::to_string(seed);
    image.ext = {"dept" + std::to_string(seed % 3), "", "", "", ""};
    image.bytes = testsupport::makeJpeg(120 + seed % 40, 140, std::string(200 + seed, char('A' + seed % 26)));
    const camsim::StoreResult added = camera.faces().addImage(image);
    return added.code == 0 ? added.data["imgid"].asInt64() : -1;
}

std::string addLibrary(camsim::Camera& camera, const std::string& name, int records, int seed) {
    const camsim::StoreResult made = camera.faces().createLibrary(name, 80);
    const std::string libid = made.data["libid"].asString();
    for (int i = 0; i < records; ++i) addRecord(camera, libid, name + "_" + std::to_string(i), seed + i);
    return libid;
}

std::string csvOf(const std::vector<camsim::Camera*>& cameras) {
    std::string csv = "address,user,password\n";
    for (const camsim::Camera* camera : cameras)
        csv += camera->config().address + "," + camera->config().user + "," +
               camera->config().password + "\n";
    return csv;
}

void writeDeviceStore(const std::string& path, const std::vector<camsim::Camera*>& cameras) {
    QVector<SDeviceInfo> devices;
    for (const camsim::Camera* camera : cameras)
        devices.append(SDeviceInfo(QString::fromStdString(camera->config().address),
                                   QString::fromStdString(camera->config().user),
                                   QString::fromStdString(camera->config().password)));
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly)) return;
    QDataStream out(&file);
    DeviceInfoFactory::writeDevices(out, devices);
}

std::vector<std::string> filesBelow(const std::string& dir, const std::string& suffix) {
    std::vector<std::string> found;
    if (!fs::exists(dir)) return found;
    for (const auto& entry : fs::recursive_directory_iterator(dir)) {
        const std::string name = entry.path().string();
        if (entry.is_regular_file() && name.size() >= suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            found.push_back(fs::relative(entry.path(), dir).string());
    }
    std::sort(found.begin(), found.end());
    return found;
}

std::vector<std::string> pictureMd5s(camsim::Camera& camera, const std::string& name) {
    std::vector<std::string> md5s;
    for (const camsim::LibraryRecord& library : camera.faces().snapshot())
        if (library.name == name)
            for (const auto& [imgid, image] : library.images)
                if (!image.bytes.empty()) md5s.push_back(image.md5);
    std::sort(md5s.begin(), md5s.end());
    return md5s;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool waitFor(const std::function<bool()>& check, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!check()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

}  // namespace backuptest
