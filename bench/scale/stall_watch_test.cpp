// The stall watch: work that holds the watched thread shows as a gap at least as long as that
// work in the phase it happened in, counted as the thread's own CPU time, with a stack sample
// naming the function at work; a thread that only waits in its event loop does no such work.
#include <time.h>

#include <QtTest>

#include "stall_watch.h"

// Outside any namespace and not inlined, so that the stack sample can name it.
extern "C" __attribute__((noinline)) void stallWatchTestSpin(int cpuMs) {
    timespec start{}, now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    do {
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    } while ((now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000 < cpuMs);
}

class StallWatchTest : public QObject {
    Q_OBJECT

private slots:
    void workOnTheThreadIsMeasuredAndSampled() {
        StallWatch watch(100);
        watch.start();
        watch.setPhase("idle");
        QTest::qWait(200);
        watch.setPhase("busy");
        stallWatchTestSpin(400);
        QTest::qWait(20);
        watch.stop();

        QCOMPARE(watch.phases().size(), 3);
        const StallWatch::Phase& idle = watch.phases().at(1);
        const StallWatch::Phase& busy = watch.phases().at(2);
        QCOMPARE(busy.name, QString("busy"));
        QVERIFY(idle.longestBusyMs < 100);
        QVERIFY2(busy.longestGapMs >= 400, qPrintable(QString::number(busy.longestGapMs)));
        QVERIFY2(busy.longestBusyMs >= 390, qPrintable(QString::number(busy.longestBusyMs)));
        QCOMPARE(watch.longestBusyMs(), busy.longestBusyMs);

        // A loaded machine may add samples of its own; one must catch the spin.
        bool named = false;
        for (const StallWatch::Sample& sample : watch.samples()) {
            QVERIFY(sample.gapMsAtSample > 100);
            named = named || (sample.phase == "busy" &&
                              sample.frames.join('\n').contains("stallWatchTestSpin"));
        }
        QVERIFY(named);
    }
};

QTEST_GUILESS_MAIN(StallWatchTest)
#include "stall_watch_test.moc"
