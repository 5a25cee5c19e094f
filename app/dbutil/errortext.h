// The one table from a result code (SDK, camera HTTP status or the program's own checks) to the
// text shown to the user, translated in the "QObject" context.
#pragma once

#include <QString>

QString ErrorText(int code);

// The camera did not answer (camlink's transfer errors, 10000 and above), as opposed to a
// camera that answered with an error.
bool isTransferError(int code);
