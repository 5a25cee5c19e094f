// A loop over the pictures of one camera, run in lanes: each lane has a camera session of its
// own and takes the next picture, so a slow camera works on several pictures at once while the
// calls of one picture stay in order on one session. The count reaches the caller's progress on
// the caller's thread, in steps of one, as in a loop of one lane.
#pragma once

#include <functional>

namespace fleet {

// Lanes of one camera's loop: one on the session the caller holds, the others on sessions of
// their own. A picture costs three exchanges, so three lanes keep about one picture per round
// trip; a lane's login costs two (the challenge and the check), which two more lanes hide.
constexpr int kLanes = 5;

struct LaneWork {
    int items = 0;
    int firstHandle = 0;               // the caller's session: the first lane's
    std::function<int()> openSession;  // another session of the camera; 0 or less: none
    std::function<void(int handle)> closeSession;
    std::function<int(int handle, int item)> step;  // the item's result code, 0 on success
    std::function<bool(int code)> lost;             // a result that says the camera is silent
    int lostLimit = 3;                              // lost results in a row that end the loop
    std::function<bool(int count)> progress;        // true stops the loop
    // Runs on the caller's thread before any item is taken, while the other lanes open their
    // sessions: a round trip that must precede the items costs no more than the logins.
    std::function<void()> beforeItems;
};

struct LaneResult {
    int succeeded = 0;
    bool endedLost = false;  // lostLimit lost results in a row ended the loop
    bool stopped = false;    // the progress asked to stop
    int untaken = 0;         // items no lane took
};

// Runs the items in `lanes` lanes (the first on firstHandle). A stop or a silent camera lets
// each lane end its current item and take no other.
LaneResult runInLanes(const LaneWork& work, int lanes = kLanes);

// Whether camlink runs calls of different sessions side by side (read from the environment
// it reads, so both agree).
bool sessionsSideBySide();

}  // namespace fleet
