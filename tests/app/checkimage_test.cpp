// CheckImageThread over a directory of files.
#include <QTemporaryDir>
#include <QtTest>

#include "applog.h"
#include "dbutil/checkimagethread.h"
#include "testimages.h"

class CheckImageTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void mixedDirectory();
    void longNameIsCut();
    void missingDirectory();

private:
    QTemporaryDir logDir_;
};

void CheckImageTest::initTestCase() {
    QVERIFY(logDir_.isValid());
    AppLog::instance().init(logDir_.path().toStdString() + "/");
    AppLog::instance().setLevel(7);
}

void CheckImageTest::mixedDirectory() {
    QTemporaryDir dir;
    QVERIFY(testimages::writeJpeg(dir.filePath("a.jpg"), QSize(320, 240)));
    QVERIFY(testimages::writeFile(dir.filePath("b.txt"), "text"));
    QVERIFY(testimages::writeJpeg(dir.filePath("c.jpg"), QSize(320, 240), 200 * 1024));
    QVERIFY(QDir(dir.path()).mkdir("sub.jpg"));  // directories are not listed

    CheckImageThread thread(dir.path());
    thread.start();
    QVERIFY(thread.wait(30000));

    QCOMPARE(thread.fileNames().size(), 3);
    QCOMPARE(thread.images().size(), 1);
    QCOMPARE(thread.images()[0].name, QString("a"));
    QCOMPARE(thread.images()[0].path, QFileInfo(dir.filePath("a.jpg")).absoluteFilePath());
    QCOMPARE(thread.images()[0].imgid, qint64(-1));
    QCOMPARE(thread.errorCounts(), (QMap<int, int>{{11, 1}, {12, 1}}));
    QCOMPARE(thread.summary(), QString("Image type error: 1\nImage size error: 1\n"));

    QFile log(QString::fromStdString(AppLog::instance().currentFile()));
    QVERIFY(log.open(QIODevice::ReadOnly));
    const QByteArray content = log.readAll();
    QVERIFY(content.contains("][dbutil\\devicecontrol]("));
    QVERIFY(content.contains("):error code: 11, message: Image type error, filename: b.txt.\n"));
    QVERIFY(content.contains("):error code: 12, message: Image size error, filename: c.jpg.\n"));
}

void CheckImageTest::longNameIsCut() {
    QTemporaryDir dir;
    const QString base = QString::fromUtf8("abcdefghijklmnopqrstu照片.x");  // 25 characters
    QCOMPARE(base.size(), 25);
    QVERIFY(testimages::writeJpeg(dir.filePath(base + ".jpeg"), QSize(200, 200)));
    CheckImageThread thread(dir.path());
    thread.start();
    QVERIFY(thread.wait(30000));
    QCOMPARE(thread.images().size(), 1);
    QCOMPARE(thread.images()[0].name, base.left(20));
    QCOMPARE(thread.summary(), QString());

    // Twenty characters, not twenty UTF-16 units: a character beyond the BMP stays whole.
    QTemporaryDir wide;
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QString tail = QString(19, QLatin1Char('a')) + smile + "bcd";
    QVERIFY(testimages::writeJpeg(wide.filePath(tail + ".jpg"), QSize(200, 200)));
    CheckImageThread cut(wide.path());
    cut.start();
    QVERIFY(cut.wait(30000));
    QCOMPARE(cut.images().size(), 1);
    QCOMPARE(cut.images()[0].name, QString(19, QLatin1Char('a')) + smile);
}

void CheckImageTest::missingDirectory() {
    CheckImageThread thread("/nonexistent/facekeeper-test");
    thread.start();
    QVERIFY(thread.wait(30000));
    QVERIFY(thread.fileNames().isEmpty());
    QVERIFY(thread.images().isEmpty());
    QVERIFY(thread.summary().isEmpty());
}

QTEST_GUILESS_MAIN(CheckImageTest)
#include "checkimage_test.moc"
