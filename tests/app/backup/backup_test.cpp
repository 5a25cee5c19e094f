// facekeeper-backup run as a process against simulated cameras over real sockets.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "backup_tool.h"
#include "support/camera_fixture.h"
#include "support/ci_mode.h"
#include "support/http_client.h"
#include "support/temp_dir.h"

namespace {

using namespace backuptest;
namespace fs = std::filesystem;

class BackupTest : public testsupport::CameraTest {
protected:
    testsupport::TempDir scratch{"backup-test"};
    std::string dir = scratch.path() + "/backups";

    std::string csv(const std::vector<camsim::Camera*>& cameras) {
        return scratch.write("cameras.csv", csvOf(cameras));
    }
    Outcome tool(const std::vector<std::string>& args) { return run(args, scratch.path()); }
    Json::Value backupJson(const std::string& list, std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"backup", "--csv", list, "--to", dir, "--json"};
        args.insert(args.end(), extra.begin(), extra.end());
        last = tool(args);
        return testsupport::parseJson(last.out);
    }
    static const Json::Value& libraryOf(const Json::Value& manifest, const std::string& address,
                                        const std::string& name) {
        for (const Json::Value& camera : manifest["cameras"])
            if (camera["address"].asString() == address)
                for (const Json::Value& library : camera["libraries"])
                    if (library["name"].asString() == name) return library;
        static const Json::Value none;
        return none;
    }
    Outcome last;
};

// Two cameras with two and no libraries: a backup, an unchanged one, three records changed,
// a third backup that diff explains, a restore into the other camera, and the camera's limits.
TEST_F(BackupTest, VersionsDiffAndRestore) {
    camsim::Camera& source = startCamera();
    camsim::Camera& target = startCamera();
    const std::string staff = addLibrary(source, "staff", 12, 1);
    addLibrary(source, "visitors", 4, 50);
    const std::string list = csv({&source, &target});
    const std::string address = source.config().address;

    Json::Value first = backupJson(list);
    ASSERT_EQ(last.code, 0) << last.err;
    const Json::Value& stored = libraryOf(first, address, "staff");
    ASSERT_TRUE(stored.isObject()) << last.out << last.err;
    EXPECT_EQ(stored["outcome"].asString(), "stored");
    EXPECT_EQ(stored["records"].asInt(), 12);
    std::vector<std::string> manifestMd5s;
    for (const Json::Value& md5 : stored["picture_md5"]) manifestMd5s.push_back(md5.asString());
    std::sort(manifestMd5s.begin(), manifestMd5s.end());
    std::vector<std::string> cameraMd5s = pictureMd5s(source, "staff");
    for (std::string& md5 : cameraMd5s) md5 = lower(md5);
    EXPECT_EQ(manifestMd5s, cameraMd5s);
    EXPECT_TRUE(first["cameras"][1]["libraries"].empty());
    const std::string firstStaff = dir + "/" + stored["package"].asString();
    ASSERT_TRUE(fs::exists(firstStaff));

    Json::Value second = backupJson(list);
    ASSERT_EQ(last.code, 0) << last.err;
    EXPECT_EQ(libraryOf(second, address, "staff")["outcome"].asString(), "unchanged");
    EXPECT_EQ(libraryOf(second, address, "visitors")["outcome"].asString(), "unchanged");
    EXPECT_EQ(filesBelow(dir, ".zip").size(), 2u);

    // Three records change: a new name, a new text, one deleted.
    std::vector<int64_t> ids;
    for (const auto& library : source.faces().snapshot())
        if (library.name == "staff")
            for (const auto& [imgid, image] : library.images) ids.push_back(imgid);
    Json::Value rename;
    rename["name"] = "renamed";
    ASSERT_EQ(source.faces().updateImage(ids[2], staff, rename).code, 0);
    Json::Value text;
    text["ext3"] = "night shift";
    ASSERT_EQ(source.faces().updateImage(ids[5], staff, text).code, 0);
    ASSERT_EQ(source.faces().deleteImage(ids[7], staff).code, 0);

    Json::Value third = backupJson(list, {"--keep", "2"});
    ASSERT_EQ(last.code, 0) << last.err;
    EXPECT_EQ(libraryOf(third, address, "visitors")["outcome"].asString(), "unchanged");
    const std::string newStaff = dir + "/" + libraryOf(third, address, "staff")["package"].asString();
    Outcome diff = tool({"diff", firstStaff, newStaff});
    ASSERT_EQ(diff.code, 0) << diff.err;
    EXPECT_NE(diff.out.find("0 added, 1 removed, 2 changed"), std::string::npos) << diff.out;
    for (const std::string& line : {"changed " + std::to_string(ids[2]) + " renamed: name",
                                   "changed " + std::to_string(ids[5]) + " staff_5: ext3",
                                   "removed " + std::to_string(ids[7]) + " staff_7"})
        EXPECT_NE(diff.out.find(line), std::string::npos) << diff.out;
    EXPECT_EQ(std::count(diff.out.begin(), diff.out.end(), '\n'), 4) << diff.out;

    Outcome listed = tool({"list", dir});
    EXPECT_NE(listed.out.find("staff: 2 generations"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("visitors: 1 generation\n"), std::string::npos) << listed.out;

    const std::string to = target.config().address;
    Outcome restored = tool({"restore", "--csv", list, "--camera", to, "--from", newStaff});
    ASSERT_EQ(restored.code, 0) << restored.out << restored.err;
    EXPECT_EQ(pictureMd5s(target, "staff"), pictureMd5s(source, "staff"));
    EXPECT_EQ(pictureMd5s(target, "staff").size(), 11u);

    Outcome clash = tool({"restore", "--csv", list, "--camera", to, "--from", newStaff});
    EXPECT_EQ(clash.code, 1);
    EXPECT_NE(clash.err.find("already has a library named staff"), std::string::npos) << clash.err;
    ASSERT_EQ(tool({"restore", "--csv", list, "--camera", to, "--from", firstStaff, "--as", "old"}).code, 0);
    Outcome full = tool({"restore", "--csv", list, "--camera", to, "--from", newStaff, "--as", "third"});
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.err.find("already holds 2 libraries"), std::string::npos) << full.err;
    EXPECT_EQ(pictureMd5s(target, "old").size(), 12u);

    Outcome verified = tool({"verify", dir});
    EXPECT_EQ(verified.code, 0) << verified.out;
    EXPECT_NE(verified.out.find("3 packages verified, 0 failed"), std::string::npos) << verified.out;
}

}  // namespace

