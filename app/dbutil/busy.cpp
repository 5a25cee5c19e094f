#include "busy.h"

#include "jobcontrol.h"

namespace busy {

void begin(Mode mode) {
    if (JobControl* control = JobControl::instance()) control->beginBusy(mode);
}

void end() {
    if (JobControl* control = JobControl::instance()) control->endBusy();
}

void progress(int current, int total) {
    if (JobControl* control = JobControl::instance()) control->overallProgress(current, total);
}

void count(int done, int total) {
    if (JobControl* control = JobControl::instance()) control->overallCount(done, total);
}

bool closing() {
    return JobControl::instance() && JobControl::instance()->closing();
}

}  // namespace busy
