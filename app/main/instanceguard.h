// One running instance per machine: a shared-memory segment held while the program runs, its
// checks serialised by a system semaphore. Both are named from one key.
#pragma once

#include <QSharedMemory>
#include <QString>
#include <QSystemSemaphore>

class InstanceGuard {
public:
    // Clears a segment left behind by an instance that was killed.
    explicit InstanceGuard(const QString& key);
    // Detaches, so the next start can run.
    ~InstanceGuard();
    InstanceGuard(const InstanceGuard&) = delete;
    InstanceGuard& operator=(const InstanceGuard&) = delete;

    // True when no other instance holds the segment; this one then holds it.
    bool tryToRun();
    void release();

    static QString memoryKey(const QString& key) { return key + "_shared_mem"; }
    static QString lockKey(const QString& key) { return key + "_memlock"; }

private:
    const QString key_;
    QSharedMemory memory_;
    QSystemSemaphore lock_;
};
