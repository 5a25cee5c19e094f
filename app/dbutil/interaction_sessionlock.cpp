#include "interaction_sessionlock.h"

#include <QHash>

namespace sessionlock {
namespace {

std::mutex tableMutex;
QHash<int, std::shared_ptr<std::mutex>> table;

std::shared_ptr<std::mutex> lockOf(int handle) {
    std::lock_guard<std::mutex> guard(tableMutex);
    std::shared_ptr<std::mutex>& entry = table[handle];
    if (!entry) entry = std::make_shared<std::mutex>();
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
    std::lock_guard<std::mutex> guard(tableMutex);
    table.remove(handle);
}

}  // namespace sessionlock
