#include "deviceinfofactory.h"

#include <QDataStream>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <QTimerEvent>
#include <QtDebug>
#include <QtEndian>

#include "applog.h"
#include "inputcheck.h"

const char DeviceInfoFactory::kDefaultFileName[] = "kestrel.data";

namespace {

// Smallest encodings in the file: every text takes at least its 4-byte count.
constexpr qint64 kMinDeviceBytes = 6 * 4;   // ip, ota, library count, status, user, password
constexpr qint64 kMinLibraryBytes = 4 * 4;  // libid, name, imgnum, threshold

const QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

QString encodeCredential(const QString& text) {
    if (text.isEmpty()) return QString();
    return QString::fromLatin1(text.toUtf8().toBase64());
}

QString decodeCredential(const QString& text) {
    if (text.isEmpty()) return QString();
    return QString::fromUtf8(QByteArray::fromBase64(text.toLatin1()));
}

// Bytes the stream can still read.
qint64 remaining(QDataStream& in) {
    return in.device() ? in.device()->bytesAvailable() : 0;
}

// A count read from the data, trusted only when that many smallest records fit in what is
// left, so a damaged count never reserves more than the file could hold.
bool readCount(QDataStream& in, qint64 minRecordBytes, qint32* count) {
    in >> *count;
    if (in.status() != QDataStream::Ok || *count < 0) return false;
    return *count <= remaining(in) / minRecordBytes;
}

// A text whose byte count runs past the data is damage; it is refused before Qt reads it.
bool readText(QDataStream& in, QString* text) {
    if (in.status() != QDataStream::Ok || !in.device()) return false;
    const QByteArray head = in.device()->peek(4);
    if (head.size() < 4) return false;
    const quint32 bytes = in.byteOrder() == QDataStream::BigEndian
                              ? qFromBigEndian<quint32>(head.constData())
                              : qFromLittleEndian<quint32>(head.constData());
    if (bytes != 0xFFFFFFFFu && qint64(bytes) > remaining(in) - 4) return false;
    in >> *text;
    return in.status() == QDataStream::Ok;
}

// Only a text with a zero before another digit at the start of a part can be a padded address;
// the rest compare as they are, without parsing every stored address on each add.
bool mayBePadded(const QString& ip) {
    for (int i = 0; i + 1 < ip.size(); ++i)
        if (ip.at(i) == QLatin1Char('0') && ip.at(i + 1).isDigit() &&
            (i == 0 || ip.at(i - 1) == QLatin1Char('.')))
            return true;
    return false;
}

bool readDevice(QDataStream& in, SDeviceInfo* device) {
    if (!readText(in, &device->ip) || !readText(in, &device->ota)) return false;
    qint32 libraries = 0;
    if (!readCount(in, kMinLibraryBytes, &libraries)) return false;
    device->dbs.reserve(qMax<int>(libraries, SDeviceInfo::kMaxLibraries));
    for (qint32 i = 0; i < libraries; ++i) {
        SDBInfo db;
        if (!readText(in, &db.libid) || !readText(in, &db.name)) return false;
        in >> db.imgnum >> db.threshold;
        if (in.status() != QDataStream::Ok) return false;
        device->dbs.append(db);
    }
    qint32 status = 0;
    in >> status;  // read and ignored: a loaded device is unreachable until its first refresh
    device->status = 1;
    QString user, password;
    if (!readText(in, &user) || !readText(in, &password)) return false;
    device->username = decodeCredential(user);
    device->password = decodeCredential(password);
    return true;
}

}  // namespace

DeviceInfoFactory::DeviceInfoFactory(QObject* parent)
    : DeviceInfoFactory(QString::fromLatin1(kDefaultFileName), parent) {}

DeviceInfoFactory::DeviceInfoFactory(const QString& fileName, QObject* parent)
    : QObject(parent), fileName_(fileName) {
    devices_.reserve(kReserve);
    load();
    timerId_ = startTimer(kSaveIntervalMs, Qt::CoarseTimer);
}

DeviceInfoFactory::~DeviceInfoFactory() = default;

int DeviceInfoFactory::indexOf(const QString& ip) const {
    for (int i = 0; i < devices_.size(); ++i) {
        if (devices_.at(i).ip == ip) return i;
    }
    return -1;
}

// A list written before addresses were checked strictly may hold "010.0.0.1": the new camera
// is a duplicate when both spell the same address.
bool DeviceInfoFactory::add(const SDeviceInfo& device) {
    if (indexOf(device.ip) >= 0) return false;
    const QString address = canonicalIp(device.ip);
    if (address.isEmpty()) return addNew(device);
    for (const SDeviceInfo& stored : devices_) {
        const bool same =
            stored.ip == address || (mayBePadded(stored.ip) && canonicalIp(stored.ip) == address);
        if (same) return false;
    }
    return addNew(device);
}

bool DeviceInfoFactory::addNew(const SDeviceInfo& device) {
    devices_.append(device);
    ++changes_;
    return true;
}

