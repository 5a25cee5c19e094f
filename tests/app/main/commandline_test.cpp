#include <QtTest>

#include "commandline.h"

using Request = CommandLine::Request;
Q_DECLARE_METATYPE(Request)

// What the command line asks for, and the exit code each answer gives.
class CommandLineTest : public QObject {
    Q_OBJECT
private slots:
    void parse_data();
    void parse();
};

void CommandLineTest::parse_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<Request>("request");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("no arguments") << QStringList{} << Request::Start << 0;
    QTest::newRow("--help") << QStringList{"--help"} << Request::Help << 0;
    QTest::newRow("-h") << QStringList{"-h"} << Request::Help << 0;
    QTest::newRow("--version") << QStringList{"--version"} << Request::Version << 0;
    QTest::newRow("-v") << QStringList{"-v"} << Request::Version << 0;
    QTest::newRow("unknown option") << QStringList{"--bogus"} << Request::Mistake << 2;
    QTest::newRow("unknown short option") << QStringList{"-x"} << Request::Mistake << 2;
    QTest::newRow("stray argument") << QStringList{"kestrel.data"} << Request::Mistake << 2;
    QTest::newRow("help beside a mistake") << QStringList{"--bogus", "-h"} << Request::Help << 0;
    QTest::newRow("version beside a stray argument")
        << QStringList{"extra", "--version"} << Request::Version << 0;
}

void CommandLineTest::parse() {
    QFETCH(QStringList, arguments);
    QFETCH(Request, request);
    QFETCH(int, exitCode);
    arguments.prepend("facekeeper");
    CommandLine commandLine;
    QCOMPARE(commandLine.parse(arguments), request);
    if (request != Request::Start) QCOMPARE(commandLine.answer(request), exitCode);

    // Decided from argv alone, before any application object.
    QVector<QByteArray> bytes;
    for (const QString& argument : arguments)
        bytes.append(argument.toLocal8Bit());
    QVector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.append(argument.data());
    const bool information = request == Request::Help || request == Request::Version;
    QCOMPARE(CommandLine::asksForInformation(argv.size(), argv.data()), information);
}

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
