// The cameras of the random-input run, each with its own fault, the files the program is
// offered in its file dialogs, and camsim's picture counts read straight from the cameras.
#pragma once

#include <QHash>
#include <QString>
#include <QTemporaryDir>
#include <QVector>

#include "app_cameras.h"

namespace monkey {

class Fleet {
public:
    // Starts the cameras and writes the store, pictures and package into the working folder.
    explicit Fleet(const QString& workDir);

    // A camera that stops answering uploads part way: armed when an upload job starts.
    void breakUploads();
    void mendUploads();

    // Pictures per library, keyed "ip/library name", as the cameras hold them.
    QHash<QString, int> pictureCounts();

    QString pictureDir() const { return pictureDir_; }
    QString packageFile() const { return packageFile_; }
    QString junkFile() const { return junkFile_; }
    // Texts worth typing into the program's fields: addresses, user names, passwords.
    const QStringList& words() const { return words_; }

private:
    camsim::Camera* start(const char* library);
    void writePackage(const SDeviceInfo& device);

    testsupport::CameraSet cameras_;
    QVector<camsim::Camera*> all_;
    camsim::Camera* midway_ = nullptr;
    QString pictureDir_, packageFile_, junkFile_;
    QStringList words_;
};

}  // namespace monkey
