// facekeeper-backup sync as a process: a package and the camera it was made from give the same
// plan, --dry-run changes nothing, a camera at the two-library limit fails the run without
// stopping the others, and --json parses.
#include <gtest/gtest.h>

#include "backup_tool.h"
#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "support/temp_dir.h"

namespace {

using namespace backuptest;

int changesTo(camsim::Camera& camera) {
    int count = 0;
    for (const camsim::JournalEntry& entry : camera.journal().entries())
        if (entry.authenticated && entry.path.find("/api/v1/recognize/") == 0 &&
            entry.path.find("list") == std::string::npos &&
            entry.path.find("get_") == std::string::npos &&
            entry.path.find("export_record") == std::string::npos)
            ++count;
    return count;
}

class SyncCliTest : public testsupport::CameraTest {
protected:
    testsupport::TempDir scratch{"sync-cli-test"};

    Outcome sync(const std::string& list, const std::string& from,
                 const std::vector<std::string>& to, std::vector<std::string> extra) {
        std::vector<std::string> args{"sync",   "--csv",   list,
                                      "--from", from,      "--library",
                                      "staff",  "--state", scratch.path() + "/state",
                                      "--to"};
        args.insert(args.end(), to.begin(), to.end());
        args.insert(args.end(), extra.begin(), extra.end());
        return run(args, scratch.path());
    }
};

TEST_F(SyncCliTest, PackageAndCameraPlansThenApply) {
    camsim::Camera& source = startCamera();
    camsim::Camera& target = startCamera();
    camsim::Camera& full = startCamera();
    addLibrary(source, "staff", 5, 1);
    const std::string libid = target.faces().createLibrary("staff", 80).data["libid"].asString();
    for (int i = 0; i < 3; ++i)
        addRecord(target, libid, "staff_" + std::to_string(i), 1 + i);
    addRecord(target, libid, "stale", 90);
    addLibrary(full, "a", 1, 60);
    addLibrary(full, "b", 1, 70);
    const std::string list = scratch.write("cameras.csv", csvOf({&source, &target, &full}));
    const std::string to = target.config().address;

    const std::string sourceOnly = scratch.write("source.csv", csvOf({&source}));
    const Outcome backedUp =
        run({"backup", "--csv", sourceOnly, "--to", scratch.path() + "/b"}, scratch.path());
    ASSERT_EQ(backedUp.code, 0) << backedUp.err;
    const std::vector<std::string> packages = filesBelow(scratch.path() + "/b", ".zip");
    ASSERT_EQ(packages.size(), 1u);
    const std::string package = scratch.path() + "/b/" + packages[0];

    target.journal().clear();
    const Outcome fromPackage = sync(list, package, {to}, {"--dry-run", "--json"});
    const Outcome fromCamera =
        sync(list, source.config().address + ":staff", {to}, {"--dry-run", "--json"});
    ASSERT_EQ(fromPackage.code, 0) << fromPackage.err;
    ASSERT_EQ(fromCamera.code, 0) << fromCamera.err;
    const Json::Value planned = testsupport::parseJson(fromPackage.out);
    EXPECT_EQ(planned["cameras"], testsupport::parseJson(fromCamera.out)["cameras"]);
    EXPECT_EQ(planned["cameras"][0]["summary"].asString(), "+2 ~0 -0") << fromPackage.out;
    EXPECT_EQ(planned["cameras"][0]["kept"].asInt(), 1);
    EXPECT_FALSE(planned["applied"].asBool());
    EXPECT_EQ(changesTo(target), 0);

    const Outcome applied = sync(list, package, {to, full.config().address}, {"--remove-missing"});
    EXPECT_EQ(applied.code, 1) << applied.out << applied.err;  // the camera at the limit
    EXPECT_NE(applied.out.find("+2 ~0 -1"), std::string::npos) << applied.out;
    EXPECT_NE(applied.out.find("not synced"), std::string::npos) << applied.out;
    EXPECT_EQ(pictureMd5s(target, "staff"), pictureMd5s(source, "staff"));

    const Outcome again = sync(list, package, {to}, {"--remove-missing", "--json"});
    EXPECT_EQ(again.code, 0) << again.err;
    EXPECT_EQ(testsupport::parseJson(again.out)["total"].asString(), "+0 ~0 -0");
    EXPECT_EQ(sync(list, package, {"127.0.0.1"}, {}).code, 2);  // not in the list
}

}  // namespace
