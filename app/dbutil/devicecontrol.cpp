#include "devicecontrol.h"

#include "interaction.h"

namespace {
Interaction& camera() {
    return Interaction::instance();
}
}  // namespace

void DeviceControl::updateIPC(QSharedPointer<SDeviceInfo> device, LoginCallback callback) {
    auto login = QSharedPointer<LoginResult>::create();
    run<int>([device, login] { return camera().updateIPC(device.data(), login.data()); },
             [callback, login](const int& result) {
                 if (callback) callback(QVariant(result), *login);
             });
}

void DeviceControl::checkIPC(QSharedPointer<SDeviceInfo> device, LoginCallback callback) {
    auto login = QSharedPointer<LoginResult>::create();
    run<int>([device, login] { return camera().checkIPC(device.data(), login.data()); },
             [callback, login](const int& result) {
                 if (callback) callback(QVariant(result), *login);
             });
}

void DeviceControl::refreshDbList(QSharedPointer<SDeviceInfo> device, Callback callback) {
    runWrapped<bool>([device] { return camera().refreshDbList(device.data()); }, callback,
                     nullptr);
}

void DeviceControl::addFaceDB(const SDeviceInfo& device, QSharedPointer<SDBInfo> db,
                              Callback callback) {
    runWrapped<bool>([device, db] { return camera().addFaceDB(device, db.data()); }, callback,
                     nullptr);
}

void DeviceControl::updateFaceDB(const SDeviceInfo& device, const SDBInfo& db, Callback callback) {
    runWrapped<bool>([device, db] { return camera().updateFaceDB(device, db); }, callback, nullptr);
}

void DeviceControl::deleteFaceDB(const SDeviceInfo& device, const QString& libid,
                                 Callback callback) {
    runWrapped<bool>([device, libid] { return camera().deleteFaceDB(device, libid); }, callback,
                     nullptr);
}

void DeviceControl::clearImages(const SDeviceInfo& device, const QString& libid,
                                Callback callback) {
    runWrapped<bool>([device, libid] { return camera().clearImages(device, libid); }, callback,
                     "clearImages");
}

void DeviceControl::addImage(const SDeviceInfo& device, SFeatrueInfoPtr image, Callback callback) {
    runWrapped<bool>([device, image] { return camera().addImage(device, image); }, callback,
                     nullptr);
}

void DeviceControl::updateImage(const SDeviceInfo& device, const SFeatrueInfo& image,
                                Callback callback) {
    runWrapped<bool>([device, image] { return camera().updateImage(device, image); }, callback,
                     nullptr);
}

void DeviceControl::deleteImage(const SDeviceInfo& device, const SFeatrueInfo& image,
                                Callback callback) {
    runWrapped<int>([device, image] { return camera().deleteImage(device, image); }, callback,
                    "deleteImage");
}

void DeviceControl::deleteImages(const SDeviceInfo& device, QSharedPointer<SFeatrueList> images,
                                 Callback callback) {
    runWrapped<int>([device, images] { return camera().deleteImages(device, images.data()); },
                    callback, nullptr);
}

void DeviceControl::listImage(const SDeviceInfo& device, QSharedPointer<SPageInfo> page,
                              QSharedPointer<SFeatrueList> out, Callback callback) {
    runWrapped<int>(
        [device, page, out] {
            int code = 0;
            camera().listImage(device, page.data(), out.data(), &code);
            return code;
        },
        callback, "listImage");
}

void DeviceControl::getImage(const SDeviceInfo& device, QSharedPointer<Protocol::MsgImageData> data,
                             Callback callback) {
    runWrapped<int>([device, data] { return camera().getImage(device, data.data()); }, callback,
                    nullptr);
}
