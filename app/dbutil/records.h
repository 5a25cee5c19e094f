// Plain value records passed between the device store, Interaction, the worker threads and the
// pages. Copying a record copies its contents (Qt members are implicitly shared).
#pragma once

#include <QByteArray>
#include <QList>
#include <QMetaType>
#include <QPair>
#include <QSharedPointer>
#include <QString>
#include <QStringList>
#include <QVector>

// One face library on a camera.
struct SDBInfo {
    QString libid;
    QString name;
    int threshold = 0;
    int imgnum = 0;
    int errornum = 0;
    int extractnum = 0;
    bool selected = false;  // chosen for a batch job; not stored
};

// One managed camera; the ip text is its key in the device list.
struct SDeviceInfo {
    static constexpr int kMaxLibraries = 2;

    SDeviceInfo();
    SDeviceInfo(const QString& ip, const QString& username, const QString& password);

    bool operator==(const SDeviceInfo& other) const { return ip == other.ip; }
    bool operator!=(const SDeviceInfo& other) const { return !(*this == other); }
    bool sameCredentials(const QString& user, const QString& pass) const {
        return username == user && password == pass;
    }

    int status = 1;  // 0: answered the last refresh and is of the supported type
    QString ip;
    QString ota;
    QString username;
    QString password;
    QVector<SDBInfo> dbs;
    bool checked = false;  // check mark of the device table; not stored
};

// Copy of the library with that libid, or a default record when the device has none.
SDBInfo findDb(const SDeviceInfo& device, const QString& libid);
// Names of the device's libraries, in order.
QStringList dbNames(const SDeviceInfo& device);
// Marks the libraries at the given positions as selected; positions out of range are ignored.
void selectDbs(SDeviceInfo& device, const QList<int>& indices);

// One image record of a face library.
struct SFeatrueInfo {
    static constexpr int kExtCount = 5;
    static constexpr int kFeatureReserve = 2048;

    SFeatrueInfo();
    void clear();

    qint64 imgid = -1;
    int status = 0;  // 1: a feature is present
    QString name;
    QString libid;
    QString uid;
    QString url;
    QString path;  // local upload source; never sent as JSON
    QString feature;
    QStringList ext;  // always kExtCount entries
    qint64 feature_attr = 0;
    QString model_version;
};
using SFeatrueInfoPtr = QSharedPointer<SFeatrueInfo>;
using SFeatrueList = QVector<SFeatrueInfoPtr>;

// A request for one page of images and the paging part of the answer.
struct SPageInfo {
    static constexpr int kMaxConditions = 10;

    int total = 0;
    int page_num = 0;
    int page_size = 0;
    QString libid;
    QVector<QPair<QString, QString>> conditions;  // only the first kMaxConditions are sent
    int reply_page_num = 0;
    int reply_page_size = 0;
};

// The outcome of a login attempt; left is "retry_left" with 403, "time_left" with 423.
struct LoginResult {
    int code = 0;
    int left = 0;
};

namespace Protocol {
// An image to download; imageData holds the picture's bytes as the camera sent them.
struct MsgImageData {
    QString url;
    QByteArray imageData;

    const QByteArray& bytes() const { return imageData; }
};
}  // namespace Protocol

Q_DECLARE_METATYPE(SDeviceInfo)
Q_DECLARE_METATYPE(SDBInfo)
