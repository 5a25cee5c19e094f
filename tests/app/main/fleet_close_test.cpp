// Closing the window while the start-up refresh works through 50 cameras that never answer:
// the refreshes not started are dropped and the process ends within 3 seconds.
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

#include "dbutil/deviceinfofactory.h"
#include "support/silent_cameras.h"

class FleetCloseTest : public QObject {
    Q_OBJECT

private slots:
    void closeDuringRefreshOfSilentCameras() {
        testsupport::SilentCameras silent;
        std::string error;
        QVERIFY2(silent.start(50, &error), error.c_str());
        QTemporaryDir state;
        {
            DeviceInfoFactory store(state.filePath(DeviceInfoFactory::kDefaultFileName));
            for (const std::string& address : silent.addresses())
                QVERIFY(store.add(SDeviceInfo(QString::fromStdString(address), "admin", "admin123")));
            QVERIFY(store.save());
        }

        QProcess probe;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        probe.setProcessEnvironment(env);
        probe.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        probe.start(CLOSE_PROBE, {state.path(), "fleet_close_" + QString::number(getpid())});
        QVERIFY(probe.waitForStarted());
        QByteArray out;
        for (int reads = 0; !out.contains("closed") && reads < 100; ++reads) {
            if (!probe.waitForReadyRead(30000)) break;
            out += probe.readAllStandardOutput();
        }
        QVERIFY2(out.contains("closed"), out.constData());

        QElapsedTimer sinceClose;
        sinceClose.start();
        const bool ended = probe.waitForFinished(3000);
        const qint64 took = sinceClose.elapsed();
        if (!ended) probe.kill();
        QVERIFY2(ended, "the process outlived its window by 3 s");
        qInfo("ended %lld ms after its window closed", took);
        QCOMPARE(probe.exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.exitCode(), 0);
        // The probe reached each camera at most once; no login followed for one that never
        // answered it.
        QVERIFY(silent.accepted() >= 1);
        QVERIFY2(silent.accepted() <= int(silent.addresses().size()),
                 qPrintable(QString::number(silent.accepted())));
    }
};

QTEST_GUILESS_MAIN(FleetCloseTest)
#include "fleet_close_test.moc"
