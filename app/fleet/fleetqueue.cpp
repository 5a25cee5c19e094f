#include "fleetqueue.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent>

#include "fleetsettings.h"

FleetQueue::FleetQueue(QObject* parent) : QObject(parent) {}

FleetQueue::~FleetQueue() {
    waiting_.clear();
}

QThreadPool& FleetQueue::pool() {
    // The bound lives in the queues; the pool only has to hold the largest one allowed.
    static QThreadPool* const shared = [] {
        auto* made = new QThreadPool;
        made->setMaxThreadCount(fleet::kMaxLimit);
        return made;
    }();
    return *shared;
}

void FleetQueue::add(const QString& key, Work work, Done done) {
    waiting_.enqueue(Item{key, std::move(work), std::move(done)});
    startWaiting();
    if (idle()) emit signalIdle();  // dropped at once by the stop check
}

QStringList FleetQueue::dropWaiting() {
    QStringList dropped;
    for (const Item& item : qAsConst(waiting_))
        dropped << item.key;
    waiting_.clear();
    return dropped;
}

void FleetQueue::startWaiting() {
    if (!waiting_.isEmpty() && stop_ && stop_()) {
        emit signalDropped(dropWaiting());
        return;
    }
    while (running_ < fleet::limit() && !waiting_.isEmpty())
        start(waiting_.dequeue());
}

void FleetQueue::start(Item item) {
    ++running_;
    // A child of the queue: when the queue goes, the answer of a running item goes with it.
    auto* watcher = new QFutureWatcher<void>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, done = item.done] {
        watcher->deleteLater();
        onItemDone(done);
    });
    // What the work holds goes before its answer is posted: the pool would otherwise drop it
    // later, perhaps while a program that quit on the answer tears down what it needs.
    watcher->setFuture(QtConcurrent::run(&pool(), [work = std::move(item.work)]() mutable {
        work();
        work = nullptr;
    }));
}

void FleetQueue::onItemDone(const Done& done) {
    --running_;
    if (done) done();
    startWaiting();
    if (idle()) emit signalIdle();
}
