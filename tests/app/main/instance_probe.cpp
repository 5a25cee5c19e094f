// Runs only the single-instance guard under the key given as the first argument: prints
// "running" and holds the guard until standard input closes, or exits with -1 when another
// instance holds it.
#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "instanceguard.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) return 2;
    InstanceGuard guard(QString::fromLocal8Bit(argv[1]));
    if (!guard.tryToRun()) {
        guard.release();
        std::puts("refused");
        return -1;
    }
    std::puts("running");
    std::fflush(stdout);
    QFile input;
    input.open(stdin, QIODevice::ReadOnly);
    input.readAll();
    return 0;
}
