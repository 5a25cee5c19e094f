// One backup run per directory at a time: an advisory lock on DIR/lock, which holds the
// holder's process id. The kernel drops the lock when its holder dies, even by SIGKILL, so a
// stale lock is simply taken; the id left in the file says whose it was.
#pragma once

#include <QString>

namespace backup {

class RunLock {
public:
    enum class Outcome { Taken, Held, Failed };

    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // holder: the process holding it (Held) or the dead one whose lock was taken over (0 when
    // there was none). error: why it failed (Failed).
    Outcome take(const QString& dir, qint64* holder, QString* error);

private:
    int fd_ = -1;
};

}  // namespace backup
