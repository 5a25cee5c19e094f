#include "exitgrace.h"

#include <unistd.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QStringList>
#include <QThread>
#include <cstdio>
#include <vector>

#include "applog.h"

namespace exitgrace {
namespace {

// Never destroyed: workers may still touch them while the process ends.
struct State {
    QMutex mutex;
    bool begun = false;
    QDeadlineTimer deadline;
    QStringList paths;
    std::vector<std::function<void()>> steps;
};

State& state() {
    static State* const instance = new State;
    return *instance;
}

void removePath(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        QDir(path).removeRecursively();
    else
        QFile::remove(path);
}

}  // namespace

void begin(int ms) {
    QMutexLocker lock(&state().mutex);
    state().begun = true;
    state().deadline = QDeadlineTimer(ms);
}

bool active() {
    QMutexLocker lock(&state().mutex);
    return state().begun;
}

int remainingMs() {
    QMutexLocker lock(&state().mutex);
    if (!state().begun) return -1;
    return int(state().deadline.remainingTime());
}

void join(QThread* thread) {
    if (!active()) {
        thread->wait();
        return;
    }
    if (thread->wait(QDeadlineTimer(qMax(0, remainingMs())))) return;
    FK_LOG("dbutil\\exitgrace", 2, "a worker did not stop in time; the program ends without it\n");
    endNow(0);
}

void keepPath(const QString& path) {
    QMutexLocker lock(&state().mutex);
    state().paths.append(path);
}

void forgetPath(const QString& path) {
    QMutexLocker lock(&state().mutex);
    state().paths.removeOne(path);
}

void atEarlyEnd(std::function<void()> step) {
    QMutexLocker lock(&state().mutex);
    state().steps.push_back(std::move(step));
}

void endNow(int code) {
    QStringList paths;
    std::vector<std::function<void()>> steps;
    {
        QMutexLocker lock(&state().mutex);
        paths = state().paths;
        steps = state().steps;
    }
    for (const QString& path : paths)
        removePath(path);
    for (const auto& step : steps)
        step();
    AppLog::instance().setLevel(-1);  // closes the file, so its last lines are on disk
    std::fflush(nullptr);
    ::_exit(code);
}

}  // namespace exitgrace
