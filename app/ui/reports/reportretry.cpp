#include "reportretry.h"

#include <QHash>
#include <QPointer>

namespace reportretry {

namespace {

struct Entry {
    QPointer<QObject> owner;
    Handler handler;
};

// GUI thread only, like the owners.
QHash<int, Entry>& handlers() {
    static QHash<int, Entry> table;
    return table;
}

}  // namespace

void setHandler(reports::JobKind kind, QObject* owner, Handler handler) {
    handlers().insert(int(kind), Entry{owner, std::move(handler)});
}

bool available(reports::JobKind kind) {
    const auto found = handlers().constFind(int(kind));
    return found != handlers().constEnd() && found->owner;
}

bool retry(const reports::JobReport& failed) {
    if (!available(failed.kind) || failed.rows.isEmpty()) return false;
    // A copy: the handler may register again while it runs.
    const Handler handler = handlers().value(int(failed.kind)).handler;
    return handler(failed);
}

}  // namespace reportretry
