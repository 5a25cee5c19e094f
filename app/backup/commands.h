// The subcommands other than backup; each returns the program's exit code.
#pragma once

#include <QString>
#include <atomic>
#include <cstdio>

namespace backup {

namespace exitcode {
constexpr int kOk = 0;
constexpr int kFailed = 1;  // some camera, library or package failed
constexpr int kUsage = 2;
constexpr int kLocked = 3;  // another run holds the lock
}  // namespace exitcode

struct DeviceChoice {
    QString storeFile;
    QString csvFile;
};

int runVerify(const QString& root, const QString& keyFile);
int runList(const QString& root);
int runDiff(const QString& older, const QString& newer, const QString& keyFile);
int runRestore(const QString& address, const QString& package, const QString& newName,
               const QString& keyFile, const DeviceChoice& devices);
int runKeygen(const QString& prefix);

// Loads the secret key when keyFile is given; false (message printed) when it cannot.
namespace sealing {
struct KeyPair;
}
bool loadKeyOption(const QString& keyFile, sealing::KeyPair* keys, bool* given);

// The program's standard output. camlink prints its own lines on file descriptor 1, which
// would break --json and the live lines, so main moves descriptor 1 to /dev/null and keeps a
// copy of the real output here.
std::FILE* output();
void keepOutputFromLibraries();

// The first SIGINT or SIGTERM sets the flag returned, for the run to stop at its next step; a
// second one ends the program at once (the handler is reset).
std::atomic<bool>& catchStopSignals();

// "error: ..." on standard error.
void printError(const QString& text);

}  // namespace backup
