// Reading the cameras' JSON replies into the application records. Reply texts are hostile:
// anything of the wrong shape gives resultcode::InvalidMessage, never a crash or a partial read
// beyond what the rules keep.
#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QString>

#include "records.h"
#include "resultcode.h"

namespace reply {

// The head of a reply: a non-empty object with "code" and "msg".
struct Head {
    bool valid = false;
    int code = 0;
    QString msg;
    QJsonValue data;
};
Head readHead(const char* text);

// The result of a call: the export's code when non-zero, else InvalidMessage for a bad head, else
// the camera's code.
int callResult(int exportResult, const Head& head);

// Each returns 0 or resultcode::InvalidMessage.
int readLibrary(const QJsonValue& data, SDBInfo* db);    // find library
int readLibraryId(const QJsonValue& data, SDBInfo* db);  // create library
int readLibraryList(const QJsonValue& data, QVector<SDBInfo>* dbs);
int readImageId(const QJsonValue& data, SFeatrueInfo* image);  // add image
int readImage(QJsonObject object, SFeatrueInfo* image);        // image object
int readImagePage(const QJsonValue& data, SPageInfo* page, SFeatrueList* out);

// "retry_left" (403) or "time_left" (423) of a refused login; 0 when absent.
int readLoginLeft(int code, const char* text);

}  // namespace reply
