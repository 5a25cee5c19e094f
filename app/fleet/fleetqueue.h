// Camera work over many cameras: at most fleet::limit() items run at once on a pool of their
// own, the rest wait in order. Each item's answer runs on the queue's thread as soon as its
// own camera has answered, whatever the others do.
#pragma once

#include <QObject>
#include <QQueue>
#include <QStringList>
#include <functional>

class QThreadPool;

class FleetQueue : public QObject {
    Q_OBJECT
public:
    using Work = std::function<void()>;  // on the pool
    using Done = std::function<void()>;  // on the queue's thread, after its work

    explicit FleetQueue(QObject* parent = nullptr);
    // Drops the waiting items; running ones end on the pool and their answers are dropped.
    ~FleetQueue() override;

    // key names the item (a camera's address) for dropWaiting.
    void add(const QString& key, Work work, Done done);
    // Asked before each start: once it says true, the waiting items are dropped instead.
    void setStopCheck(std::function<bool()> stop) { stop_ = std::move(stop); }
    // Items not started yet are dropped (their answers never run); returns their keys.
    QStringList dropWaiting();

    int waiting() const { return waiting_.size(); }
    int running() const { return running_; }
    bool idle() const { return running_ == 0 && waiting_.isEmpty(); }

    // The pool of every queue: the end of the program waits for it, within a bound.
    static QThreadPool& pool();

signals:
    // Waiting items dropped because the stop check said so.
    void signalDropped(const QStringList& keys);
    // The last item's answer has run and nothing waits.
    void signalIdle();

private:
    struct Item {
        QString key;
        Work work;
        Done done;
    };

    void startWaiting();
    void start(Item item);
    void onItemDone(const Done& done);

    QQueue<Item> waiting_;
    int running_ = 0;
    std::function<bool()> stop_;
};