namespace {

// A good camera is stored while a silent one and one that locked its login are reported with
// their reasons; the run ends with 1.
TEST_F(BackupTest, FailingCamerasAreReportedWhileOthersAreStored) {
    camsim::Camera& good = startCamera();
    addLibrary(good, "staff", 3, 1);
    camsim::CameraConfig lockout;
    lockout.lockoutSeconds = 120;
    camsim::Camera& locked = startCamera(lockout);
    addLibrary(locked, "staff", 3, 10);
    const testsupport::HttpClient wrong(locked.config().address, "admin", "not-the-password");
    for (int i = 0; i < 5; ++i) wrong.get("/digest/config");
    const std::string silent = testsupport::freshLoopbackAddress();
    const std::string list = scratch.write(
        "cameras.csv", csvOf({&good, &locked}) + silent + ",admin,admin\n");

    const Json::Value manifest = backupJson(list);
    EXPECT_EQ(last.code, 1) << last.err;
    EXPECT_EQ(libraryOf(manifest, good.config().address, "staff")["outcome"].asString(), "stored");
    std::map<std::string, std::string> reasons;
    for (const Json::Value& camera : manifest["cameras"])
        reasons[camera["address"].asString()] = camera["outcome"].asString() + ": " + camera["reason"].asString();
    EXPECT_EQ(reasons[good.config().address], "ok: ");
    EXPECT_EQ(reasons[locked.config().address].rfind("failed: login locked for ", 0), 0u)
        << reasons[locked.config().address];
    EXPECT_EQ(reasons[silent].rfind("failed: no answer", 0), 0u) << reasons[silent];
    // Not a terminal: one plain line per camera.
    EXPECT_NE(last.err.find(silent + " FAILED: no answer"), std::string::npos) << last.err;
    EXPECT_NE(last.err.find(good.config().address + " staff: stored"), std::string::npos) << last.err;
    EXPECT_EQ(filesBelow(dir, ".zip").size(), 1u);

    // On a terminal: a table of one line per camera, redrawn in place.
    const Outcome live = runOnTerminal({"backup", "--csv", list, "--to", dir}, scratch.path());
    EXPECT_EQ(live.code, 1) << live.out;
    EXPECT_NE(live.out.find("\033[3A"), std::string::npos) << live.out;
    EXPECT_NE(live.out.find("staff: unchanged"), std::string::npos) << live.out;
    EXPECT_NE(live.out.find("FAILED: login locked for"), std::string::npos) << live.out;
}

// A run killed with SIGKILL leaves no visible package and a lock the next run takes over; a
// run stopped by SIGTERM ends its current library and writes the manifest.
TEST_F(BackupTest, KilledAndStoppedRuns) {
    camsim::Camera& camera = startCamera();
    addLibrary(camera, "staff", 40, 1);
    addLibrary(camera, "visitors", 40, 100);
    camera.addFault({"*", camsim::FaultKind::Latency, 25, -1});
    const std::string list = csv({&camera});
    // Pictures in a run's own work directory: it is working on its first library.
    const auto picturesBeingRead = [&](const Running& run) {
        return [&] { return !filesBelow(dir + "/.work-" + std::to_string(run.pid()), ".jpg").empty(); };
    };

    Running killed({"backup", "--csv", list, "--to", dir}, scratch.path());
    ASSERT_TRUE(waitFor(picturesBeingRead(killed), 20000));
    killed.kill(SIGKILL);
    ASSERT_EQ(killed.wait().code, 128 + SIGKILL);
    EXPECT_TRUE(filesBelow(dir, ".zip").empty());
    EXPECT_EQ(readFile(dir + "/lock"), std::to_string(killed.pid()) + "\n");

    Running stopped({"backup", "--csv", list, "--to", dir, "--json"}, scratch.path());
    ASSERT_TRUE(waitFor(picturesBeingRead(stopped), 20000));
    stopped.kill(SIGTERM);
    const Outcome interrupted = stopped.wait();
    EXPECT_EQ(interrupted.code, 1);
    EXPECT_NE(interrupted.err.find("took over the lock of process " + std::to_string(killed.pid())),
              std::string::npos) << interrupted.err;
    const Json::Value manifest = testsupport::parseJson(interrupted.out);
    EXPECT_TRUE(manifest["interrupted"].asBool()) << interrupted.out;
    EXPECT_EQ(libraryOf(manifest, camera.config().address, "staff")["outcome"].asString(), "stored");
    EXPECT_EQ(libraryOf(manifest, camera.config().address, "visitors")["outcome"].asString(), "not done");

    camera.clearFaults();
    const Json::Value complete = backupJson(list);
    EXPECT_EQ(last.code, 0) << last.err;
    EXPECT_EQ(libraryOf(complete, camera.config().address, "visitors")["outcome"].asString(), "stored");
    EXPECT_EQ(filesBelow(dir, ".zip").size(), 2u);
    EXPECT_TRUE(filesBelow(dir, ".part").empty());
    EXPECT_TRUE(filesBelow(dir, ".jpg").empty());
    EXPECT_EQ(tool({"verify", dir}).code, 0);
}

TEST_F(BackupTest, SecondRunAtOnceIsRefused) {
    camsim::Camera& camera = startCamera();
    addLibrary(camera, "staff", 30, 1);
    camera.addFault({"*", camsim::FaultKind::Latency, 25, -1});
    const std::string list = csv({&camera});
    Running first({"backup", "--csv", list, "--to", dir}, scratch.path());
    const std::string holder = std::to_string(first.pid());
    ASSERT_TRUE(waitFor([&] { return readFile(dir + "/lock") == holder + "\n"; }, 20000));

    const Outcome second = tool({"backup", "--csv", list, "--to", dir});
    EXPECT_EQ(second.code, 3);
    EXPECT_NE(second.err.find("another backup run (process " + holder + ")"), std::string::npos)
        << second.err;
    EXPECT_EQ(first.wait().code, 0);
}

TEST_F(BackupTest, VerifyFindsACorruptedPackage) {
    camsim::Camera& camera = startCamera();
    addLibrary(camera, "staff", 5, 1);
    addLibrary(camera, "visitors", 5, 20);
    const Json::Value manifest = backupJson(csv({&camera}));
    ASSERT_EQ(last.code, 0) << last.err;
    const std::string package =
        libraryOf(manifest, camera.config().address, "visitors")["package"].asString();
    std::string bytes = readFile(dir + "/" + package);
    bytes[bytes.size() / 2] ^= 0x5a;
    scratch.write("backups/" + package, bytes);

    const Outcome verified = tool({"verify", dir});
    EXPECT_EQ(verified.code, 1);
    EXPECT_NE(verified.out.find("FAILED " + package + ": its SHA-256 differs"), std::string::npos)
        << verified.out;
    EXPECT_NE(verified.out.find("1 packages verified, 1 failed"), std::string::npos) << verified.out;
}

}  // namespace

