// One camera call of a page or dialog: the busy overlay on, the call through DeviceControl, the
// overlay off when it answers, then the page's answer handler (which shows the message). Answers
// of a superseded request are dropped: a newer call on the same channel, the page switching to
// another camera (supersedeAll), or the program closing. Every begin of the overlay is matched by
// one end, also for dropped answers and for calls still out when the owner is destroyed.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <utility>

#include "dbutil/busy.h"

class PageCall : public QObject {
public:
    explicit PageCall(QObject* parent = nullptr) : QObject(parent) {}
    ~PageCall() override;

    // start(done) starts the DeviceControl call with `done` as its callback; answer receives what
    // the call reports (the same arguments) unless the request was superseded meanwhile.
    template <class Start, class Answer>
    void run(const QString& channel, busy::Mode mode, Start&& start, Answer answer) {
        const Ticket ticket = open(channel, mode);
        start([ticket, answer](auto&&... result) {
            if (close(ticket)) answer(result...);
        });
    }

    // Drops the answers of every call still out, or of one channel's; their overlay still ends
    // when they answer.
    void supersedeAll() { ++generation_; }
    void supersede(const QString& channel) { latest_.remove(channel); }
    // Calls started and not yet answered.
    int pending() const { return pending_.size(); }

private:
    struct Ticket {
        QPointer<PageCall> owner;
        QString channel;
        quint64 id;
        quint64 generation;
    };

    Ticket open(const QString& channel, busy::Mode mode);
    // Ends the overlay of the ticket's call; true when its answer is still wanted.
    static bool close(const Ticket& ticket);

    QHash<QString, quint64> latest_;
    QSet<quint64> pending_;
    quint64 nextId_ = 0;
    quint64 generation_ = 0;
};
