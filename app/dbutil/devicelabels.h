// Camera names and groups ("Gate 3", "Site A"): what the operator calls a camera, kept in a
// JSON file of its own beside the device list, keyed by the camera's canonical address, so the
// device list file keeps its layout. GUI thread only.
#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

struct DeviceLabel {
    QString name;
    QString group;

    bool isEmpty() const { return name.isEmpty() && group.isEmpty(); }
    bool operator==(const DeviceLabel& other) const {
        return name == other.name && group == other.group;
    }
};

class DeviceLabels {
public:
    static constexpr int kMaxLength = 32;  // characters of a name or a group
    static constexpr qint64 kMaxFileBytes = 4 * 1024 * 1024;
    static const char kFileName[];  // beside the device list file

    // The labels file that belongs to the device list file storeFile.
    static QString fileBeside(const QString& storeFile);
    // Trimmed text fit for a name or group: at most kMaxLength characters, no control
    // characters. False leaves *cleaned alone.
    static bool clean(const QString& text, QString* cleaned);

    explicit DeviceLabels(const QString& fileName);

    // Reads the file; a missing file means no labels, a damaged one too (with a log line).
    void load();
    // Writes every label atomically; false (and a log line) when it could not.
    bool save() const;

    // Empty for a camera without a label; any spelling of the address finds it.
    DeviceLabel label(const QString& ip) const;
    // Sets the cleaned label (an empty one removes the entry); true when something changed.
    // A label that does not clean is left out. The caller saves.
    bool set(const QString& ip, const DeviceLabel& label);
    bool remove(const QString& ip);
    // Every group named by some label, sorted, each once.
    QStringList groups() const;
    // "10.0.0.7 · Gate 3 · Site A": the address and whatever label it has.
    QString describe(const QString& ip) const;

    QString fileName() const { return fileName_; }

private:
    static QString key(const QString& ip);

    QString fileName_;
    QHash<QString, DeviceLabel> labels_;
};
