// The device list as CSV, out and in: "address,user,name,group" (and "password" when the
// operator asks for it), UTF-8 with a header row. Reading checks every line before anything is
// added: a line that breaks a rule is an error naming its line, a camera listed already (or
// twice in the file) is named and left out.
#pragma once

#include <QByteArray>
#include <QStringList>
#include <QVector>
#include <functional>

#include "devicelabels.h"
#include "records.h"

namespace devicecsv {

constexpr qint64 kMaxFileBytes = 1024 * 1024;
constexpr int kMaxCameras = 5000;

struct Camera {
    int line = 0;
    QString ip;
    QString user;
    QString password;
    DeviceLabel label;
};

struct Reading {
    QVector<Camera> cameras;  // fit to add
    QStringList errors;       // "Line 4: ...", in line order
    QStringList duplicates;   // "Line 7: 10.0.0.3 ...", left out
    // A file with any error adds nothing: the operator fixes it and reads it again.
    bool refused() const { return !errors.isEmpty(); }
};

// The device list with each camera's label; passwords only when withPasswords.
QByteArray write(const QVector<SDeviceInfo>& devices, const DeviceLabels& labels,
                 bool withPasswords);

// listed tells whether a canonical address is in the device list already.
Reading read(const QByteArray& data, const std::function<bool(const QString&)>& listed);

}  // namespace devicecsv
