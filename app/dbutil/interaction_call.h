// The one request path of the face-library calls: call the export on its record, copy the
// reply text at once (it lives only until the next call on the session) and read its head.
#pragma once

#include <QByteArray>
#include <QDebug>

#include "interaction_reply.h"
#include "interaction_sessionlock.h"

struct CallOutcome {
    int result = 0;      // the export's code, InvalidMessage for a reply of the wrong shape, or the
                         // camera's code
    int exportCode = 0;  // what the export itself returned
    reply::Head head;
    QByteArray text;  // the reply verbatim; empty when there was none

    bool ok() const { return result == 0; }
    const char* message() const { return text.constData(); }
    // Applies a data reader to a successful call: a wrong shape turns the result into 2.
    template <class Reader>
    CallOutcome& read(Reader reader) {
        if (ok()) result = reader(head.data);
        return *this;
    }
};

template <class Record>
CallOutcome callCamera(int (*call)(int, Record*), int handle, Record& record) {
    CallOutcome outcome;
    {
        sessionlock::Guard session(handle);
        record.reply = nullptr;
        outcome.exportCode = call(handle, &record);
        if (record.reply) outcome.text = QByteArray(record.reply);
        record.reply = nullptr;  // the copy is what the caller may read
    }
    outcome.head = reply::readHead(outcome.text.isNull() ? nullptr : outcome.text.constData());
    outcome.result = reply::callResult(outcome.exportCode, outcome.head);
    return outcome;
}

// The debug line that goes with every failed lower step.
inline void debugFailure(const char* step, int code) {
    qDebug().noquote() << step << "error code: " << code;
}
