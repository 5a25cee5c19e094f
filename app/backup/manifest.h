// What one run did, written as DIR/manifests/<stamp>.json (sealed like the packages when the
// run encrypts), and the check-sum file kept beside each package.
#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QJsonObject>
#include <QMap>
#include <QString>
#include <QVector>

#include "digest.h"

namespace backup {

namespace outcome {
constexpr char kStored[] = "stored";
constexpr char kUnchanged[] = "unchanged";
constexpr char kFailed[] = "failed";
constexpr char kNotDone[] = "not done";  // the run was stopped before this library
}  // namespace outcome

struct LibraryEntry {
    QString libid;
    QString name;
    QString outcome;
    QString reason;
    QString package;  // relative to the backup directory; the kept generation when unchanged
    QString sha256;
    int records = 0;
    int pictures = 0;
    int missingPictures = 0;  // records whose picture the camera did not give
    qint64 bytes = 0;
    PictureDigests pictureMd5;  // stored packages only
};

struct CameraEntry {
    QString address;
    QString outcome;  // "ok" or "failed"
    QString reason;
    QVector<LibraryEntry> libraries;
    bool failed() const;  // the camera or one of its libraries
};

struct Manifest {
    QString started;
    QString finished;
    bool encrypted = false;
    bool interrupted = false;
    QVector<CameraEntry> cameras;

    QJsonObject totals() const;
    // The manifest as an indented JSON document.
    bool write(QIODevice& out) const;
    static bool fromText(const QByteArray& text, Manifest* out);
};

// The facts of one package that a later run needs without opening it (it may be sealed).
struct PackageSum {
    QString sha256;
    QString fingerprint;
    int records = 0;
    int pictures = 0;
    int missingPictures = 0;
    qint64 bytes = 0;

    QByteArray toText() const;
    static bool read(const QString& path, PackageSum* out);
};

}  // namespace backup
