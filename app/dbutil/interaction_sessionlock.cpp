#include "interaction_sessionlock.h"

#include <QHash>
#include <QMutexLocker>

namespace sessionlock {
namespace {

QMutex tableMutex;
QHash<int, std::shared_ptr<QMutex>> table;

std::shared_ptr<QMutex> lockOf(int handle) {
    QMutexLocker guard(&tableMutex);
    std::shared_ptr<QMutex>& entry = table[handle];
    if (!entry) entry = std::make_shared<QMutex>();
    return entry;
}

}  // namespace

Guard::Guard(int handle) : mutex_(lockOf(handle)) {
    mutex_->lock();
}

Guard::~Guard() {
    mutex_->unlock();
}

void forget(int handle) {
    QMutexLocker guard(&tableMutex);
    table.remove(handle);
}

}  // namespace sessionlock
