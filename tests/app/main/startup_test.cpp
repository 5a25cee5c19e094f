#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTranslator>
#include <QtTest>

#include "instanceguard.h"
#include "programfiles.h"
#include "startup.h"

namespace {

// A key of this test run only, so that a real program on the machine is not disturbed.
QString testKey() {
    return QStringLiteral("kestrel_test_%1").arg(QCoreApplication::applicationPid());
}

struct Probe {
    QProcess process;

    // Starts the guard helper and waits for its verdict.
    QByteArray start() {
        process.start(QStringLiteral(INSTANCE_PROBE), {testKey()});
        if (!process.waitForStarted(5000)) return "not started";
        if (!process.waitForReadyRead(10000)) return process.readAll().trimmed();
        return process.readLine().trimmed();
    }
    // Closes its input: the helper leaves normally and gives the guard back.
    void stop() {
        process.closeWriteChannel();
        process.waitForFinished(10000);
    }
};

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
private slots:
    void secondInstanceRefused();
    void startAfterKilledInstance();
    void translationsByLocale_data();
    void translationsByLocale();
    void missingTranslationsSkipped();
    void stateStaysBesideWritableProgram();
};

void StartupTest::secondInstanceRefused() {
    Probe first;
    QCOMPARE(first.start(), QByteArray("running"));
    Probe second;
    QCOMPARE(second.start(), QByteArray("refused"));
    QVERIFY(second.process.waitForFinished(10000));
    QCOMPARE(second.process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(qint8(second.process.exitCode()), qint8(-1));
    // The refused start did not disturb the first: still held.
    Probe third;
    QCOMPARE(third.start(), QByteArray("refused"));
    third.process.waitForFinished(10000);
    first.stop();
    QCOMPARE(first.process.exitCode(), 0);
    Probe after;
    QCOMPARE(after.start(), QByteArray("running"));
    after.stop();
}

void StartupTest::startAfterKilledInstance() {
    Probe killed;
    QCOMPARE(killed.start(), QByteArray("running"));
    killed.process.kill();  // SIGKILL: the segment stays behind
    QVERIFY(killed.process.waitForFinished(10000));
    QCOMPARE(killed.process.exitStatus(), QProcess::CrashExit);
    Probe next;
    QCOMPARE(next.start(), QByteArray("running"));
    next.stop();
    QCOMPARE(next.process.exitCode(), 0);
}

void StartupTest::translationsByLocale_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("expected");
    QTest::newRow("chinese") << QLocale(QLocale::Chinese, QLocale::China) << "zh";
    QTest::newRow("chinese taiwan") << QLocale(QLocale::Chinese, QLocale::Taiwan) << "zh";
    QTest::newRow("english") << QLocale(QLocale::English, QLocale::UnitedStates) << "en";
    QTest::newRow("german") << QLocale(QLocale::German, QLocale::Germany) << "en";
}

void StartupTest::translationsByLocale() {
    QFETCH(QLocale, locale);
    QFETCH(QString, expected);
    QObject owner;
    const QList<QTranslator*> installed =
        startup::installTranslations(QStringLiteral(PROBE_TRANSLATIONS), locale, &owner);
    QCOMPARE(installed.size(), 1);  // no qt_ or qtbase_ file there
    QCOMPARE(QCoreApplication::translate("Probe", "language"), expected);
    for (QTranslator* translator : installed)
        QCoreApplication::removeTranslator(translator);
}

void StartupTest::missingTranslationsSkipped() {
    QTemporaryDir empty;
    QObject owner;
    QVERIFY(
        startup::installTranslations(empty.path(), QLocale(QLocale::Chinese), &owner).isEmpty());
    QVERIFY(owner.children().isEmpty());
    QCOMPARE(QCoreApplication::translate("Probe", "language"), QStringLiteral("language"));
}

void StartupTest::stateStaysBesideWritableProgram() {
    QTemporaryDir program;
    QCOMPARE(startup::stateDirectory(program.path()), program.path());
    QCOMPARE(QDir(program.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());
    // A program directory that cannot take a file: the per-user data directory instead.
    const QString missing = program.path() + "/not-there";
    const QString state = startup::stateDirectory(missing);
    QVERIFY(state != missing);
    QVERIFY(QFileInfo(state).isDir());
    // An installed program keeps its state per user even where it could write (root).
    const QString bin = program.path() + "/bin";
    QVERIFY(QDir().mkpath(bin) && QDir().mkpath(programfiles::installedDataDir(bin)));
    QCOMPARE(startup::stateDirectory(bin), state);
}

QTEST_GUILESS_MAIN(StartupTest)
#include "startup_test.moc"
