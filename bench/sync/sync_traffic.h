// What a simulated camera was sent, read from its request journal: the pictures added, the
// records deleted, the picture downloads and the requests per path.
#pragma once

#include <QSet>
#include <QString>
#include <map>
#include <string>

#include "camsim.h"

namespace syncbench {

struct Traffic {
    int requests = 0;
    int downloads = 0;             // served pictures fetched
    QSet<QString> addedMd5;        // the md5 header of each picture upload the camera took
    int adds = 0;                  // picture uploads the camera took (a repeated one counts)
    QSet<qint64> deletedImgids;    // each record deletion the camera took
    int deletes = 0;
    std::map<std::string, int> byPath;

    Traffic& operator+=(const Traffic& other);
    Traffic minus(const Traffic& earlier) const;  // requests per path only
};

Traffic trafficOf(camsim::Camera& camera);

// "list_img 3, add_img 20, ..." per camera, of the requests of cameras cameras.
std::string perCamera(const Traffic& total, int cameras);

}  // namespace syncbench
