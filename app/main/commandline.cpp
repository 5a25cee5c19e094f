#include "commandline.h"

#include <QStandardPaths>
#include <cstdio>

// The build passes the project's version.
#ifndef FACEKEEPER_VERSION
#define FACEKEEPER_VERSION "0.0.0"
#endif

namespace {

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

}  // namespace

CommandLine::CommandLine()
    : help_(QStringList{"h", "help"}, tr("Shows this help and exits.")),
      version_(QStringList{"v", "version"}, tr("Shows the program's version and exits.")) {
    parser_.setApplicationDescription(
        tr("Manages the face libraries held on face-recognition cameras."));
    parser_.addOption(help_);
    parser_.addOption(version_);
}

CommandLine::Request CommandLine::parse(const QStringList& arguments) {
    mistake_.clear();
    // Help and the version win over mistakes beside them: the user asked for guidance.
    const bool parsed = parser_.parse(arguments);
    if (parser_.isSet(help_)) return Request::Help;
    if (parser_.isSet(version_)) return Request::Version;
    if (!parsed) {
        mistake_ = parser_.errorText();
        return Request::Mistake;
    }
    if (!parser_.positionalArguments().isEmpty()) {
        mistake_ = tr("Unexpected argument '%1'.").arg(parser_.positionalArguments().first());
        return Request::Mistake;
    }
    return Request::Start;
}

int CommandLine::answer(Request request) const {
    const QString name = QCoreApplication::applicationName();
    switch (request) {
        case Request::Help:
            print(stdout, helpText());
            return 0;
        case Request::Version:
            print(stdout, QStringLiteral("%1 %2\n").arg(name, version()));
            return 0;
        case Request::Mistake:
            print(stderr, QStringLiteral("%1: %2\n").arg(name, mistake_) +
                              tr("Try '%1 --help' for more information.").arg(name) + '\n');
            return kUsageError;
        case Request::Start:
            break;
    }
    return 0;
}

QString CommandLine::helpText() const {
    const QString userData = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QStringList epilogue{
        tr("The device list (kestrel.data) and the logs (log/) are kept in the program's\n"
           "folder, or in %1 when that folder cannot be written.")
            .arg(userData),
        QString(),
        tr("Exit status:"),
        tr("  0    normal end, or help or version shown"),
        tr("  2    unknown option or unexpected argument"),
        tr("  255  another instance of the program is already running"),
    };
    return parser_.helpText() + '\n' + epilogue.join('\n') + '\n';
}

bool CommandLine::asksForInformation(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const Request request = CommandLine().parse(arguments);
    return request == Request::Help || request == Request::Version;
}

QString CommandLine::version() {
    return QStringLiteral(FACEKEEPER_VERSION);
}