void DeviceInfoFactory::remove(const QString& ip) {
    const int index = indexOf(ip);
    if (index < 0) return;
    devices_.remove(index);
    ++changes_;
}

void DeviceInfoFactory::update(const SDeviceInfo& device) {
    const int index = indexOf(device.ip);
    if (index < 0) return;
    devices_[index] = device;
    ++changes_;
}

void DeviceInfoFactory::setCredentials(const QString& ip, const QString& userName,
                                       const QString& password) {
    const int index = indexOf(ip);
    if (index < 0) return;
    SDeviceInfo& device = devices_[index];
    if (device.sameCredentials(userName, password)) return;
    device.username = userName;
    device.password = password;
}

const SDeviceInfo& DeviceInfoFactory::find(const QString& ip) const {
    static const SDeviceInfo defaultDevice;
    const int index = indexOf(ip);
    return index < 0 ? defaultDevice : devices_.at(index);
}

bool DeviceInfoFactory::checked(int index) const {
    if (index < 0 || index >= devices_.size()) return false;
    return devices_.at(index).checked;
}

void DeviceInfoFactory::setChecked(int index, bool value) {
    if (index < 0 || index >= devices_.size()) return;
    devices_[index].checked = value;
}

void DeviceInfoFactory::saveIfChanged() {
    if (changes_ > 0) save();
}

void DeviceInfoFactory::timerEvent(QTimerEvent* event) {
    if (event->timerId() != timerId_) {
        QObject::timerEvent(event);
        return;
    }
    // The count is cleared only once the list is on disk: a failed save is tried again.
    if (changes_ >= 1 && save()) changes_ = 0;
}

void DeviceInfoFactory::writeDevices(QDataStream& out, const QVector<SDeviceInfo>& devices) {
    out << qint32(devices.size());
    for (const SDeviceInfo& device : devices) {
        out << device.ip << device.ota << qint32(device.dbs.size());
        for (const SDBInfo& db : device.dbs)
            out << db.libid << db.name << db.imgnum << db.threshold;
        out << qint32(device.status) << encodeCredential(device.username)
            << encodeCredential(device.password);
    }
}

bool DeviceInfoFactory::readDevices(QDataStream& in, QVector<SDeviceInfo>& devices) {
    devices.clear();
    qint32 count = 0;
    if (!readCount(in, kMinDeviceBytes, &count)) return false;
    devices.reserve(qMax<int>(count, kReserve));
    for (qint32 i = 0; i < count; ++i) {
        SDeviceInfo device;
        if (!readDevice(in, &device) || in.status() != QDataStream::Ok) {
            devices.clear();
            return false;
        }
        devices.append(device);
    }
    return true;
}

bool DeviceInfoFactory::load() {
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly)) {
        qDebug("DeviceInfoFactory::unserialize: open file failed");
        if (file.exists()) setAside();
        return false;
    }
    QDataStream in(&file);
    const bool read = readDevices(in, devices_);
    file.close();
    if (!read) {
        setAside();
        return true;
    }
    qInfo("DeviceInfoFactory::unserialize: data unserialize ok");
    return true;
}

// The time stamp has milliseconds and a counter after it, so two starts never collide.
bool DeviceInfoFactory::setAside() {
    const QString stamp =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base = fileName_ + QStringLiteral(".unreadable-") + stamp;
    QString target = base;
    for (int n = 2; QFile::exists(target); ++n)
        target = base + QStringLiteral("-%1").arg(n);
    if (!QFile::rename(fileName_, target)) {
        keepAway_ = true;
        FK_LOG("dbutil\\deviceinfofactory", 2, "unreadable store %s could not be moved aside\n",
               QFile::encodeName(fileName_).constData());
        return false;
    }
    setAside_ = target;
    FK_LOG("dbutil\\deviceinfofactory", 2, "unreadable store moved aside to %s\n",
           QFile::encodeName(target).constData());
    return true;
}

bool DeviceInfoFactory::save() {
    qDebug("save data to file");
    const bool written = !keepAway_ && writeFile();
    if (written) {
        failing_ = false;
        return true;
    }
    if (!failing_) {
        failing_ = true;
        FK_LOG("dbutil\\deviceinfofactory", 2, "the device list could not be saved to %s\n",
               QFile::encodeName(fileName_).constData());
        emit signalSaveFailed(fileName_);
    }
    return false;
}

bool DeviceInfoFactory::writeFile() {
    QSaveFile file(fileName_);
    if (!file.open(QIODevice::WriteOnly)) {
        qCritical("DeviceInfoFactory::serialize: open file failed");
        return false;
    }
    file.setPermissions(kOwnerOnly);
    QDataStream out(&file);
    writeDevices(out, devices_);
    // QSaveFile does not notice a buffered write that fails when it closes, so flush first.
    if (out.status() != QDataStream::Ok || !file.flush()) file.cancelWriting();
    if (!file.commit()) {
        qCritical("DeviceInfoFactory::serialize: write file failed");
        return false;
    }
    QFile::setPermissions(fileName_, kOwnerOnly);
    return true;
}
