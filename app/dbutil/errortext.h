// The one table from a result code (resultcode.h: camlink's results, the camera's answers and the
// program's own codes) to the text shown to the user, translated in the "QObject" context.
#pragma once

#include <QString>

#include "resultcode.h"

QString ErrorText(int code);
// isTransferError(code), beside the codes in resultcode.h, tells a camera that did not answer.
