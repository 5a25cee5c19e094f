// Interaction members of the device and its face libraries.
#include <camlink.h>

#include <QDebug>
#include <QThread>

#include "applog.h"
#include "interaction.h"
#include "interaction_args.h"
#include "interaction_call.h"
#include "resultcode.h"

namespace {

const char* const kSource = "dbutil\\interaction";
constexpr int kDeleteTries = 30;
constexpr int kDeleteRetryMs = 2000;
constexpr int kFindTries = 3;

vcam_library_record libraryRecord(const QString& libid) {
    auto record = args::cleared<vcam_library_record>();
    args::putText(record.libid, libid);
    return record;
}

QByteArray utf8(const QString& text) {
    return text.toUtf8();
}

}  // namespace

bool isSupportedVersion(const QString& version) {
    return version.size() >= 10 && version.size() <= 256 && version.contains("RECOG");
}

int Interaction::readVersion(int handle, SDeviceInfo* device) {
    auto attr = args::cleared<vcam_device_attr>();
    int code = 0;
    {
        sessionlock::Guard session(handle);  // the call still uses the session's reply buffer
        code = vcam_control_device_attr(handle, &attr);
    }
    if (code != 0) {
        FK_LOG(kSource, 3, "%s, error code %d.\n", "Interaction::get_ota", code);
        debugFailure("Interaction::updateIPC", code);
        return code;
    }
    QString ota = args::fieldText(attr.ota);
    if (ota.startsWith("QX-")) ota.remove(0, 3);
    device->ota = ota;
    return 0;
}

int Interaction::listLibraries(int handle, SDeviceInfo* device) {
    auto record = args::cleared<vcam_library_record>();
    CallOutcome outcome = callCamera(vcam_control_list_library, handle, record);
    outcome.read(
        [&](const QJsonValue& data) { return reply::readLibraryList(data, &device->dbs); });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s.\n", "Interaction::list_fdb",
               outcome.result, outcome.message());
        debugFailure("Interaction::list_fdb", outcome.result);
    }
    return outcome.result;
}

Interaction::DeviceCheck Interaction::checkDevice(SDeviceInfo* device, LoginResult* login) {
    LoginResult local;
    if (!login) login = &local;
    DeviceCheck check;
    check.handle = this->login(device->ip, device->username, device->password, login);
    device->status = 1;
    if (check.handle <= 0) {
        check.code = login->code != 0 ? login->code : resultcode::LoginFailed;
        return check;
    }
    check.code = readVersion(check.handle, device);
    if (check.code != 0) return check;
    check.versionRead = true;
    if (!isSupportedVersion(device->ota)) check.code = resultcode::WrongDeviceType;
    return check;
}

int Interaction::updateIPC(SDeviceInfo* device, LoginResult* login) {
    if (!device) return resultcode::BadParameter;
    const DeviceCheck check = checkDevice(device, login);
    if (check.code != 0) return check.code;
    device->status = 0;
    return listLibraries(check.handle, device);
}

int Interaction::checkIPC(SDeviceInfo* device, LoginResult* login) {
    if (!device) return resultcode::BadParameter;
    const DeviceCheck check = checkDevice(device, login);
    if (check.handle > 0 && !check.versionRead) return resultcode::NotDone;
    if (check.code != 0) return check.code;
    device->status = 0;
    return 0;
}

bool Interaction::refreshDbList(SDeviceInfo* device) {
    if (!device) return true;
    const int handle = loginFor(*device, "Interaction::refreshDbList", "login failed.");
    return handle > 0 && listLibraries(handle, device) == 0;
}

bool Interaction::addFaceDB(const SDeviceInfo& device, SDBInfo* db) {
    if (!db) return true;
    const int handle = loginFor(device, "Interaction::addFaceDB", "login failed.");
    if (handle <= 0) return false;
    auto record = args::cleared<vcam_library_record>();
    args::putText(record.name, db->name);
    record.threshold = db->threshold;
    CallOutcome outcome = callCamera(vcam_control_create_library, handle, record);
    outcome.read([&](const QJsonValue& data) { return reply::readLibraryId(data, db); });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, dbname: %s.\n", "Interaction::add_fdb",
               outcome.result, outcome.message(), utf8(db->name).constData());
        debugFailure("Interaction::add_fdb", outcome.result);
    }
    return outcome.ok();
}

