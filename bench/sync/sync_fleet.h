// The fleet of the sync benchmark: a source package of numbered records, and simulated cameras
// that already hold that library minus some records plus a few stale ones of their own, with
// the digest caches a real earlier sync would have left.
#pragma once

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVector>

#include "camsim.h"

namespace syncbench {

struct SourceRecord {
    QString uid;
    QString name;
    QStringList ext;
    QByteArray jpeg;
    QString md5;  // upper-case hex, as a picture upload announces it
};

// count records with distinct pictures; every hundredth (from the 8th) is one of the
// `missing` records the cameras lack.
QVector<SourceRecord> makeRecords(int count);
bool isMissing(int index, int missing);

// A package file of the records, made with the program's package writer in workDir.
void writePackage(const QVector<SourceRecord>& records, const QString& library,
                  const QString& workDir, const QString& zipPath);

// What a camera was seeded with: the imgids of its stale records.
struct SeededCamera {
    camsim::Camera* camera = nullptr;
    QString libid;
    QSet<qint64> staleImgids;
};

// Fills the camera's library `library` with the source minus the missing records plus `stale`
// records of its own, all with features extracted as in a library in use, and writes the
// digest cache of that library into digestDir, as the sync writes it when it sends a picture.
SeededCamera seed(camsim::Camera& camera, const QVector<SourceRecord>& records, int missing,
                  int stale, const QString& library, const QString& digestDir);

}  // namespace syncbench
