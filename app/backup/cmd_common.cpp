#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "commands.h"
#include "sealing.h"

namespace backup {

namespace {

std::atomic<bool> stopRequested{false};

extern "C" void requestStop(int) {
    stopRequested = true;
}

}  // namespace

std::atomic<bool>& catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = requestStop;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    return stopRequested;
}

namespace {
std::FILE* programOutput = stdout;
}

std::FILE* output() {
    return programOutput;
}

void keepOutputFromLibraries() {
    std::fflush(stdout);
    const int copy = ::dup(STDOUT_FILENO);
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    std::FILE* stream = copy >= 0 ? ::fdopen(copy, "w") : nullptr;
    if (!stream || null < 0 || ::dup2(null, STDOUT_FILENO) < 0) return;
    ::close(null);
    programOutput = stream;
}

void printError(const QString& text) {
    std::fprintf(stderr, "facekeeper-backup: %s\n", qPrintable(text));
}

bool loadKeyOption(const QString& keyFile, sealing::KeyPair* keys, bool* given) {
    *given = !keyFile.isEmpty();
    if (!*given) return true;
    QString error;
    if (sealing::loadKeyPair(keyFile, keys, &error)) return true;
    printError(error);
    return false;
}

int runKeygen(const QString& prefix) {
    QString error;
    if (!sealing::generateKeys(prefix, &error)) {
        printError(error);
        return exitcode::kFailed;
    }
    std::fprintf(output(), "public key (for backup --recipient): %s.pub\n", qPrintable(prefix));
    std::fprintf(output(), "secret key (for verify, diff, restore --key; keep it off the backup host): %s.key\n",
                qPrintable(prefix));
    return exitcode::kOk;
}

}  // namespace backup
