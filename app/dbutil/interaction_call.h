// The one request path of the face-library calls: call the export on its record, copy the
// reply text at once (it lives only until the next call on the session) and read its head.
#pragma once

#include <QByteArray>
#include <QDebug>
#include <QMutex>

#include "interaction_reply.h"

struct CallOutcome {
    int result = 0;  // the export's code, 2 for a reply of the wrong shape, or the camera's code
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

// Held from a call until its reply has been copied: members run on several threads at once, and
// the next call on the same session would overwrite the reply in between.
inline QMutex& replyMutex() {
    static QMutex mutex;
    return mutex;
}

template <class Record>
CallOutcome callCamera(int (*call)(int, Record*), int handle, Record& record) {
    QMutexLocker lock(&replyMutex());
    record.reply = nullptr;
    const int code = call(handle, &record);
    CallOutcome outcome;
    const bool replied = record.reply != nullptr;
    if (replied) outcome.text = QByteArray(record.reply);
    lock.unlock();
    outcome.head = reply::readHead(replied ? outcome.text.constData() : nullptr);
    outcome.result = reply::callResult(code, outcome.head);
    return outcome;
}

// The debug line that goes with every failed lower step.
inline void debugFailure(const char* step, int code) {
    qDebug().noquote() << step << "error code: " << code;
}
