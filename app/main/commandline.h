// The program's command line: --help and --version, answered on the terminal without a window,
// without the single-instance guard and without touching the program's files. Anything else
// (after Qt has taken its own options) is a mistake reported with exit code 2.
#pragma once

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

class CommandLine {
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    enum class Request { Start, Help, Version, Mistake };
    static constexpr int kUsageError = 2;

    // The option texts are translated by the translators installed when this is made.
    CommandLine();

    // arguments as QCoreApplication::arguments() gives them (the program's name first).
    Request parse(const QStringList& arguments);
    // Prints the help, the version (stdout) or the mistake (stderr); the exit code.
    int answer(Request request) const;

    // True when argv asks for help or the version, which need no display: decided before any
    // application object exists.
    static bool asksForInformation(int argc, char** argv);

    static QString version();

private:
    QString helpText() const;

    QCommandLineParser parser_;
    QCommandLineOption help_;
    QCommandLineOption version_;
    QString mistake_;
};
