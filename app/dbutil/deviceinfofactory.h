// The device store: the list of managed cameras, keyed by ip text, kept in
// "kestrel.data" and written by a 10 s timer after counted changes; a failed write is tried
// again at every tick and at exit. GUI thread only.
#pragma once

#include <QObject>
#include <QString>
#include <QVector>

#include "records.h"

class QDataStream;
class QTimerEvent;

class DeviceInfoFactory : public QObject {
    Q_OBJECT
public:
    static constexpr int kReserve = 64;
    static constexpr int kSaveIntervalMs = 10000;
    static const char kDefaultFileName[];  // "kestrel.data", relative to the working directory

    // Reserves 64 places, loads the file and starts the save timer.
    explicit DeviceInfoFactory(QObject* parent = nullptr);
    // The same with another file (tests use temporary directories).
    explicit DeviceInfoFactory(const QString& fileName, QObject* parent = nullptr);
    ~DeviceInfoFactory() override;

    // Appends a copy unless a device with the same address exists, however spelt (then false,
    // nothing changes).
    bool add(const SDeviceInfo& device);
    void remove(const QString& ip);
    // Replaces the whole entry with the same ip, when there is one.
    void update(const SDeviceInfo& device);
    // Sets both when they differ; not counted, so it reaches the file with the next counted
    // change.
    void setCredentials(const QString& ip, const QString& userName, const QString& password);
    // The stored entry, or a static default record. Valid until the list next changes.
    const SDeviceInfo& find(const QString& ip) const;
    int count() const { return devices_.size(); }
    const QVector<SDeviceInfo>& list() const { return devices_; }
    // An index outside 0..count-1 reads false and is ignored on write. Not counted.
    bool checked(int index) const;
    void setChecked(int index, bool value);
    // Writes the file when the change count is above 0 (the count stays).
    void saveIfChanged();
    // The name the unreadable store file was moved to at load; empty when there was none.
    QString setAsideFile() const { return setAside_; }

    QString fileName() const { return fileName_; }
    int changeCount() const { return changes_; }
    int timerId() const { return timerId_; }

    // Reads the file into the list; false when it cannot be opened. A file that is there but
    // cannot be opened or read is first moved aside to "<file>.unreadable-<time stamp>", so no
    // later save overwrites what the operator may still recover.
    bool load();
    // Writes the whole list through a QSaveFile (mode 0600); false when it could not. The first
    // failure after a success emits signalSaveFailed.
    bool save();

    // The byte layout of the file, on a stream over any device. readDevices gives false and an
    // empty list for damaged or truncated data; counts are trusted only as far as the bytes
    // left on the device could hold them.
    static void writeDevices(QDataStream& out, const QVector<SDeviceInfo>& devices);
    static bool readDevices(QDataStream& in, QVector<SDeviceInfo>& devices);

signals:
    // Saving has started failing; emitted again only after a save has succeeded meanwhile.
    void signalSaveFailed(const QString& fileName);

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    int indexOf(const QString& ip) const;
    bool addNew(const SDeviceInfo& device);
    bool setAside();
    bool writeFile();

    QVector<SDeviceInfo> devices_;
    QString fileName_;
    int timerId_ = 0;
    int changes_ = 0;
    bool failing_ = false;
    bool keepAway_ = false;  // the unreadable file could not be moved: never write over it
    QString setAside_;
};
