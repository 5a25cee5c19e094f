// What a simulated camera was sent, read from its request journal: the pictures added, the
// records deleted, the picture downloads and the requests per path.
#pragma once

#include <QSet>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "camsim.h"

namespace syncbench {

struct Traffic {
    int requests = 0;
    int downloads = 0;           // served pictures fetched
    QSet<QString> addedMd5;      // the md5 header of each picture upload the camera took
    int adds = 0;                // picture uploads the camera took (a repeated one counts)
    QSet<qint64> deletedImgids;  // each record deletion the camera took
    int deletes = 0;
    std::map<std::string, int> byPath;
    double answering = 0;  // seconds from request to answer, summed over the requests
    camsim::JournalEntry::Clock::time_point first, last;  // first request in, last answer out

    Traffic& operator+=(const Traffic& other);
};

using TimePoint = camsim::JournalEntry::Clock::time_point;

// The requests the camera received from `from` (steady clock, the same in every process) until
// before `until`.
Traffic trafficOf(camsim::Camera& camera, TimePoint from = TimePoint::min(),
                  TimePoint until = TimePoint::max());

// "list_img 3, add_img 20, ..." per camera, of the requests of cameras cameras.
std::string perCamera(const Traffic& total, int cameras);

// How the cameras' work lay in time: each camera's span from its first request to its last
// answer, and how many cameras were within their span at once.
struct Spans {
    double meanSeconds = 0;
    double longestSeconds = 0;
    int mostAtOnce = 0;
    double meanAnswerMs = 0;  // the camera's time per request, latency included
};
Spans spansOf(const std::vector<Traffic>& cameras);

}  // namespace syncbench
