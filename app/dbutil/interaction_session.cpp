// The session cache: one camlink session per camera address, logged in on first use and
// kept until the credentials change, a login fails or the program ends.
#include <camlink.h>

#include <QDebug>

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
    // One login per camera at a time; the table is locked only to look up and change it, so a
    // camera that does not answer keeps nobody else from logging in.
    const std::shared_ptr<std::mutex> gate = loginGate(ip);
    std::lock_guard<std::mutex> cameraLock(*gate);
    int replaced = 0;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        auto cached = sessions_.find(ip);
        if (cached != sessions_.end()) {
            if (cached->username == username && cached->password == password) {
                result->code = 0;
                return cached->handle;
            }
            replaced = cached->handle;
            sessions_.erase(cached);
        }
    }
    logout(replaced);

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
    std::unique_lock<std::mutex> lock(mutex_);
    sessions_.insert(ip, DeviceSession{ip, username, password, handle});
    return handle;
}

std::shared_ptr<std::mutex> Interaction::loginGate(const QString& ip) {
    std::unique_lock<std::mutex> lock(mutex_);
    std::shared_ptr<std::mutex>& gate = loginGates_[ip];
    if (!gate) gate = std::make_shared<std::mutex>();
    return gate;
}

void Interaction::logoutAll() {
    QHash<QString, DeviceSession> sessions;
    {
        std::unique_lock<std::mutex> lock(mutex_);
        sessions.swap(sessions_);
    }
    for (const DeviceSession& session : qAsConst(sessions))
        logout(session.handle);
}

int Interaction::openLane(const SDeviceInfo& device) {
    int handle = 0;
    char reply[VCAM_LOGIN_REPLY_SIZE * 2] = {};
    const int code = vcam_control_login_v2(&handle, device.ip.toUtf8().constData(),
                                           device.username.toUtf8().constData(),
                                           device.password.toUtf8().constData(), reply);
    if (code == 0 && handle > 0) return handle;
    logout(handle);
    return 0;
}

void Interaction::closeLane(int handle) {
    logout(handle);
}

int Interaction::sessionCount() const {
    std::unique_lock<std::mutex> lock(mutex_);
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
