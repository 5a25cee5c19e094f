// "Sync Batch" from the device page over three simulated cameras, followed to its report. A
// package is planned against a camera without its library, one holding an older copy (a
// renamed record, a changed picture, a stale record, one without uid) and one at the
// two-library limit. Cancel after the plan sends nothing; Apply makes the first two hold the
// package exactly and leaves the third alone; "Retry failed" on the report syncs the third once
// it has room, without sending the others anything again.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QtTest>

#include "batch/dialogs/batchsyncdlg.h"
#include "batch/dialogs/synctargetmodel.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/devicelabels.h"
#include "dbutil/interaction.h"
#include "gui_answer.h"
#include "page_harness.h"
#include "pictures.h"
#include "ui/reports/reportdialog.h"
#include "ui/reports/reportmodel.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

constexpr int kJobWaitMs = 60000;
const std::string kAddPath = "/api/v1/recognize/fdlib/add_img";
const std::string kExtractPath = "/api/v1/recognize/fdlib/extract";

struct Person {
    const char* uid;
    const char* name;
    int seed;  // the picture
};

camsim::PreloadedLibrary library(const QString& dir, const char* name,
                                 std::initializer_list<Person> people) {
    camsim::PreloadedLibrary made{name, 80, {}};
    for (const Person& person : people) {
        const QString file = QString("%1_%2.jpg").arg(person.name).arg(person.seed);
        made.images.push_back(
            {testpictures::writeJpeg(dir, file, 140, 150, person.seed).toStdString(), person.name,
             person.uid});
    }
    return made;
}

camsim::Camera* holding(testsupport::CameraSet& cameras,
                        std::vector<camsim::PreloadedLibrary> libraries) {
    camsim::CameraConfig config;
    config.libraries = std::move(libraries);
    camsim::Camera* camera = mustStart(cameras, config);
    if (!camera->preload().empty()) qFatal("camera not filled");
    return camera;
}

// "uid name md5" of every record of the camera's library called name, sorted.
QStringList recordsOf(camsim::Camera& camera, const std::string& name) {
    QStringList rows;
    for (const camsim::LibraryRecord& held : camera.faces().snapshot())
        if (held.name == name)
            for (const auto& [imgid, image] : held.images)
                rows << QString::fromStdString(image.uid + " " + image.name + " " + image.md5);
    rows.sort();
    return rows;
}

QString exportPackage(const camsim::Camera& camera, const QString& zip) {
    SDeviceInfo device = deviceOf(camera);
    if (!Interaction::instance().refreshDbList(&device) || device.dbs.isEmpty())
        qFatal("source library not listed");
    DbExportModule job(device, device.dbs.first().libid);
    job.setSavePath(zip);
    job.start();
    if (!job.wait(kJobWaitMs) || job.errorCode() != 0) qFatal("export failed");
    return zip;
}

// "outcome" -> rows of the camera, and the records (uids) its rows name.
QMap<QString, int> outcomesOf(const ReportModel& model, const QString& camera,
                              QStringList* uids = nullptr) {
    QMap<QString, int> counts;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, ReportModel::Camera).data().toString() != camera) continue;
        ++counts[model.index(row, ReportModel::Outcome).data().toString()];
        if (uids) *uids << model.index(row, ReportModel::File).data().toString();
    }
    if (uids) uids->sort();
    return counts;
}

// Presses Plan and waits until every camera has answered.
bool planned(BatchSyncDlg* dialog) {
    QSignalSpy done(dialog, &BatchSyncDlg::signalPlanDone);
    dialog->findChild<QPushButton*>("btn_plan")->click();
    return done.count() > 0 || done.wait(kJobWaitMs);
}

// The plan column, camera -> text, and the cameras shown refused.
QMap<QString, QString> plansOf(const SyncTargetModel& model, QStringList* refused) {
    QMap<QString, QString> plans;
    for (const SyncTargetModel::Target& target : model.targets()) {
        plans.insert(target.device.ip, target.plan);
        if (target.refused) *refused << target.device.ip;
    }
    return plans;
}

}  // namespace

class SyncDialogTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir files_;

