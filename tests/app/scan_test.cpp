// The LAN search thread inside a private network namespace (it broadcasts): supported
// cameras only, in numeric address order, and the stop flag ending it early.
#include <QSignalSpy>
#include <QtTest>

#include "camsim.h"
#include "dbutil/jobcontrol.h"
#include "dbutil/scanipcthread.h"
#include "support/private_namespace.h"
#include "support/qt_skip.h"

class ScanTest : public QObject {
    Q_OBJECT

    camsim::Simulator simulator_;

    void addCamera(const std::string& address, const std::string& firmware) {
        camsim::CameraConfig config;
        config.address = address;
        config.firmware = firmware;
        config.search = true;
        simulator_.add(config);
    }

    // Runs one search to its end; the thread's result.
    QStringList search(ScanIpcThread& thread) {
        QSignalSpy finished(&thread, &QThread::finished);
        thread.start();
        if (!finished.wait(20000)) qFatal("the search did not end");
        return thread.result();
    }

private slots:
    void initTestCase() {
        std::string why;
        if (!testsupport::inPrivateNamespace(&why)) SKIP_OUTSIDE_CI(why.c_str());
        const std::string version = "QX-IPC2019-01B-V1.2.1-RECOG-beta.pb3";
        addCamera("127.0.0.12", version);
        addCamera("127.0.0.3", version);
        addCamera("127.0.0.200", version);
        addCamera("127.0.0.7", "QX-IPC2019-01B-V1.2.1-PLAIN");  // not a recognition camera
        std::string error;
        if (!simulator_.startAll(&error)) qFatal("%s", error.c_str());
    }

    void findsSupportedCamerasInNumericOrder() {
        JobControl control;
        ScanIpcThread thread;
        QSignalSpy progress(&thread, &ScanIpcThread::signalProgress);
        QCOMPARE(search(thread), QStringList({"127.0.0.3", "127.0.0.12", "127.0.0.200"}));
        QCOMPARE(progress.size(), 4);
        QCOMPARE(progress.last().at(0).toInt(), 4);
        QCOMPARE(control.tasks(), quint16(0));
    }

    void stopFlagEndsTheSearchAfterTheCurrentRecord() {
        JobControl control;
        ScanIpcThread thread;
        bool sawBit = false;
        connect(
            &thread, &ScanIpcThread::signalProgress, &thread,
            [&](int current, int) {
                sawBit = (control.tasks() & JobControl::ScanDevice) != 0;
                if (current == 2) control.cancelAll(true);
            },
            Qt::DirectConnection);
        QVERIFY(search(thread).size() <= 1);
        QVERIFY(sawBit);
        QCOMPARE(control.tasks(), quint16(0));
    }

    void nothingHappensWithoutAJobControl() {
        ScanIpcThread thread;
        QSignalSpy progress(&thread, &ScanIpcThread::signalProgress);
        QVERIFY(search(thread).isEmpty());
        QCOMPARE(progress.size(), 0);
    }
};

QTEST_GUILESS_MAIN(ScanTest)
#include "scan_test.moc"
