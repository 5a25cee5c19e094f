#include "pagecall.h"

PageCall::~PageCall() {
    // Calls still out end the overlay now: their answers find no owner and end nothing.
    for (int i = 0; i < pending_.size(); ++i)
        busy::end();
}

PageCall::Ticket PageCall::open(const QString& channel, busy::Mode mode) {
    const quint64 id = ++nextId_;
    latest_.insert(channel, id);
    pending_.insert(id);
    busy::begin(mode);
    return Ticket{this, channel, id, generation_};
}

bool PageCall::close(const Ticket& ticket) {
    PageCall* owner = ticket.owner.data();
    if (!owner || !owner->pending_.remove(ticket.id)) return false;
    busy::end();
    return ticket.generation == owner->generation_ &&
           owner->latest_.value(ticket.channel) == ticket.id && !busy::closing();
}