private slots:
    void cleanup() { cameras_.stopAll(); }

    void planApplyAndRetryFromThePackage() {
        const QString dir = files_.path();
        camsim::Camera& source = *holding(
            cameras_,
            {library(dir, "staff",
                     {{"u1", "Ann", 1}, {"u2", "Bob", 2}, {"u3", "Cy", 3}, {"u4", "Dee", 4}})});
        const QString zip = exportPackage(source, files_.filePath("staff.zip"));
        camsim::Camera& empty = *holding(cameras_, {});
        camsim::Camera& older = *holding(cameras_, {library(dir, "staff",
                                                            {{"u1", "Ann", 1},
                                                             {"u2", "Bobby", 2},
                                                             {"u3", "Cy", 33},
                                                             {"u9", "Gone", 9},
                                                             {"", "Keeper", 50}})});
        camsim::Camera& full = *holding(cameras_, {library(dir, "x", {}), library(dir, "y", {})});
        const SDeviceInfo a = deviceOf(empty), b = deviceOf(older), c = deviceOf(full);
        const QStringList olderBefore = recordsOf(older, "staff");

        PageHarness harness;  // in a directory of its own, where the labels go too
        {
            DeviceLabels labels(DeviceLabels::fileBeside(DeviceInfoFactory::kDefaultFileName));
            labels.set(a.ip, {"Gate 1", "Site A"});
            QVERIFY(labels.save());
        }
        IndexPage& page = harness.open({deviceOf(source), a, b, c});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        for (const SDeviceInfo& target : {a, b, c})
            harness.model()->setData(
                harness.model()->index(harness.rowOf(target.ip), DeviceInfoTableModel::ColumnCheck),
                Qt::Checked, Qt::CheckStateRole);
        auto* dialog = page.findChild<BatchSyncDlg*>();
        harness.button("btn_sync_batch")->click();
        QVERIFY(dialog->isVisible());
        const SyncTargetModel& targets = *dialog->model();
        QCOMPARE(targets.rowCount(), 3);  // the untouched source camera is no target
        QCOMPARE(targets.index(0, SyncTargetModel::Name).data().toString(), QString("Gate 1"));
        QCOMPARE(targets.index(0, SyncTargetModel::Group).data().toString(), QString("Site A"));
        {
            FileAnswer chosen(zip);
            dialog->findChild<QPushButton*>("btn_browse")->click();
            QTRY_VERIFY(chosen.done());
        }
        dialog->findChild<QCheckBox*>("chk_remove_missing")->setChecked(true);
        auto* apply = dialog->findChild<QPushButton*>("btn_apply");
        QVERIFY(!apply->isEnabled());

        // The plan reads only; Cancel leaves every camera as it was.
        QVERIFY(planned(dialog));
        QCOMPARE(dialog->findChild<QLineEdit*>("edit_library")->text(), QString("staff"));
        QStringList refused;
        const QMap<QString, QString> plans = plansOf(targets, &refused);
        QCOMPARE(plans.value(a.ip), QString("+4 ~0 -0 (new library)"));
        QCOMPARE(plans.value(b.ip), QString("+1 ~2 -1 (without uid, left alone: 1)"));
        QCOMPARE(refused, QStringList{c.ip});
        QCOMPARE(plans.value(c.ip),
                 QString("The camera already holds 2 libraries, none called staff."));
        QVERIFY(dialog->findChild<QLabel*>("label_totals")->text().contains("+5 ~2 -1"));
        QVERIFY(apply->isEnabled());
        dialog->findChild<QPushButton*>("btn_cancel")->click();
        QVERIFY(!dialog->isVisible());
        QVERIFY(empty.faces().snapshot().empty());
        QCOMPARE(recordsOf(older, "staff"), olderBefore);

        // Planned again and applied: two cameras are asked about, the third is reported.
        harness.button("btn_sync_batch")->click();
        QVERIFY(planned(dialog));
        ReportDialog* report = nullptr;
        {
            BoxAnswer fleet(QMessageBox::Ok);
            DetailsAnswer summary;
            apply->click();
            QTRY_VERIFY_WITH_TIMEOUT(summary.done(), kJobWaitMs);
            QCOMPARE(fleet.text, QString("Sync 2 cameras?"));
            QTRY_VERIFY_WITH_TIMEOUT((report = page.findChild<ReportDialog*>()), kJobWaitMs);
        }
        const QStringList wanted = recordsOf(source, "staff");
        QCOMPARE(recordsOf(empty, "staff"), wanted);
        const QString keeper = olderBefore.filter(QRegularExpression("^ Keeper")).value(0);
        QStringList wantedBeside = QStringList(wanted) << keeper;
        wantedBeside.sort();
        QCOMPARE(recordsOf(older, "staff"), wantedBeside);
        QCOMPARE(full.faces().snapshot().size(), size_t(2));
        QVERIFY(recordsOf(full, "staff").isEmpty());
        QVERIFY(!empty.journal().on(kExtractPath).empty());  // "Extract features afterwards"
        QVERIFY(full.journal().on(kExtractPath).empty());
        const QString stored = reports::outcomeText(reports::Outcome::Stored);
        const QString failed = reports::outcomeText(reports::Outcome::Failed);
        QStringList uids;
        QCOMPARE(outcomesOf(*report->model(), a.ip), (QMap<QString, int>{{stored, 4}}));
        QCOMPARE(outcomesOf(*report->model(), b.ip, &uids), (QMap<QString, int>{{stored, 4}}));
        QCOMPARE(uids, (QStringList{"u2", "u3", "u4", "u9"}));
        QCOMPARE(outcomesOf(*report->model(), c.ip), (QMap<QString, int>{{failed, 1}}));

        // Room made on the third camera: the retry plans it alone and sends it the package.
        std::string spare;
        for (const camsim::LibraryRecord& held : full.faces().snapshot())
            if (held.name == "y") spare = held.libid;
        QCOMPARE(full.faces().deleteLibrary(spare).code, 0);
        const size_t sent[] = {empty.journal().on(kAddPath).size(),
                               older.journal().on(kAddPath).size()};
        {
            QSignalSpy replanned(dialog, &BatchSyncDlg::signalPlanDone);
            const QPointer<ReportDialog> first(report);
            report->findChild<QPushButton*>("btn_retry")->click();
            QVERIFY(replanned.wait(kJobWaitMs));
            QTRY_VERIFY(!first);  // closed by its retry
        }
        QCOMPARE(plansOf(targets, &refused),
                 (QMap<QString, QString>{{c.ip, "+4 ~0 -0 (new library)"}}));
        ReportDialog* retried = nullptr;
        {
            DetailsAnswer summary;
            apply->click();
            QTRY_VERIFY_WITH_TIMEOUT(summary.done(), kJobWaitMs);
            QTRY_VERIFY_WITH_TIMEOUT((retried = page.findChild<ReportDialog*>()), kJobWaitMs);
        }
        QCOMPARE(outcomesOf(*retried->model(), c.ip), (QMap<QString, int>{{stored, 4}}));
        QCOMPARE(retried->model()->rowCount(), 4);
        QCOMPARE(recordsOf(full, "staff"), wanted);
        QCOMPARE(empty.journal().on(kAddPath).size(), sent[0]);
        QCOMPARE(older.journal().on(kAddPath).size(), sent[1]);
    }

    // Closing the program during an Apply: the exit guard sees the sync, which stops between
    // records and leaves no box behind.
    void closingTheProgramStopsAnApply() {
        const QString dir = files_.path();
        camsim::Camera& source = *holding(
            cameras_, {library(dir, "gate", {{"g1", "A", 11}, {"g2", "B", 12}, {"g3", "C", 13},
                                             {"g4", "D", 14}, {"g5", "E", 15}, {"g6", "F", 16},
                                             {"g7", "G", 17}, {"g8", "H", 18}})});
        const QString zip = exportPackage(source, files_.filePath("gate.zip"));
        camsim::Camera& slow = *holding(cameras_, {});
        PageHarness harness;
        IndexPage& page = harness.open({deviceOf(slow)});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        harness.model()->setData(harness.model()->index(0, DeviceInfoTableModel::ColumnCheck),
                                 Qt::Checked, Qt::CheckStateRole);
        auto* dialog = page.findChild<BatchSyncDlg*>();
        harness.button("btn_sync_batch")->click();
        {
            FileAnswer chosen(zip);
            dialog->findChild<QPushButton*>("btn_browse")->click();
            QTRY_VERIFY(chosen.done());
        }
        QVERIFY(planned(dialog));
        slow.addFault({"*", camsim::FaultKind::Latency, 300, -1});
        QSignalSpy applied(dialog, &BatchSyncDlg::signalApplied);
        dialog->findChild<QPushButton*>("btn_apply")->click();
        QVERIFY(harness.jobs().tasks() & JobControl::SyncBatch);
        QTRY_VERIFY_WITH_TIMEOUT(!slow.journal().on(kAddPath).empty(), kJobWaitMs);
        harness.jobs().setClosing(true);  // what the exit guard does once the operator agrees
        harness.jobs().cancelAll(true);
        QTRY_COMPARE_WITH_TIMEOUT(harness.jobs().tasks(), quint16(0), kJobWaitMs);
        QCOMPARE(applied.count(), 1);
        QVERIFY(!QApplication::activeModalWidget());
        QVERIFY(recordsOf(slow, "gate").size() < 8);
        slow.clearFaults();
    }
};

QTEST_MAIN(SyncDialogTest)
#include "sync_dialog_test.moc"
