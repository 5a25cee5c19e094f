// The batch dialogs opened from the device page, against simulated cameras: who is listed, the
// choices in the tables, the start flows with their file dialogs and questions, the per-camera
// rows of the overlay with a row's Cancel, and the summaries.
#include <QHeaderView>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>
#include <optional>

#include "batch/dialogs/batchextractdlg.h"
#include "batch/dialogs/batchimportdlg.h"
#include "batch/dialogs/batchuploaddlg.h"
#include "dbutil/dbexportmodule.h"
#include "dbutil/interaction.h"
#include "gui_answer.h"
#include "page_harness.h"
#include "pictures.h"
#include "ui/widgets/progressmodel.h"
#include "ui/widgets/progresswidget.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

constexpr int kJobWaitMs = 60000;

camsim::CameraConfig withLibraries(std::initializer_list<const char*> names) {
    camsim::CameraConfig config;
    for (const char* name : names)
        config.libraries.push_back(camsim::PreloadedLibrary{name, 80, {}});
    return config;
}

SDBInfo listed(SDeviceInfo device, const QString& name) {
    if (!Interaction::instance().refreshDbList(&device)) qFatal("library list not read");
    for (const SDBInfo& db : device.dbs)
        if (db.name == name) return db;
    return SDBInfo();
}

void doubleClickHeader(QTableWidget* table, int column) {
    QHeaderView* header = table->horizontalHeader();
    emit header->sectionDoubleClicked(column);
}

QTableWidget* tableOf(QDialog* dialog) {
    return dialog->findChild<QTableWidget*>("tableWidget");
}

// What the operator was asked and told while a job started and ended.
struct StartFlow {
    QString fleet;     // the question before writing to more than one camera
    QString question;  // the question after the pictures were checked
    QString summary;   // the box that ends the job (or tells why it did not start)
};

// Presses the dialog's start button, answers the fleet question (when fleet) and the file
// dialog with path, then the question after the check (when partial) and waits for the box that
// ends the job.
StartFlow startAndSummarise(QDialog* dialog, const QString& path, bool fleet,
                            bool partial = false) {
    StartFlow flow;
    std::optional<BoxAnswer> fleetAnswer;
    if (fleet) fleetAnswer.emplace(QMessageBox::Ok);
    FileAnswer file(path);
    dialog->findChild<QPushButton*>("btn_ok")->click();
    if (fleetAnswer) flow.fleet = fleetAnswer->done() ? fleetAnswer->text : "not asked";
    if (!QTest::qWaitFor([&] { return file.done(); }, 5000)) return {flow.fleet, {}, "no file"};
    if (partial) {
        BoxAnswer question(QMessageBox::Ok);
        if (!QTest::qWaitFor([&] { return question.done(); }, kJobWaitMs))
            return {flow.fleet, "no question", {}};
        flow.question = question.text;
    }
    BoxAnswer summary;
    if (!QTest::qWaitFor([&] { return summary.done(); }, kJobWaitMs))
        flow.summary = "no summary";
    else
        flow.summary = summary.text;
    return flow;
}

}  // namespace

class BatchDialogsTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir files_;

    // A package of one library "gate" with three pictures, exported from a camera of its own.
    QString package() {
        camsim::CameraConfig config = withLibraries({"gate"});
        for (int i = 0; i < 3; ++i) {
            const QString path =
                testpictures::writeJpeg(files_.path(), QString("g%1.jpg").arg(i), 140, 150, i);
            config.libraries[0].images.push_back(
                {path.toStdString(), QString("g%1").arg(i).toStdString(), {}});
        }
        camsim::Camera* source = mustStart(cameras_, config);
        if (!source->preload().empty()) qFatal("package source not filled");
        const SDeviceInfo device = deviceOf(*source);
        const QString zip = files_.filePath("gate.zip");
        DbExportModule job(device, listed(device, "gate").libid);
        job.setSavePath(zip);
        job.start();
        if (!job.wait(kJobWaitMs) || job.errorCode() != 0) qFatal("export failed");
        return zip;
    }

