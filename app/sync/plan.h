// The plan of one target: what a camera's library must receive to hold what the source holds.
#pragma once

#include <QSet>
#include <QString>
#include <QVector>

#include "dbutil/records.h"

namespace facesync {

struct Source;

enum class Change { Add, UpdateTexts, ReplacePicture, Delete };

struct PlannedChange {
    Change change = Change::Add;
    QString uid;
    QString name;
    qint64 targetImgid = -1;  // the target's record for UpdateTexts, ReplacePicture and Delete
};

struct TargetPlan {
    QString camera;  // the camera's address
    QString libid;   // empty while createLibrary
    bool createLibrary = false;
    int code = 0;    // non-zero: not synced (unreachable, at the two-library limit, ...)
    QString reason;  // the operator's text for code
    QVector<PlannedChange> changes;
    int withoutUid = 0;  // records of the target without a uid: never touched
    int unchanged = 0;
    int kept = 0;  // records only the target holds, left because removal is off

    int adds() const;
    int updates() const;  // texts and pictures
    int deletes() const;
    bool ok() const { return code == 0; }
    // "+12 ~2 -3"
    QString summary() const;
};

struct Options {
    QString libraryName;  // the target library's name on every camera
    bool removeMissing = false;
    bool extractAfter = true;
    QString digestDir = QStringLiteral("sync");  // the digest caches, one file per library
};

struct Target {
    SDeviceInfo device;
    QSet<QString> onlyUids;  // empty: all; a retry names the uids that failed
};

// Totals of several plans, in the same "+a ~u -d" form.
QString totalSummary(const QVector<TargetPlan>& plans);

}  // namespace facesync
