#include "sync_traffic.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <chrono>
#include <cstdio>

namespace syncbench {

namespace {

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
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
    answering += other.answering;
    downloads += other.downloads;
    adds += other.adds;
    deletes += other.deletes;
    addedMd5 += other.addedMd5;
    deletedImgids += other.deletedImgids;
    for (const auto& [path, count] : other.byPath)
        byPath[path] += count;
    return *this;
}

Traffic trafficOf(camsim::Camera& camera, TimePoint from, TimePoint until) {
    Traffic t;
    for (const camsim::JournalEntry& entry : camera.journal().entries()) {
        if (entry.received < from || entry.received >= until) continue;
        if (t.requests == 0 || entry.received < t.first) t.first = entry.received;
        if (t.requests == 0 || entry.answered > t.last) t.last = entry.answered;
        ++t.requests;
        t.answering += std::chrono::duration<double>(entry.answered - entry.received).count();
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

Spans spansOf(const std::vector<Traffic>& cameras) {
    Spans spans;
    std::vector<std::pair<camsim::JournalEntry::Clock::time_point, int>> edges;
    int counted = 0, requests = 0;
    for (const Traffic& t : cameras) {
        if (t.requests == 0) continue;
        spans.meanAnswerMs += 1000 * t.answering;
        requests += t.requests;
        const double seconds = std::chrono::duration<double>(t.last - t.first).count();
        spans.meanSeconds += seconds;
        spans.longestSeconds = std::max(spans.longestSeconds, seconds);
        edges.push_back({t.first, 1});
        edges.push_back({t.last, -1});
        ++counted;
    }
    if (counted) spans.meanSeconds /= counted;
    if (requests) spans.meanAnswerMs /= requests;
    std::sort(edges.begin(), edges.end());  // at a tie an end (-1) comes before a start
    int open = 0;
    for (const auto& edge : edges)
        spans.mostAtOnce = std::max(spans.mostAtOnce, open += edge.second);
    return spans;
}

}  // namespace syncbench
