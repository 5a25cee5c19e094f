// Runs one Interaction member on Qt's global thread pool and hands its result to a callback
// on the GUI thread. Each page that talks to cameras owns one. Records the member writes are
// shared with the caller, who must not touch them until the callback has run.
#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QSharedPointer>
#include <QVariant>
#include <QtConcurrent>
#include <functional>

#include "records.h"

class DeviceControl : public QObject {
    Q_OBJECT
public:
    using Callback = std::function<void(const QVariant& result)>;
    using LoginCallback = std::function<void(const QVariant& result, const LoginResult& login)>;

    explicit DeviceControl(QObject* parent = nullptr) : QObject(parent) {}

    void updateIPC(QSharedPointer<SDeviceInfo> device, LoginCallback callback);
    void checkIPC(QSharedPointer<SDeviceInfo> device, LoginCallback callback);
    // Reads the camera's library list into device->dbs.
    void refreshDbList(QSharedPointer<SDeviceInfo> device, Callback callback);
    void addFaceDB(const SDeviceInfo& device, QSharedPointer<SDBInfo> db, Callback callback);
    void updateFaceDB(const SDeviceInfo& device, const SDBInfo& db, Callback callback);
    void deleteFaceDB(const SDeviceInfo& device, const QString& libid, Callback callback);
    void clearImages(const SDeviceInfo& device, const QString& libid, Callback callback);
    void addImage(const SDeviceInfo& device, SFeatrueInfoPtr image, Callback callback);
    void updateImage(const SDeviceInfo& device, const SFeatrueInfo& image, Callback callback);
    void deleteImage(const SDeviceInfo& device, const SFeatrueInfo& image, Callback callback);
    void deleteImages(const SDeviceInfo& device, QSharedPointer<SFeatrueList> images,
                      Callback callback);
    // The result is 0, or the code of the failed login or listing.
    void listImage(const SDeviceInfo& device, QSharedPointer<SPageInfo> page,
                   QSharedPointer<SFeatrueList> out, Callback callback);
    void getImage(const SDeviceInfo& device, QSharedPointer<Protocol::MsgImageData> data,
                  Callback callback);

private:
    // Starts work on the pool; done runs on this object's thread once the result is there.
    template <class Result>
    void run(std::function<Result()> work, std::function<void(const Result&)> done) {
        auto* watcher = new QFutureWatcher<Result>(this);
        connect(watcher, &QFutureWatcherBase::finished, this, [watcher, done] {
            done(watcher->result());
            watcher->deleteLater();
        });
        watcher->setFuture(QtConcurrent::run(std::move(work)));
    }

    // The common case: the result wrapped in a QVariant, with an optional debug line.
    template <class Result>
    void runWrapped(std::function<Result()> work, Callback callback, const char* debugName) {
        run<Result>(std::move(work), [callback, debugName](const Result& result) {
            if (debugName) qDebug().noquote() << debugName << result;
            if (callback) callback(QVariant::fromValue(result));
        });
    }
};
