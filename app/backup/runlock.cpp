#include "runlock.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace backup {
namespace {

qint64 readHolder(int fd) {
    char text[32] = {};
    const ssize_t got = ::pread(fd, text, sizeof text - 1, 0);
    if (got <= 0) return 0;
    return QByteArray(text, int(got)).trimmed().toLongLong();
}

}  // namespace

RunLock::~RunLock() {
    if (fd_ < 0) return;
    // Emptied before it is released: an id in the file always names a holder, live or dead.
    const bool emptied = ::ftruncate(fd_, 0) == 0;
    (void)emptied;  // a dead holder's id is harmless: the next run takes the lock over
    ::close(fd_);
}

RunLock::Outcome RunLock::take(const QString& dir, qint64* holder, QString* error) {
    const QString path = QDir(dir).filePath("lock");
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = QString("cannot open %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        return Outcome::Failed;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int cause = errno;
        *holder = readHolder(fd);
        ::close(fd);
        if (cause == EWOULDBLOCK) return Outcome::Held;
        *error = QString("cannot lock %1: %2").arg(path, QString::fromLocal8Bit(strerror(cause)));
        return Outcome::Failed;
    }
    *holder = readHolder(fd);  // a run that died holding it
    const QByteArray pid = QByteArray::number(qint64(::getpid())) + '\n';
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.constData(), pid.size(), 0) != pid.size()) {
        *error = QString("cannot write %1: %2").arg(path, QString::fromLocal8Bit(strerror(errno)));
        ::close(fd);
        return Outcome::Failed;
    }
    fd_ = fd;
    return Outcome::Taken;
}

}  // namespace backup