namespace {

// A small tmpfs as the backup disk: the library fails, nothing partial is left, and the
// manifest, written once the work files are gone, says why.
TEST_F(BackupTest, FullDiskFailsCleanly) {
    const std::string disk = scratch.path() + "/disk";
    fs::create_directory(disk);
    if (std::system(("mount -t tmpfs -o size=16k tmpfs " + disk + " 2>/dev/null").c_str()) != 0) {
        if (testsupport::skipsAreFailures()) FAIL() << "cannot mount a tmpfs";
        GTEST_SKIP() << "cannot mount a tmpfs here";
    }
    struct Unmount {
        std::string path;
        ~Unmount() { std::system(("umount -l " + path).c_str()); }
    } unmount{disk};
    camsim::Camera& camera = startCamera();
    addLibrary(camera, "staff", 30, 1);

    const Outcome full = tool({"backup", "--csv", csv({&camera}), "--to", disk + "/b"});
    EXPECT_EQ(full.code, 1);
    EXPECT_NE(full.out.find("staff: failed"), std::string::npos) << full.out;
    const std::vector<std::string> left = filesBelow(disk, "");
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0], "b/lock");
    const Json::Value manifest = testsupport::parseJson(readFile(disk + "/" + left[1]));
    const Json::Value& library = manifest["cameras"][0]["libraries"][0];
    EXPECT_EQ(library["outcome"].asString(), "failed");
    EXPECT_NE(library["reason"].asString().find("No space left"), std::string::npos) << library;
}

