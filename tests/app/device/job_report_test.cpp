// A batch upload over three cameras where one stops answering half way, followed through its
// report: the summary box's "Details", the rows and their reasons, "Save", "Retry failed" (which
// sends only the pictures the camera never stored) and the list of kept reports.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTableWidget>
#include <QtTest>

#include "batch/dialogs/batchuploaddlg.h"
#include "dbutil/errortext.h"
#include "dbutil/interaction.h"
#include "gui_answer.h"
#include "page_harness.h"
#include "pictures.h"
#include "reports/reportfiles.h"
#include "ui/reports/reportdialog.h"
#include "ui/reports/reportlistdialog.h"
#include "ui/reports/reportmodel.h"

using namespace guitest;
using testsupport::deviceOf;
using testsupport::mustStart;

namespace {

constexpr int kJobWaitMs = 60000;
const std::string kAddPath = "/api/v1/recognize/fdlib/add_img";

// The md5 of every picture the camera stored, once per time it stored it.
QStringList storedPictures(camsim::Camera& camera) {
    QStringList md5s;
    for (const camsim::JournalEntry& entry : camera.journal().on(kAddPath))
        if (entry.status == 200) md5s << QString::fromStdString(entry.header("md5"));
    return md5s;
}

// "outcome|reason" -> how many rows of the camera read so.
QMap<QString, int> outcomesOf(const ReportModel& model, const QString& camera) {
    QMap<QString, int> counts;
    for (int row = 0; row < model.rowCount(); ++row) {
        if (model.index(row, ReportModel::Camera).data().toString() != camera) continue;
        ++counts[model.index(row, ReportModel::Outcome).data().toString() + "|" +
                 model.index(row, ReportModel::Reason).data().toString()];
    }
    return counts;
}

ReportDialog* waitForReport(QWidget* parent, const ReportDialog* other = nullptr) {
    ReportDialog* found = nullptr;
    const auto shown = [&] {
        for (ReportDialog* dialog : parent->findChildren<ReportDialog*>())
            if (dialog != other && dialog->isVisible()) found = dialog;
        return found != nullptr;
    };
    return QTest::qWaitFor(shown, kJobWaitMs) ? found : nullptr;
}

}  // namespace

class JobReportTest : public QObject {
    Q_OBJECT

    testsupport::CameraSet cameras_;
    QTemporaryDir files_;

private slots:
    void cleanup() { cameras_.stopAll(); }

