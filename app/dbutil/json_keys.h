// A check made before Qt's JSON parser sees a camera's text: the parser keeps the last value of
// a key named twice in one object and loses (leaks) the earlier one, so a hostile reply could
// make the program grow with every answer. Such a reply is malformed anyway.
#pragma once

#include <QByteArray>

namespace reply {

// True when some object of the JSON text names the same key twice (after unescaping).
bool hasDuplicateKeys(const QByteArray& text);

}  // namespace reply