private slots:
    void cleanup() { cameras_.stopAll(); }

    void importOverThreeCamerasWithOneFailing() {
        const QString zip = package();
        const SDeviceInfo good1 = deviceOf(*mustStart(cameras_));
        camsim::Camera* refusing = mustStart(cameras_, withLibraries({"one"}));
        QCOMPARE(refusing->preload(), std::string());
        const SDeviceInfo good2 = deviceOf(*mustStart(cameras_));
        camsim::Camera* full = mustStart(cameras_, withLibraries({"a", "b"}));
        QCOMPARE(full->preload(), std::string());
        PageHarness harness;
        IndexPage& page = harness.open({good1, deviceOf(*refusing), good2, deviceOf(*full)});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        camsim::HttpResponse limit;
        limit.body = R"({"code":2001,"msg":"library limit reached"})";
        refusing->setCannedReply("/api/v1/recognize/add_fdlib", limit);

        auto* dialog = page.findChild<BatchImportDlg*>();
        harness.button("btn_batch_import")->click();
        QVERIFY(dialog->isVisible());
        QTableWidget* table = tableOf(dialog);
        QCOMPARE(table->rowCount(), 3);  // the camera with two libraries cannot take another
        QCOMPARE(table->item(1, 1)->text(), QString("one"));
        doubleClickHeader(table, 0);
        QCOMPARE(table->item(2, 0)->checkState(), Qt::Unchecked);
        BoxAnswer nothing;
        dialog->findChild<QPushButton*>("btn_ok")->click();
        QTRY_VERIFY(nothing.done());
        QCOMPARE(nothing.text, QString("No item selected"));
        doubleClickHeader(table, 0);

        // The fleet question comes first; Cancel sends nothing and asks for no file.
        {
            BoxAnswer cancel(QMessageBox::Cancel);
            FileAnswer never(zip);
            dialog->findChild<QPushButton*>("btn_ok")->click();
            QVERIFY(cancel.done());
            QCOMPARE(cancel.text, QString("Import into 3 cameras?"));
            QCOMPARE(cancel.buttons, QMessageBox::Ok | QMessageBox::Cancel);
            QVERIFY(!never.done());  // the file dialog would have opened inside the click
            QCOMPARE(harness.jobs().tasks(), quint16(0));
            QVERIFY(!harness.overlay()->isVisible());
        }

        // Each failed unpack tells its own reason.
        const QString notZip = files_.filePath("not.zip");
        QFile(notZip).open(QIODevice::WriteOnly);
        QCOMPARE(startAndSummarise(dialog, notZip, true).summary, QString("zip file is invalid."));
        QVERIFY(!harness.overlay()->isVisible());
        QDir("temp").removeRecursively();
        QVERIFY(QDir().mkpath("temp/foreign"));  // "temp" not made by the program
        QCOMPARE(startAndSummarise(dialog, zip, true).summary,
                 QString("The folder \"temp\" was not made by this program; please move it away."));
        QVERIFY(QDir("temp").removeRecursively());

        harness.button("btn_batch_import")->click();
        const StartFlow flow = startAndSummarise(dialog, zip, true);
        QCOMPARE(flow.fleet, QString("Import into 3 cameras?"));
        QCOMPARE(flow.summary,
                 QString("Batch Import Finished.\nDevices Number: 3\nSuccess Number: 2"));
        QCOMPARE(harness.overlay()->progressWidget()->rowCount(), 3);
        // The refresh of every camera follows and finally hides the overlay.
        QTRY_COMPARE_WITH_TIMEOUT(harness.cell(0, DeviceInfoTableModel::ColumnDb1), QString("gate"),
                                  kCameraWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!harness.overlay()->isVisible(), kCameraWaitMs);
        QCOMPARE(harness.cell(1, DeviceInfoTableModel::ColumnDb2), QString());
        QCOMPARE(listed(good2, "gate").imgnum, 3);
        QCOMPARE(harness.jobs().tasks(), quint16(0));
    }

    void extractOneLibraryPerCamera() {
        camsim::Camera* firstCamera = mustStart(cameras_, withLibraries({"a1", "a2"}));
        camsim::Camera* secondCamera = mustStart(cameras_, withLibraries({"b1", "b2"}));
        QCOMPARE(firstCamera->preload() + secondCamera->preload(), std::string());
        const SDeviceInfo first = deviceOf(*firstCamera);
        const SDeviceInfo second = deviceOf(*secondCamera);
        const SDeviceInfo empty = deviceOf(*mustStart(cameras_));
        PageHarness harness;
        IndexPage& page = harness.open({first, empty, second});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);

        auto* dialog = page.findChild<BatchExtractDlg*>();
        harness.button("btn_batch_extract")->click();
        QCOMPARE(tableOf(dialog)->rowCount(), 2);
        QRadioButton* a1 = dialog->radio(0, 1);
        QCOMPARE(a1->text(), QString("a1"));
        QCOMPARE(dialog->radio(0, 2)->property("column").toInt(), 2);
        a1->click();
        dialog->radio(0, 2)->click();
        QVERIFY(!a1->isChecked());
        doubleClickHeader(tableOf(dialog), 1);
        QVERIFY(a1->isChecked() && dialog->radio(1, 1)->isChecked());
        QVERIFY(!dialog->radio(0, 2)->isChecked());
        doubleClickHeader(tableOf(dialog), 1);
        QVERIFY(!a1->isChecked() && !dialog->radio(1, 1)->isChecked());

        dialog->radio(1, 2)->click();
        QSignalSpy ended(dialog->job(), &BatchJob::signalThreadFinished);
        BoxAnswer summary;
        dialog->findChild<QPushButton*>("btn_ok")->click();
        QTRY_VERIFY_WITH_TIMEOUT(summary.done(), kJobWaitMs);
        QCOMPARE(summary.text,
                 QString("Batch Extract Finished.\nfaceDB number: 1\nSuccess Number: 1"));
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.at(0).at(0).toString(), second.ip + "/b2");
        QVERIFY(!harness.overlay()->isVisible());

        // With a row checked on the page, only the checked cameras are offered.
        harness.model()->setData(harness.model()->index(harness.rowOf(second.ip), 0), Qt::Checked,
                                 Qt::CheckStateRole);
        harness.button("btn_batch_extract")->click();
        QCOMPARE(tableOf(dialog)->rowCount(), 1);
        QCOMPARE(tableOf(dialog)->item(0, 0)->text(), second.ip);
    }

    // Ten files of which seven are pictures a camera takes; two libraries of one camera take all
    // seven, while the row of a slow camera is cancelled and stops alone.
    void uploadValidPicturesAndCancelOneRow() {
        camsim::Camera* bothCamera = mustStart(cameras_, withLibraries({"g1", "g2"}));
        QCOMPARE(bothCamera->preload(), std::string());
        const SDeviceInfo both = deviceOf(*bothCamera);
        camsim::Camera* slowCamera = mustStart(cameras_, withLibraries({"h1"}));
        QCOMPARE(slowCamera->preload(), std::string());
        const SDeviceInfo slow = deviceOf(*slowCamera);
        PageHarness harness;
        IndexPage& page = harness.open({both, slow});
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        slowCamera->addFault(
            {"/api/v1/recognize/fdlib/add_img", camsim::FaultKind::Latency, 300, -1});

        const QString dir = files_.filePath("pictures");
        QVERIFY(QDir().mkpath(dir));
        for (int i = 0; i < 7; ++i)
            QVERIFY(
                !testpictures::writeJpeg(dir, QString("ok%1.jpg").arg(i), 140, 150, i).isEmpty());
        QVERIFY(!testpictures::writeJpeg(dir, "tiny.jpg", 60, 60, 1).isEmpty());
        QVERIFY(!testpictures::writeJpeg(dir, "shot.png", 140, 150, 2).isEmpty());
        QFile(dir + "/notes.txt").open(QIODevice::WriteOnly);

        auto* dialog = page.findChild<BatchUploadDlg*>();
        harness.button("btn_batch_upload")->click();
        QTableWidget* table = tableOf(dialog);
        QCOMPARE(table->horizontalHeaderItem(2)->text(), QString("DB2"));
        doubleClickHeader(table, 1);
        table->item(0, 2)->setCheckState(Qt::Checked);
        QVERIFY(!table->item(1, 2));

        const QString slowKey = slow.ip + "/h1";
        connect(&harness.jobs(), &JobControl::signalItemProgress, this,
                [&](const QString& key, int percent) {
                    if (key == slowKey && percent > 0)
                        emit harness.overlay()->progressWidget()->cancled(key);
                });
        const StartFlow flow = startAndSummarise(dialog, dir, true, true);
        QCOMPARE(flow.fleet, QString("Upload into 2 cameras?"));  // three libraries, two cameras
        QCOMPARE(flow.question,
                 QString("Valid images number: 7\nContinue to upload valid images?"));
        const QString summary = flow.summary;
        QCOMPARE(BatchUploadDlg::lastDirectory(), dir);

        QCOMPARE(listed(both, "g1").imgnum, 7);
        QCOMPARE(listed(both, "g2").imgnum, 7);
        const int slowCount = listed(slow, "h1").imgnum;
        QVERIFY2(slowCount >= 1 && slowCount < 7, qPrintable(QString::number(slowCount)));
        QCOMPARE(summary, QString("Batch Upload Finished.\nimage number: 7\nfaceDB number: 3\n"
                                  "uploading number: %1")
                              .arg(14 + slowCount));
        QVERIFY(!harness.overlay()->isVisible());
    }

    // The list changes while the dialog is open: one camera's password is edited, another is
    // deleted. The job reads the list as it starts: neither is written to (the old password would
    // still work), and the summary says why.
    void uploadReadsTheListAsItStarts() {
        std::vector<camsim::Camera*> fleet;
        QVector<SDeviceInfo> devices;
        for (const char* name : {"keep", "edited", "gone"}) {
            fleet.push_back(mustStart(cameras_, withLibraries({name})));
            QCOMPARE(fleet.back()->preload(), std::string());
            devices << deviceOf(*fleet.back());
        }
        PageHarness harness;
        IndexPage& page = harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        const QString dir = files_.filePath("three");
        QVERIFY(QDir().mkpath(dir));
        for (int i = 0; i < 3; ++i)
            QVERIFY(
                !testpictures::writeJpeg(dir, QString("t%1.jpg").arg(i), 140, 150, i).isEmpty());

        auto* dialog = page.findChild<BatchUploadDlg*>();
        harness.button("btn_batch_upload")->click();
        doubleClickHeader(tableOf(dialog), 1);

        BoxAnswer refused;  // the edited password is checked at once and refused
        QVERIFY(QMetaObject::invokeMethod(&page, "slotEditDeviceOK", Q_ARG(QString, devices[1].ip),
                                          Q_ARG(QString, devices[1].username),
                                          Q_ARG(QString, QString("changed1"))));
        QTRY_VERIFY_WITH_TIMEOUT(refused.done(), kCameraWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!harness.overlay()->isVisible(), kCameraWaitMs);
        harness.model()->setData(harness.model()->index(harness.rowOf(devices[2].ip), 0),
                                 Qt::Checked, Qt::CheckStateRole);
        BoxAnswer yes(QMessageBox::Yes);
        harness.button("btn_delete")->click();
        QVERIFY(yes.done());

        const StartFlow flow = startAndSummarise(dialog, dir, true);
        QCOMPARE(flow.fleet, QString("Upload into 3 cameras?"));
        // The refused password marked the camera unreachable: it is left out, not asked with the
        // old password.
        QCOMPARE(flow.summary,
                 QString("Batch Upload Finished.\nimage number: 3\nfaceDB number: 1\n"
                         "uploading number: 3\n%1: changed in the device list, left out\n"
                         "%2: removed from the device list, left out")
                     .arg(devices[1].ip, devices[2].ip));
        QCOMPARE(listed(devices[0], "keep").imgnum, 3);
        QCOMPARE(listed(devices[1], "edited").imgnum, 0);
        QCOMPARE(listed(devices[2], "gone").imgnum, 0);
    }
};

QTEST_MAIN(BatchDialogsTest)
#include "batch_dialogs_test.moc"
