// The job-control state (task bits, stop flag, cancel table).
#include <QSignalSpy>
#include <QtTest>
#include <thread>
#include <vector>

#include "dbutil/jobcontrol.h"

class JobControlTest : public QObject {
    Q_OBJECT
private slots:
    void instanceLifetime();
    void cancelTable();
    void beginBusyClears();
    void overallPercent();
    void taskBitsFromThreads();
    void taskNames();
};

void JobControlTest::instanceLifetime() {
    QVERIFY(!JobControl::instance());
    {
        TaskScope none(JobControl::ScanDevice);
        QVERIFY(!none.active());
    }
    {
        JobControl first;
        JobControl second;
        QCOMPARE(JobControl::instance(), &first);
        {
            TaskScope scope(JobControl::ScanDevice);
            QVERIFY(scope.active());
            QCOMPARE(first.tasks(), quint16(JobControl::ScanDevice));
            QVERIFY(first.anyTaskRunning());
            QVERIFY(!second.anyTaskRunning());
        }
        QVERIFY(!first.anyTaskRunning());
    }
    QVERIFY(!JobControl::instance());
}

void JobControlTest::cancelTable() {
    JobControl control;
    QVERIFY(!control.isCancelled("never"));
    control.setCancelled("10.0.0.2", false);
    control.setCancelled("10.0.0.3/lib", false);
    QVERIFY(!control.isCancelled("10.0.0.2"));
    QVERIFY(!control.stopRequested());

    // The Cancel button: every entry and the stop flag.
    control.cancelAll(true);
    QVERIFY(control.stopRequested());
    QVERIFY(control.isCancelled("10.0.0.2"));
    QVERIFY(control.isCancelled("10.0.0.3/lib"));
    QVERIFY(control.isCancelled("never"));  // a job that never had a row stops too
    control.cancelAll(false);
    QVERIFY(!control.stopRequested());
    QVERIFY(!control.isCancelled("10.0.0.2"));
}

void JobControlTest::beginBusyClears() {
    JobControl control;
    QSignalSpy busy(&control, &JobControl::signalBusy);
    QSignalSpy idle(&control, &JobControl::signalIdle);
    control.setCancelled("10.0.0.2", false);
    control.cancelAll(true);
    control.beginBusy(3);
    QVERIFY(!control.stopRequested());
    QVERIFY(!control.isCancelled("10.0.0.2"));
    QCOMPARE(busy.size(), 1);
    QCOMPARE(busy.at(0).at(0).toInt(), 3);
    control.endBusy();
    QCOMPARE(idle.size(), 1);

    // A second begin while busy keeps the running job's stop flag and cancel table.
    control.beginBusy(3);
    control.setCancelled("10.0.0.2", true);
    control.cancelAll(true);
    control.beginBusy(1);
    QVERIFY(control.busy());
    QVERIFY(control.stopRequested());
    QVERIFY(control.isCancelled("10.0.0.2"));
    QCOMPARE(busy.size(), 3);
    // Counted: the first end leaves the other job's overlay up, a stray end changes nothing.
    control.endBusy();
    QVERIFY(control.busy());
    QCOMPARE(idle.size(), 1);
    control.endBusy();
    QTest::ignoreMessage(QtWarningMsg, "JobControl::endBusy without a matching beginBusy");
    control.endBusy();
    QCOMPARE(idle.size(), 2);
    QCOMPARE(control.busyCount(), 0);
    control.beginBusy(0);
    QVERIFY(!control.stopRequested());
    control.endBusy();

    // Progress from a worker thread arrives as the percentage of the bar.
    QSignalSpy bar(&control, &JobControl::signalOverallProgress);
    std::thread([&control] { control.overallProgress(1, 3); }).join();
    QCOMPARE(bar.size(), 1);
    QCOMPARE(bar.at(0).at(0).toInt(), 33);
}

void JobControlTest::overallPercent() {
    QCOMPARE(JobControl::overallPercent(3, 3), 100);
    QCOMPARE(JobControl::overallPercent(1, 3), 33);
    QCOMPARE(JobControl::overallPercent(0, 0), 0);
    QCOMPARE(JobControl::overallPercent(2, 0), 0);
    QCOMPARE(JobControl::overallPercent(2000000000, 2000000001), 99);  // no overflow
}

void JobControlTest::taskBitsFromThreads() {
    JobControl control;
    const JobControl::Task bits[] = {JobControl::ScanDevice,     JobControl::UploadImage,
                                     JobControl::ExtractFeature, JobControl::UploadBatch,
                                     JobControl::FaceDbImport,   JobControl::FaceDbExport};
    std::vector<std::thread> threads;
    for (JobControl::Task bit : bits) {
        threads.emplace_back([&control, bit] {
            for (int i = 0; i < 20000; ++i) {
                control.setTask(bit, true);
                control.setTask(bit, false);
            }
            control.setTask(bit, true);
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(control.tasks(), quint16(63));
    for (JobControl::Task bit : bits)
        control.setTask(bit, false);
    QCOMPARE(control.tasks(), quint16(0));
    control.setTask(JobControl::UploadBatch, false);  // clearing a clear bit changes nothing
    QCOMPARE(control.tasks(), quint16(0));
}

void JobControlTest::taskNames() {
    QCOMPARE(JobControl::taskNames(JobControl::ScanDevice | JobControl::ExtractFeature),
             (QStringList{"Scan Device", "Extract Feature"}));
    QCOMPARE(JobControl::taskNames(63),
             (QStringList{"Scan Device", "Upload Image", "Extract Feature", "Upload Batch",
                          "Face DB Import", "Face DB Export"}));
}

QTEST_GUILESS_MAIN(JobControlTest)
#include "jobcontrol_test.moc"