    void uploadWithOneCameraStoppingThenRetry() {
        QVector<camsim::Camera*> fleet;
        QVector<SDeviceInfo> devices;
        for (int i = 0; i < 3; ++i) {
            camsim::CameraConfig config;
            config.libraries.push_back(camsim::PreloadedLibrary{"lib", 80, {}});
            fleet << mustStart(cameras_, config);
            QCOMPARE(fleet.last()->preload(), std::string());
            devices << deviceOf(*fleet.last());
        }
        camsim::Camera& stopping = *fleet.at(2);
        // Three pictures go through, then the camera stops answering.
        stopping.addFault({kAddPath, camsim::FaultKind::Latency, 0, 3});
        stopping.addFault({kAddPath, camsim::FaultKind::Drop, 0, -1});
        const QString dir = files_.filePath("pictures");
        QVERIFY(QDir().mkpath(dir));
        for (int i = 0; i < 8; ++i)
            QVERIFY(!testpictures::writeJpeg(dir, QString("p%1.jpg").arg(i), 140, 150, i).isEmpty());

        PageHarness harness;
        IndexPage& page = harness.open(devices);
        QTRY_VERIFY_WITH_TIMEOUT(harness.allReachable(), kCameraWaitMs);
        auto* dialog = page.findChild<BatchUploadDlg*>();
        harness.button("btn_batch_upload")->click();
        emit dialog->findChild<QTableWidget*>("tableWidget")->horizontalHeader()
            ->sectionDoubleClicked(1);
        {
            BoxAnswer fleetQuestion(QMessageBox::Ok);
            FileAnswer folder(dir);
            DetailsAnswer summary;
            dialog->findChild<QPushButton*>("btn_ok")->click();
            QTRY_VERIFY_WITH_TIMEOUT(summary.done(), kJobWaitMs);
            QCOMPARE(summary.text, QString("Batch Upload Finished.\nimage number: 8\n"
                                           "faceDB number: 3\nuploading number: 19"));
        }
        ReportDialog* report = waitForReport(&page);
        QVERIFY(report);
        const ReportModel& model = *report->model();
        QCOMPARE(model.rowCount(), 24);
        const QString stored = reports::outcomeText(reports::Outcome::Stored) + "|" + ErrorText(0);
        for (int i = 0; i < 2; ++i)
            QCOMPARE(outcomesOf(model, devices[i].ip), (QMap<QString, int>{{stored, 8}}));
        // Three sent into silence, two never sent: all five are failed for the network.
        const QString lost = reports::outcomeText(reports::Outcome::Failed) + "|" + ErrorText(19);
        QCOMPARE(outcomesOf(model, devices[2].ip),
                 (QMap<QString, int>{{stored, 3}, {lost, 5}}));
        auto* filter = report->findChild<QComboBox*>("comb_outcome");
        filter->setCurrentIndex(filter->findText(reports::outcomeText(reports::Outcome::Failed)));
        QCOMPARE(model.rowCount(), 5);

        // Save writes the CSV and the JSON beside it.
        const QString csv = files_.filePath("upload.csv");
        {
            QSignalSpy saved(report, &ReportDialog::signalSaved);
            FileAnswer answer(csv);
            report->findChild<QPushButton*>("btn_save")->click();
            QVERIFY(saved.wait(kJobWaitMs));
            QCOMPARE(saved.at(0).at(0).toBool(), true);
        }
        QFile written(csv);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll().count('\n'), 25);
        reports::JobReport reread;
        QVERIFY(reports::readReport(files_.filePath("upload.json"), &reread));
        QCOMPARE(reread.count(reports::Outcome::Failed), 5);

        // The camera answers again: the retry sends the five it never stored, and nothing else.
        stopping.clearFaults();
        const int sentBefore[] = {int(fleet[0]->journal().on(kAddPath).size()),
                                  int(fleet[1]->journal().on(kAddPath).size())};
        {
            BoxAnswer summary(QMessageBox::Ok);
            report->findChild<QPushButton*>("btn_retry")->click();
            QTRY_VERIFY_WITH_TIMEOUT(summary.done(), kJobWaitMs);
            QCOMPARE(summary.text, QString("Batch Upload Finished.\nimage number: 5\n"
                                           "faceDB number: 1\nuploading number: 5"));
        }
        const QStringList md5s = storedPictures(stopping);
        QCOMPARE(md5s.size(), 8);
        QCOMPARE(QSet<QString>(md5s.begin(), md5s.end()).size(), 8);
        QCOMPARE(int(fleet[0]->journal().on(kAddPath).size()), sentBefore[0]);
        QCOMPARE(int(fleet[1]->journal().on(kAddPath).size()), sentBefore[1]);

        // Both jobs are kept, the retry first; opening it shows its five stored rows.
        ReportListDialog list(&page);
        QSignalSpy loaded(&list, &ReportListDialog::signalLoaded);
        QTRY_VERIFY_WITH_TIMEOUT(QDir("reports").entryList(QDir::Files).size() == 2, kJobWaitMs);
        list.reload();
        QVERIFY(loaded.wait(kJobWaitMs));
        auto* table = list.findChild<QTableWidget*>("tableWidget");
        QCOMPARE(table->rowCount(), 2);
        QCOMPARE(table->item(0, 3)->text(), QString("0"));
        QCOMPARE(table->item(1, 3)->text(), QString("5"));
        list.findChild<QPushButton*>("btn_open")->click();
        ReportDialog* opened = waitForReport(&list);
        QVERIFY(opened);
        QCOMPARE(opened->model()->report().count(reports::Outcome::Stored), 5);
        QVERIFY(!opened->findChild<QPushButton*>("btn_retry")->isEnabled());
    }
};

QTEST_MAIN(JobReportTest)
#include "job_report_test.moc"
