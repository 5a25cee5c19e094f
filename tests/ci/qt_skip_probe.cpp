// A Qt Test program that skips itself in initTestCase: under CI=true the skip must fail.
#include <QObject>

#include "support/qt_skip.h"

class Probe : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { SKIP_OUTSIDE_CI("as a test that cannot run here would"); }
    void neverRuns() { QFAIL("initTestCase skipped or failed, so this never runs"); }
};

QTEST_GUILESS_MAIN(Probe)
#include "qt_skip_probe.moc"