bool Interaction::updateFaceDB(const SDeviceInfo& device, const SDBInfo& db) {
    const int handle = loginFor(device, "Interaction::updateFaceDB", "login failed");
    if (handle <= 0) return false;
    auto record = libraryRecord(db.libid);
    args::putText(record.name, db.name);
    record.threshold = db.threshold;
    CallOutcome outcome = callCamera(vcam_control_update_library, handle, record);
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, dbname: %s.\n",
               "Interaction::update_fdb", outcome.result, outcome.message(),
               utf8(db.name).constData());
        debugFailure("Interaction::update_fdb", outcome.result);
    }
    return outcome.ok();
}

// A slow camera may still be deleting when the request times out: ask again until it answers.
bool Interaction::deleteFaceDB(const SDeviceInfo& device, const QString& libid) {
    const int handle = loginFor(device, "Interaction::deleteFaceDB", "login failed");
    if (handle <= 0) return false;
    int result = resultcode::TransferTimedOut;
    for (int attempt = 0; attempt < kDeleteTries && result == resultcode::TransferTimedOut;
         ++attempt) {
        if (attempt > 0) QThread::msleep(kDeleteRetryMs);
        auto record = libraryRecord(libid);
        result = callCamera(vcam_control_delete_library, handle, record).result;
    }
    if (result == resultcode::CameraLibraryNotFound) result = 0;
    if (result != 0) {
        FK_LOG(kSource, 3, "delete face DB failed, error code: %d.\n", result);
        debugFailure("Interaction::deleteFaceDB", result);
    }
    return result == 0;
}

int Interaction::findLibraryOnce(int handle, SDBInfo* db) {
    auto record = libraryRecord(db->libid);
    CallOutcome outcome = callCamera(vcam_control_find_library, handle, record);
    outcome.read([&](const QJsonValue& data) { return reply::readLibrary(data, db); });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s.\n", "Interaction::get_fdb",
               outcome.result, outcome.message());
        debugFailure("Interaction::get_fdb", outcome.result);
    }
    return outcome.result;
}

int Interaction::findLibrary(int handle, SDBInfo* db) {
    int result = resultcode::TransferTimedOut;
    for (int attempt = 0; attempt < kFindTries && result == resultcode::TransferTimedOut; ++attempt)
        result = findLibraryOnce(handle, db);
    return result;
}

bool Interaction::getFaceDB(const SDeviceInfo& device, SDBInfo* db) {
    if (!db) return true;
    const int handle = loginFor(device, "Interaction::getFaceDB", "login failed");
    return handle > 0 && findLibrary(handle, db) == 0;
}

// Lock and unlock send no body and their replies are not read: the export's code is the result.
int Interaction::libraryCall(int (*call)(int, vcam_library_record*), int handle,
                             const QString& libid, const char* step) {
    auto record = libraryRecord(libid);
    CallOutcome outcome = callCamera(call, handle, record);
    const int code = outcome.exportCode;  // the reply is not read
    if (code != 0) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s.\n", step, code, outcome.message());
        debugFailure(step, code);
    }
    return code;
}

int Interaction::lockFaceDB(const SDeviceInfo& device, const QString& libid) {
    const int handle = loginFor(device, "Interaction::lockFaceDB", "login failed.");
    if (handle <= 0) return resultcode::LoginFailed;
    return libraryCall(vcam_control_lock_libgen, handle, libid, "Interaction::lockFaceDB");
}

int Interaction::unlockFaceDB(const SDeviceInfo& device, const QString& libid) {
    const int handle = loginFor(device, "Interaction::unlockFaceDB", "login failed.");
    if (handle <= 0) return resultcode::LoginFailed;
    return libraryCall(vcam_control_unlock_libgen, handle, libid, "Interaction::unlockFaceDB");
}

bool Interaction::clearImages(const SDeviceInfo& device, const QString& libid) {
    const int handle = loginFor(device, "Interaction::clearImages", "login failed.");
    if (handle <= 0) return false;
    auto record = libraryRecord(libid);
    CallOutcome outcome = callCamera(vcam_control_del_lib_image, handle, record);
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s.\n", "Interaction::clearImages",
               outcome.result, outcome.message());
        debugFailure("Interaction::clearImages", outcome.result);
    }
    return outcome.ok();
}
