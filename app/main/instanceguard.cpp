#include "instanceguard.h"

namespace {

class SemaphoreLocker {
public:
    explicit SemaphoreLocker(QSystemSemaphore& semaphore) : semaphore_(semaphore) {
        semaphore_.acquire();
    }
    ~SemaphoreLocker() { semaphore_.release(); }
    SemaphoreLocker(const SemaphoreLocker&) = delete;
    SemaphoreLocker& operator=(const SemaphoreLocker&) = delete;

private:
    QSystemSemaphore& semaphore_;
};

}  // namespace

InstanceGuard::InstanceGuard(const QString& key)
    : key_(key), memory_(memoryKey(key)), lock_(lockKey(key), 1, QSystemSemaphore::Open) {
    SemaphoreLocker locker(lock_);
    // A segment nobody is attached to anymore is removed by the last detach.
    QSharedMemory stale(memoryKey(key));
    if (stale.attach()) stale.detach();
}

InstanceGuard::~InstanceGuard() {
    SemaphoreLocker locker(lock_);
    if (memory_.isAttached()) memory_.detach();
}

bool InstanceGuard::tryToRun() {
    SemaphoreLocker locker(lock_);
    if (memory_.attach()) return false;
    return memory_.create(1);
}

void InstanceGuard::release() {
    SemaphoreLocker locker(lock_);
    if (memory_.isAttached()) memory_.detach();
}
