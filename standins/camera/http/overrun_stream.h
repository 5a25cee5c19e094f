// A reply that does not stop where its body ends: the body, then filler bytes for as long as the
// client keeps reading (at most a minute), in pieces with a pause between them. It stands for a
// camera that sends past the length it announced, or sends too slowly.
#pragma once

#include <microhttpd.h>

#include "http/faults.h"
#include "http/http_types.h"

namespace camsim {

// A response without a length (sent chunked) carrying the reply's headers; null on failure.
MHD_Response* makeOverrunResponse(const HttpResponse& reply, int pauseMs, Sleeper& sleeper);

}  // namespace camsim
