#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

#include "programfiles.h"

// Where the program's read-only files are found: beside the executable (the build tree) before
// the installed data directory, and beside it again when neither has them.
class ProgramFilesTest : public QObject {
    Q_OBJECT
private slots:
    void locate_data();
    void locate();
};

void ProgramFilesTest::locate_data() {
    QTest::addColumn<bool>("beside");
    QTest::addColumn<bool>("installed");
    QTest::addColumn<bool>("expectInstalled");
    QTest::newRow("build tree") << true << false << false;
    QTest::newRow("installed") << false << true << true;
    QTest::newRow("both: beside wins") << true << true << false;
    QTest::newRow("neither: beside, where it is expected") << false << false << false;
}

void ProgramFilesTest::locate() {
    QFETCH(bool, beside);
    QFETCH(bool, installed);
    QFETCH(bool, expectInstalled);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QString programDir = root.path() + "/bin";
    const QString dataDir = programfiles::installedDataDir(programDir);
    QVERIFY(QDir().mkpath(programDir));
    if (beside) QVERIFY(QDir().mkpath(programDir + "/translations"));
    if (installed) QVERIFY(QDir().mkpath(dataDir + "/translations"));

    const QString found = programfiles::locate(programDir, "translations");
    QCOMPARE(found, (expectInstalled ? dataDir : programDir) + "/translations");
}

QTEST_GUILESS_MAIN(ProgramFilesTest)
#include "programfiles_test.moc"
