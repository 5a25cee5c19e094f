#include "interaction_reply.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QVariant>

#include "json_keys.h"

namespace reply {
namespace {

QJsonObject parseObject(const char* text) {
    if (!text || !*text) return QJsonObject();
    const QByteArray bytes(text);
    if (hasDuplicateKeys(bytes)) return QJsonObject();
    QJsonDocument doc = QJsonDocument::fromJson(bytes);
    return doc.isObject() ? doc.object() : QJsonObject();
}

bool hasAll(const QJsonObject& object, std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (!object.contains(QLatin1String(key))) return false;
    }
    return true;
}

// Takes a key out of the object as it is read, so that what is left is what was not read.
QJsonValue take(QJsonObject& object, const char* key) {
    return object.take(QLatin1String(key));
}

// Identifiers and attributes are 64-bit on the camera; toInt() would turn anything beyond
// 32 bits into 0. The parser keeps integers exact, so read them through the variant.
qint64 toInt64(const QJsonValue& value) {
    const QVariant v = value.toVariant();
    if (v.userType() == QMetaType::LongLong) return v.toLongLong();
    return value.toInt();  // a fraction or a text reads as 0, like any other number
}

}  // namespace

Head readHead(const char* text) {
    Head head;
    QJsonObject root = parseObject(text);
    if (root.isEmpty() || !hasAll(root, {"code", "msg"})) return head;
    head.valid = true;
    head.code = root.value("code").toInt();
    head.msg = root.value("msg").toString();
    head.data = root.value("data");
    return head;
}

int callResult(int exportResult, const Head& head) {
    if (exportResult != 0) return exportResult;
    if (!head.valid) return resultcode::InvalidMessage;
    return head.code;
}

int readLibrary(const QJsonValue& data, SDBInfo* db) {
    QJsonObject o = data.toObject();
    if (!data.isObject() ||
        !hasAll(o, {"libid", "name", "threshold", "imgnum", "extractnum", "errornum"}))
        return resultcode::InvalidMessage;
    db->libid = o.value("libid").toString();
    db->name = o.value("name").toString();
    db->threshold = o.value("threshold").toInt();
    db->imgnum = o.value("imgnum").toInt();
    db->extractnum = o.value("extractnum").toInt();
    db->errornum = o.value("errornum").toInt();
    return 0;
}

int readLibraryId(const QJsonValue& data, SDBInfo* db) {
    if (!data.isObject() || !data.toObject().contains("libid")) return resultcode::InvalidMessage;
    db->libid = data.toObject().value("libid").toString();
    return 0;
}

int readLibraryList(const QJsonValue& data, QVector<SDBInfo>* dbs) {
    dbs->clear();
    if (!data.isArray()) return resultcode::InvalidMessage;
    const QJsonArray list = data.toArray();
    for (int i = 0; i < list.size() && i < SDeviceInfo::kMaxLibraries; ++i) {
        if (!list.at(i).isObject()) continue;
        SDBInfo db;
        if (readLibrary(list.at(i), &db) != 0) return resultcode::InvalidMessage;
        dbs->append(db);
    }
    return 0;
}

int readImageId(const QJsonValue& data, SFeatrueInfo* image) {
    if (!data.isObject() || !data.toObject().contains("imgid")) return resultcode::InvalidMessage;
    image->imgid = toInt64(data.toObject().value("imgid"));
    return 0;
}

int readImage(QJsonObject o, SFeatrueInfo* image) {
    if (!hasAll(o, {"imgid", "libid", "name", "uid", "url", "status", "ext1", "ext2", "ext3",
                    "ext4", "ext5"}))
        return resultcode::InvalidMessage;
    image->imgid = toInt64(take(o, "imgid"));
    image->libid = take(o, "libid").toString();
    image->name = take(o, "name").toString();
    image->uid = take(o, "uid").toString();
    image->url = take(o, "url").toString();
    image->status = take(o, "status").toInt();
    static const char* const kExt[] = {"ext1", "ext2", "ext3", "ext4", "ext5"};
    QStringList ext;  // built whole: the record's list may be shorter than five
    for (int i = 0; i < SFeatrueInfo::kExtCount; ++i)
        ext.append(take(o, kExt[i]).toString());
    image->ext = ext;
    if (image->status == 1 && o.contains("feature")) image->feature = take(o, "feature").toString();
    if (o.contains("feature_attr")) image->feature_attr = toInt64(take(o, "feature_attr"));
    if (o.contains("model_version")) image->model_version = take(o, "model_version").toString();
    return 0;
}

int readImagePage(const QJsonValue& data, SPageInfo* page, SFeatrueList* out) {
    out->clear();
    QJsonObject o = data.toObject();
    if (!data.isObject() || !o.value("pagination").isObject() || !o.value("record").isArray())
        return resultcode::InvalidMessage;
    QJsonObject pagination = o.value("pagination").toObject();
    if (!hasAll(pagination, {"page_num", "page_size", "total"})) return resultcode::InvalidMessage;
    page->reply_page_num = pagination.value("page_num").toInt();
    page->reply_page_size = pagination.value("page_size").toInt();
    page->total = pagination.value("total").toInt();

    const QJsonArray records = o.value("record").toArray();
    out->reserve(records.size());
    int result = 0;
    for (const QJsonValue& element : records) {
        if (!element.isObject()) continue;
        auto image = SFeatrueInfoPtr::create();
        result = readImage(element.toObject(), image.data());
        // A fresh record keeps room for a long feature text: kept by each record of a page, read
        // for many cameras at once, it would be kilobytes a record. An empty text gives its room
        // back whole: shrunk in place, it would leave a hole just too small for the next record's.
        if (image->feature.isEmpty())
            image->feature = QString();
        else
            image->feature.squeeze();
        if (result == 0) out->append(image);
    }
    return result;
}

int readLoginLeft(int code, const char* text) {
    const char* key = code == resultcode::LoginRefused    ? "retry_left"
                      : code == resultcode::AccountLocked ? "time_left"
                                                          : nullptr;
    if (!key) return 0;
    return parseObject(text).value(QLatin1String(key)).toInt();
}

}  // namespace reply