// Packages sealed to a public key: unzip cannot read them, the secret key restores them, a
// wrong key is refused, and a key others may read is not used.
TEST_F(BackupTest, EncryptedBackups) {
    camsim::Camera& source = startCamera();
    camsim::Camera& target = startCamera();
    addLibrary(source, "staff", 6, 1);
    const std::string list = csv({&source, &target});
    const std::string keys = scratch.path() + "/site";
    ASSERT_EQ(tool({"keygen", "--out", keys}).code, 0);
    ASSERT_EQ(tool({"keygen", "--out", scratch.path() + "/other"}).code, 0);
    for (const std::string suffix : {".pub", ".key"})
        EXPECT_EQ(fs::status(keys + suffix).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(tool({"keygen", "--out", keys}).code, 0);  // never replaced

    const Outcome sealed = tool({"backup", "--csv", list, "--to", dir, "--recipient", keys + ".pub"});
    ASSERT_EQ(sealed.code, 0) << sealed.err;
    EXPECT_EQ(sealed.out.find("not encrypted"), std::string::npos) << sealed.out;
    const std::vector<std::string> packages = filesBelow(dir, ".zip.sealed");
    ASSERT_EQ(packages.size(), 1u);
    const std::string package = dir + "/" + packages[0];
    EXPECT_NE(std::system(("unzip -tq " + package + " >/dev/null 2>&1").c_str()), 0);
    EXPECT_EQ(filesBelow(dir, ".json.sealed").size(), 1u);
    EXPECT_TRUE(filesBelow(dir + "/manifests", ".json").empty());

    const std::string to = target.config().address;
    const Outcome wrong = tool({"restore", "--csv", list, "--camera", to, "--from", package,
                                "--key", scratch.path() + "/other.key"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_NE(wrong.err.find("the key does not open this file"), std::string::npos) << wrong.err;
    EXPECT_EQ(tool({"verify", dir}).code, 1);  // the manifest cannot be read without the key

    fs::permissions(keys + ".key", fs::perms::group_read, fs::perm_options::add);
    const Outcome open = tool({"verify", dir, "--key", keys + ".key"});
    EXPECT_EQ(open.code, 2);
    EXPECT_NE(open.err.find("is open to other users"), std::string::npos) << open.err;
    fs::permissions(keys + ".key", fs::perms::group_read, fs::perm_options::remove);

    const Outcome verified = tool({"verify", dir, "--key", keys + ".key"});
    EXPECT_EQ(verified.code, 0) << verified.out;
    const Outcome restored = tool({"restore", "--csv", list, "--camera", to, "--from", package,
                                   "--key", keys + ".key"});
    ASSERT_EQ(restored.code, 0) << restored.err;
    EXPECT_EQ(pictureMd5s(target, "staff"), pictureMd5s(source, "staff"));

    // Unencrypted runs say so, once.
    const Outcome plain = tool({"backup", "--csv", list, "--to", scratch.path() + "/plain"});
    ASSERT_EQ(plain.code, 0) << plain.err;
    const size_t notice = plain.out.find("not encrypted");
    ASSERT_NE(notice, std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find("not encrypted", notice + 1), std::string::npos) << plain.out;
}

}  // namespace

namespace {

// A record whose picture the camera cannot give: stored without it and said so, never taken
// for unchanged (the picture may come back), and listed by a restore. --keep 1 prunes the
// first package after the second verified. The cameras come from a device list file this time.
TEST_F(BackupTest, PicturesTheCameraDidNotGive) {
    camsim::Camera& source = startCamera();
    camsim::Camera& target = startCamera();
    const std::string libid = addLibrary(source, "staff", 3, 1);
    const int64_t imgid = addRecord(source, libid, "no_picture", 9);
    source.addFault({"/images/" + std::to_string(imgid) + ".jpg", camsim::FaultKind::Status, 500, -1});
    const std::string store = scratch.path() + "/kestrel.data";
    writeDeviceStore(store, {&source, &target});

    for (int run = 0; run < 2; ++run) {
        last = tool({"backup", "--devices", store, "--to", dir, "--json", "--keep", "1"});
        const Json::Value manifest = testsupport::parseJson(last.out);
        const Json::Value& library = libraryOf(manifest, source.config().address, "staff");
        EXPECT_EQ(last.code, 0) << last.err;
        EXPECT_EQ(library["outcome"].asString(), "stored") << run;
        EXPECT_EQ(library["records"].asInt(), 4);
        EXPECT_EQ(library["pictures"].asInt(), 3);
        EXPECT_EQ(library["reason"].asString(), "1 pictures the camera did not give");
    }
    // The older generation went once the newer one had verified.
    const std::vector<std::string> packages = filesBelow(dir, ".zip");
    ASSERT_EQ(packages.size(), 1u);
    EXPECT_EQ(filesBelow(dir, ".sum.json").size(), 1u);
    const Outcome verified = tool({"verify", dir});
    EXPECT_EQ(verified.code, 0) << verified.out;
    const Outcome restored = tool({"restore", "--devices", store, "--camera", target.config().address,
                                   "--from", dir + "/" + packages[0]});
    EXPECT_EQ(restored.code, 1);
    EXPECT_NE(restored.out.find("skipped " + std::to_string(imgid) + " no_picture: no picture in the package"),
              std::string::npos) << restored.out;
    EXPECT_NE(restored.out.find("restored 3 of 4 records"), std::string::npos) << restored.out;
    EXPECT_EQ(pictureMd5s(target, "staff").size(), 3u);
}

}  // namespace
