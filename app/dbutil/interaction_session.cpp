// The session cache: one camlink session per camera address, logged in on first use and
// kept until the credentials change, a login fails or the program ends.
#include <camlink.h>

#include <QDebug>
#include <QMutexLocker>

#include "applog.h"
#include "interaction.h"
#include "interaction_reply.h"
#include "interaction_sessionlock.h"

namespace {
const char* const kSource = "dbutil\\interaction";

// Waits for a call another thread is making on the session, then ends it.
void logout(int handle) {
    if (handle <= 0) return;
    {
        sessionlock::Guard session(handle);
        vcam_control_logout(handle);
    }
    sessionlock::forget(handle);
}
}

Interaction& Interaction::instance() {
    static Interaction interaction;
    return interaction;
}

Interaction::~Interaction() {
    logoutAll();
}

int Interaction::login(const QString& ip, const QString& username, const QString& password,
                       LoginResult* result) {
    LoginResult ignored;
    if (!result) result = &ignored;
    QMutexLocker lock(&mutex_);
    auto cached = sessions_.find(ip);
    if (cached != sessions_.end()) {
        if (cached->username == username && cached->password == password) {
            result->code = 0;
            return cached->handle;
        }
        logout(cached->handle);
        sessions_.erase(cached);
    }

    int handle = 0;
    char reply[VCAM_LOGIN_REPLY_SIZE * 2] = {};
    result->code =
        vcam_control_login_v2(&handle, ip.toUtf8().constData(), username.toUtf8().constData(),
                              password.toUtf8().constData(), reply);
    reply[sizeof reply - 1] = '\0';
    if (result->code != 0) {
        logout(handle);
        result->left = reply::readLoginLeft(result->code, reply);
        return 0;
    }
    sessions_.insert(ip, DeviceSession{ip, username, password, handle});
    return handle;
}

void Interaction::logoutAll() {
    QMutexLocker lock(&mutex_);
    for (const DeviceSession& session : qAsConst(sessions_)) {
        logout(session.handle);
    }
    sessions_.clear();
}

int Interaction::sessionCount() const {
    QMutexLocker lock(&mutex_);
    return sessions_.size();
}

int Interaction::loginFor(const SDeviceInfo& device, const char* member, const char* debugText,
                          LoginResult* result) {
    int handle = login(device.ip, device.username, device.password, result);
    if (handle <= 0) {
        FK_LOG(kSource, 3, "%s, login failed, ip: %s.\n", member, device.ip.toUtf8().constData());
        qDebug() << member << debugText;
    }
    return handle;
}
