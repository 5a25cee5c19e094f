// Interaction members of the images of a library.
#include <camlink.h>

#include <QUuid>

#include "applog.h"
#include "fleet/fleetlanes.h"
#include "interaction.h"
#include "interaction_args.h"
#include "interaction_call.h"
#include "resultcode.h"

namespace {

const char* const kSource = "dbutil\\interaction";

// The fields that name an image and its texts.
vcam_image_record imageRecord(const SFeatrueInfo& image) {
    auto record = args::cleared<vcam_image_record>();
    record.imgid = image.imgid;
    args::putText(record.uid, image.uid);
    args::putText(record.libid, image.libid);
    args::putText(record.name, image.name);
    args::putExt(record, image.ext);
    return record;
}

QString freshUid() {
    return QUuid::createUuid().toString().remove(QLatin1Char('{')).remove(QLatin1Char('}'));
}

}  // namespace

int Interaction::addImageStep(int handle, SFeatrueInfo* image) {
    if (image->uid.isEmpty()) image->uid = freshUid();
    auto record = args::cleared<vcam_image_record>();
    args::putLocal(record.path, image->path);
    args::putText(record.libid, image->libid);
    args::putText(record.name, image->name);
    CallOutcome outcome = callCamera(vcam_control_add_image, handle, record);
    outcome.read([&](const QJsonValue& data) { return reply::readImageId(data, image); });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, path: %s.\n", "Interaction::add_img",
               outcome.result, outcome.message(), image->path.toLocal8Bit().constData());
        debugFailure("Interaction::add_img", outcome.result);
        return outcome.result;
    }
    const int result = updateImageStep(handle, *image);
    return result != 0 ? result : findImageStep(handle, image);
}

int Interaction::updateImageStep(int handle, const SFeatrueInfo& image) {
    auto record = imageRecord(image);
    CallOutcome outcome = callCamera(vcam_control_update_image, handle, record);
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, path: %s.\n", "Interaction::update_img",
               outcome.result, outcome.message(), image.path.toLocal8Bit().constData());
        debugFailure("Interaction::update_img", outcome.result);
    }
    return outcome.result;
}

int Interaction::findImageStep(int handle, SFeatrueInfo* image) {
    auto record = imageRecord(*image);
    CallOutcome outcome = callCamera(vcam_control_find_image, handle, record);
    outcome.read([&](const QJsonValue& data) {
        return data.isObject() ? reply::readImage(data.toObject(), image)
                               : resultcode::InvalidMessage;
    });
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, imgid: %lld.\n", "Interaction::get_img",
               outcome.result, outcome.message(), static_cast<long long>(image->imgid));
        debugFailure("Interaction::get_img", outcome.result);
    }
    return outcome.result;
}

int Interaction::deleteImageStep(int handle, const SFeatrueInfo& image) {
    auto record = imageRecord(image);
    CallOutcome outcome = callCamera(vcam_control_delete_image, handle, record);
    if (!outcome.ok()) {
        FK_LOG(kSource, 3, "%s, error code %d, message %s, imgid: %lld.\n", "Interaction::del_img",
               outcome.result, outcome.message(), static_cast<long long>(image.imgid));
        debugFailure("Interaction::del_img", outcome.result);
    }
    return outcome.result;
}

bool Interaction::addImage(const SDeviceInfo& device, const SFeatrueInfoPtr& image) {
    if (!image) return true;
    const int handle = loginFor(device, "Interaction::addImage", "login failed.");
    return handle > 0 && addImageStep(handle, image.data()) == 0;
}

int Interaction::addImages(const SDeviceInfo& device, const QString& libid,
                           const SFeatrueList& images, const CountCallback& progress,
                           const ItemCallback& itemDone) {
    const int handle = loginFor(device, "Interaction::addImage", "login failed.");
    if (handle <= 0) return 0;
    // Side by side a slow camera takes several pictures at once, on sessions of their own.
    return countedLoop(
        handle, libid, images, progress,
        [this](int h, SFeatrueInfo* image) { return addImageStep(h, image); },
        "Interaction::addImages", fleet::sessionsSideBySide() ? &device : nullptr,
        itemDone);
}

bool Interaction::updateImage(const SDeviceInfo& device, const SFeatrueInfo& image) {
    const int handle = loginFor(device, "Interaction::updateImage", "login failed.");
    return handle > 0 && updateImageStep(handle, image) == 0;
}

int Interaction::deleteImage(const SDeviceInfo& device, const SFeatrueInfo& image) {
    const int handle = loginFor(device, "Interaction::deleteImage", "login failed.");
    return handle > 0 ? deleteImageStep(handle, image) : resultcode::LoginFailed;
}

int Interaction::deleteImages(const SDeviceInfo& device, const SFeatrueList* images) {
    if (!images) return 1;
    const int handle = loginFor(device, "Interaction::deleteImages", "login failed.");
    if (handle <= 0) return 0;
    int deleted = 0;
    for (const SFeatrueInfoPtr& image : *images) {
        if (image && deleteImageStep(handle, *image) == 0) ++deleted;
    }
    return deleted;
}

int Interaction::getImage(const SDeviceInfo& device, Protocol::MsgImageData* data) {
    if (!data) return resultcode::BadParameter;
    const int handle = loginFor(device, "Interaction::getImage", "login failed.");
    if (handle <= 0) return resultcode::LoginFailed;
    auto record = args::cleared<vcam_image_data_record>();
    args::putLocal(record.url, data->url);
    int code = 0;
    {
        sessionlock::Guard session(handle);  // the bytes live in the session until copied
        code = vcam_control_image_data(handle, &record);
        if (code == 0 && (record.size < 0 || (record.size > 0 && !record.data)))
            code = resultcode::ImageNotFetched;
        if (code == 0)
            data->imageData = QByteArray(static_cast<const char*>(record.data), record.size);
    }
    if (code == 0) return 0;
    FK_LOG(kSource, 3, "%s, error code %d, message %s, url: %s.\n", "Interaction::get_img_data",
           code, "", data->url.toLocal8Bit().constData());
    debugFailure("Interaction::get_img_data", code);
    return code == resultcode::HttpNotFound ? resultcode::ImageGone : resultcode::ImageNotFetched;
}
