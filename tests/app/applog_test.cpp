// The program log writer.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <thread>
#include <vector>

#include "applog.h"

namespace {

QByteArray readAll(const std::string& name) {
    QFile file(QString::fromStdString(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QRegularExpression kPrefix(
    QStringLiteral("^\\[\\d{4}(?:_\\d\\d){5}\\]\\[([^\\]]*)\\]\\((\\d+)\\):"));

}  // namespace

class AppLogTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void prefixAndLongLine();
    void levelAboveThreshold();
    void threadsNeverInterleave();
    void rollOver();

private:
    QScopedPointer<QTemporaryDir> dir_;
    std::string directory() const { return dir_->path().toStdString() + "/log/"; }
};

void AppLogTest::init() {
    dir_.reset(new QTemporaryDir);
    QVERIFY(dir_->isValid());
}

void AppLogTest::prefixAndLongLine() {
    AppLog log;
    log.init(directory());
    QVERIFY(QDir(dir_->path() + "/log").exists());
    log.setLevel(7);
    QVERIFY(!log.currentFile().empty());
    QVERIFY(QString::fromStdString(log.currentFile())
                .contains(QRegularExpression("/log/\\d{4}(_\\d\\d){5}\\.log$")));

    log.write("dbutil\\interaction", 42, 3, "%s|\n", std::string(600, 'x').c_str());
    const QByteArray content = readAll(log.currentFile());
    const auto match = kPrefix.match(QString::fromLatin1(content));
    QVERIFY2(match.hasMatch(), content.left(80).constData());
    QCOMPARE(match.captured(1), QString("dbutil\\interaction"));
    QCOMPARE(match.captured(2), QString("42"));
    // The text after the prefix is cut to 511 bytes: no "|", no newline.
    const QByteArray line = content.mid(match.capturedLength());
    QCOMPARE(line.size(), AppLog::kLineBytes - 1);
    QCOMPARE(line, QByteArray(511, 'x'));
    QCOMPARE(log.writeCount(), 2LL * AppLog::kLineBytes);
}

void AppLogTest::levelAboveThreshold() {
    AppLog log;
    log.init(directory());
    log.setLevel(7);
    log.write("src", 1, 8, "hidden %d\n", 8);
    QCOMPARE(readAll(log.currentFile()), QByteArray());
    QCOMPARE(log.writeCount(), 0LL);
    log.write("src", 2, 7, "shown\n");
    QVERIFY(readAll(log.currentFile()).endsWith("(2):shown\n"));

    // A negative level closes the file; nothing is written until a level of 0 or more.
    log.setLevel(-1);
    QVERIFY(log.currentFile().empty());
    log.write("src", 3, -5, "off\n");
    QCOMPARE(QDir(dir_->path() + "/log").entryList(QDir::Files).size(), 1);
}

void AppLogTest::threadsNeverInterleave() {
    AppLog log;
    log.init(directory());
    log.setLevel(7);
    constexpr int kThreads = 4;
    constexpr int kLines = 3000;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&log, t] {
            for (int i = 0; i < kLines; ++i)
                log.write("thread", t, 3, "thread %d line %d %s end\n", t, i, "payload-payload");
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const QList<QByteArray> lines = readAll(log.currentFile()).split('\n');
    QCOMPARE(lines.size(), kThreads * kLines + 1);  // the last piece after the final newline
    QVERIFY(lines.last().isEmpty());
    const QRegularExpression body(QStringLiteral("^thread (\\d) line (\\d+) payload-payload end$"));
    QVector<int> next(kThreads, 0);
    for (int i = 0; i < lines.size() - 1; ++i) {
        const QString line = QString::fromLatin1(lines[i]);
        const auto prefix = kPrefix.match(line);
        QVERIFY2(prefix.hasMatch(), qPrintable(line));
        const auto text = body.match(line.mid(prefix.capturedLength()));
        QVERIFY2(text.hasMatch(), qPrintable(line));
        const int t = text.captured(1).toInt();
        QCOMPARE(prefix.captured(2).toInt(), t);
        QCOMPARE(text.captured(2).toInt(), next[t]++);  // each thread's lines in its own order
    }
    QCOMPARE(next, QVector<int>(kThreads, kLines));
}

void AppLogTest::rollOver() {
    AppLog log;
    log.init(directory());
    log.setLevel(7);
    log.write("src", 1, 3, "first\n");
    const std::string first = log.currentFile();
    log.setWriteCountForTest(AppLog::kRolloverCount - 1);
    log.write("src", 2, 3, "still first\n");  // below the limit before this line: same file
    QCOMPARE(log.currentFile(), first);
    log.write("src", 3, 3, "second\n");
    const std::string second = log.currentFile();
    QVERIFY(second != first);
    QCOMPARE(log.writeCount(), 2LL * AppLog::kLineBytes);
    QVERIFY(readAll(first).endsWith("(2):still first\n"));
    const QByteArray fresh = readAll(second);
    QVERIFY(fresh.startsWith("["));
    QVERIFY(fresh.endsWith("(3):second\n"));
    QCOMPARE(fresh.count('\n'), 1);
}

QTEST_GUILESS_MAIN(AppLogTest)
#include "applog_test.moc"
