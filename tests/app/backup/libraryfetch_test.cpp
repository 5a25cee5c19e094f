// The two ways of reading a camera's library give the same records: whole (features included,
// as packages hold them) and listed (what a comparison needs, in fewer, larger pages).
#include <gtest/gtest.h>

#include "camsim.h"
#include "dbutil/interaction.h"
#include "libraryfetch.h"
#include "support/camera_fixture.h"
#include "support/sessions_env.h"

namespace {

class LibraryFetchTest : public testsupport::CameraTest {};

// What a comparison relies on, one line per record.
std::vector<std::string> summary(const SFeatrueList& records) {
    std::vector<std::string> lines;
    for (const SFeatrueInfoPtr& r : records)
        lines.push_back(std::to_string(r->imgid) + " " + r->uid.toStdString() + " " +
                        r->name.toStdString() + " " + r->ext.join('|').toStdString() + " " +
                        r->url.toStdString());
    return lines;
}

// Authenticated requests whose path ends so (a digest challenge is not a page read).
size_t requestsOn(camsim::Camera& camera, const std::string& tail) {
    size_t count = 0;
    for (const camsim::JournalEntry& entry : camera.journal().entries())
        count += entry.authenticated && entry.path.size() >= tail.size() &&
                 entry.path.compare(entry.path.size() - tail.size(), tail.size(), tail) == 0;
    return count;
}

TEST_F(LibraryFetchTest, ListingMatchesWholeRecordsInFewerPages) {
    camsim::Camera& camera = startCamera();
    const std::string libid = camera.faces().createLibrary("staff", 80).data["libid"].asString();
    constexpr int kRecords = 250;  // three listing pages, the last one short
    for (int i = 0; i < kRecords; ++i) {
        camsim::NewImage image;
        image.libid = libid;
        image.uid = "u" + std::to_string(i);
        image.name = "n" + std::to_string(i);
        image.ext = {"e" + std::to_string(i % 7), "", "x", "", ""};
        image.bytes = testsupport::makeJpeg(120, 140, std::string(100, char('A' + i % 26)));
        image.status = i % 2 ? camsim::kImageStatusExtracted : camsim::kImageStatusNone;
        image.feature = camsim::computeFeature(image.bytes);
        ASSERT_EQ(camera.faces().addImage(image).code, 0);
    }
    const auto& c = camera.config();
    const SDeviceInfo device(QString::fromStdString(c.address), QString::fromStdString(c.user),
                             QString::fromStdString(c.password));
    SDBInfo whole, listed;
    whole.libid = listed.libid = QString::fromStdString(libid);
    SFeatrueList wholeRecords, listedRecords;
    ASSERT_TRUE(backup::fetchRecords(device, &whole, &wholeRecords).ok);
    camera.journal().clear();
    ASSERT_TRUE(
        backup::fetchRecords(device, &listed, &listedRecords, backup::RecordForm::Listing).ok);

    EXPECT_EQ(listedRecords.size(), kRecords);
    // No room kept for a feature the listing does not carry: it would cost kilobytes a record.
    for (const SFeatrueInfoPtr& r : listedRecords)
        ASSERT_TRUE(r->feature.isNull()) << r->imgid;
    EXPECT_EQ(summary(listedRecords), summary(wholeRecords));
    EXPECT_EQ(listed.imgnum, kRecords);
    EXPECT_EQ(requestsOn(camera, "/fdlib/list_img"), 3u);
    EXPECT_EQ(requestsOn(camera, "/export_record"), 0u);
    // Side by side the pages go over a session of their own, logged in for the read; else over
    // the camera's one session, logged in already by the whole read.
    EXPECT_EQ(requestsOn(camera, "/digest/config"), testsupport::sessionsSideBySide() ? 1u : 0u);

    // A read whose own session cannot log in goes on over the camera's one session.
    camera.addFault({"/digest/config", camsim::FaultKind::Status, 500, 1});
    SDBInfo fallback;
    fallback.libid = listed.libid;
    SFeatrueList fallbackRecords;
    ASSERT_TRUE(
        backup::fetchRecords(device, &fallback, &fallbackRecords, backup::RecordForm::Listing).ok);
    EXPECT_EQ(summary(fallbackRecords), summary(wholeRecords));

    // A reader that stops after its first page: no further page is asked for, and the read fails.
    camera.journal().clear();
    int pages = 0;
    SDBInfo stopped;
    stopped.libid = listed.libid;
    EXPECT_FALSE(backup::fetchRecordPages(device, &stopped, backup::RecordForm::Listing,
                                          [&pages](const SFeatrueList&) { return ++pages < 1; })
                     .ok);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(requestsOn(camera, "/fdlib/list_img"), 1u);
    Interaction::instance().logoutAll();
}

}  // namespace
