// Who starts a job again for the failed rows of its report. The dialogs and the library page
// that run jobs register for their kinds; a report dialog opened from anywhere (a summary box,
// the list of kept reports) asks here.
#pragma once

#include <QObject>
#include <functional>

#include "reports/jobreport.h"

namespace reportretry {

// Starts the job for the rows of failed (all of them failed); false when it cannot start now,
// having told the operator why.
using Handler = std::function<bool(const reports::JobReport& failed)>;

// The handler of a kind while owner lives; a later registration replaces it.
void setHandler(reports::JobKind kind, QObject* owner, Handler handler);
bool available(reports::JobKind kind);
// false when no one handles the kind or the handler refused.
bool retry(const reports::JobReport& failed);

}  // namespace reportretry
