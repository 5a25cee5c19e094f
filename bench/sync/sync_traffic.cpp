#include "sync_traffic.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

namespace syncbench {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The last part of a path, or "picture download" for served pictures.
std::string pathName(const std::string& path) {
    if (path.rfind("/images/", 0) == 0) return "picture download";
    return path.substr(path.find_last_of('/') + 1);
}

// Authenticated and answered: the camera acted on it (or said why not, in the reply's code).
bool tookIt(const camsim::JournalEntry& entry) {
    return entry.authenticated && entry.status == 200;
}

}  // namespace

Traffic& Traffic::operator+=(const Traffic& other) {
    requests += other.requests;
    downloads += other.downloads;
    adds += other.adds;
    deletes += other.deletes;
    addedMd5 += other.addedMd5;
    deletedImgids += other.deletedImgids;
    for (const auto& [path, count] : other.byPath) byPath[path] += count;
    return *this;
}

Traffic Traffic::minus(const Traffic& earlier) const {
    Traffic rest;
    rest.requests = requests - earlier.requests;
    rest.byPath = byPath;
    for (const auto& [path, count] : earlier.byPath) rest.byPath[path] -= count;
    return rest;
}

Traffic trafficOf(camsim::Camera& camera) {
    Traffic t;
    for (const camsim::JournalEntry& entry : camera.journal().entries()) {
        ++t.requests;
        ++t.byPath[pathName(entry.path)];
        if (!tookIt(entry)) continue;
        if (entry.path.rfind("/images/", 0) == 0) ++t.downloads;
        if (endsWith(entry.path, "/fdlib/add_img")) {
            ++t.adds;
            t.addedMd5.insert(QString::fromStdString(entry.header("md5")));
        }
        if (endsWith(entry.path, "/fdlib/del_img")) {
            ++t.deletes;
            const QJsonObject body =
                QJsonDocument::fromJson(QByteArray::fromStdString(entry.body)).object();
            t.deletedImgids.insert(body.value("imgid").toVariant().toLongLong());
        }
    }
    return t;
}

std::string perCamera(const Traffic& total, int cameras) {
    std::string text;
    char item[128];
    for (const auto& [path, count] : total.byPath) {
        if (count == 0) continue;
        std::snprintf(item, sizeof item, "%s%s %.1f", text.empty() ? "" : ", ", path.c_str(),
                      double(count) / cameras);
        text += item;
    }
    return text.empty() ? "none" : text;
}

}  // namespace syncbench
