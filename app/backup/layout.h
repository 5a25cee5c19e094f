// Where a backup keeps its files:
//   DIR/<camera address>/<library name>/<UTC time stamp>.zip        a generation (".zip.sealed"
//                                                                    when encrypted)
//   DIR/<camera address>/<library name>/<UTC time stamp>.sum.json   its sizes and check sums
//   DIR/manifests/<UTC time stamp>.json                              one per run (".json.sealed")
//   DIR/lock                                                         held by the running backup
// Files being made start with "." and end in ".part"; work directories are ".work-<pid>". A
// run holding the lock removes what a killed run left of both.
#pragma once

#include <QDateTime>
#include <QString>
#include <QVector>

namespace backup::layout {

constexpr char kManifestDir[] = "manifests";
constexpr char kLockName[] = "lock";
constexpr char kPlainPackage[] = ".zip";
constexpr char kSealedPackage[] = ".zip.sealed";
constexpr char kSumSuffix[] = ".sum.json";
constexpr char kPartSuffix[] = ".part";

// "20261208T185412Z".
QString timeStamp(const QDateTime& when);
// A camera's text as one path component: ASCII letters, digits, ".", "-", "_" (others become
// "_"); fallback when that leaves nothing usable ("", ".", "..").
QString safePart(const QString& text, const QString& fallback);

struct Generation {
    QString stem;         // time stamp, with "-N" when several were made in one second
    QString packagePath;  // absolute
    QString sumPath;
    bool sealed = false;
};
// The packages of a library directory, oldest first.
QVector<Generation> generations(const QString& libraryDir);
// A stem for a new generation or manifest that names no existing file of dir.
QString freeStem(const QString& dir, const QString& stamp);
// The library directories below root, as "<address>/<library>" relative paths, sorted.
QStringList libraryDirs(const QString& root);

// Removes work directories, ".part" files and check-sum files without a package below root.
// Only for a run that holds the lock. Returns how many it removed.
int removeLeftovers(const QString& root);

// Links from to to (never replacing a file there), then removes from; syncs the directory.
bool publish(const QString& from, const QString& to, QString* error);
// Writes bytes to a hidden ".part" file beside path, syncs it and publishes it at path.
bool writeNewFile(const QString& path, const QByteArray& bytes, QString* error);

}  // namespace backup::layout
