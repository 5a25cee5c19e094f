#include "http/overrun_stream.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string>

namespace camsim {

namespace {

constexpr size_t kPieceBytes = 4096;
constexpr auto kLongest = std::chrono::seconds(60);

struct Overrun {
    std::string body;
    std::chrono::milliseconds pause;
    Sleeper& sleeper;
    std::chrono::steady_clock::time_point until = std::chrono::steady_clock::now() + kLongest;
};

ssize_t nextPiece(void* state, uint64_t position, char* buffer, size_t room) {
    auto* overrun = static_cast<Overrun*>(state);
    if (std::chrono::steady_clock::now() > overrun->until) return MHD_CONTENT_READER_END_OF_STREAM;
    if (position > 0 && overrun->pause.count() > 0 && !overrun->sleeper.sleepFor(overrun->pause))
        return MHD_CONTENT_READER_END_OF_STREAM;  // the camera stops
    const size_t size = std::min(room, kPieceBytes);
    std::memset(buffer, '#', size);
    if (position < overrun->body.size()) {
        const size_t part = std::min<size_t>(size, overrun->body.size() - position);
        std::memcpy(buffer, overrun->body.data() + position, part);
    }
    return static_cast<ssize_t>(size);
}

void release(void* state) {
    delete static_cast<Overrun*>(state);
}

}  // namespace

MHD_Response* makeOverrunResponse(const HttpResponse& reply, int pauseMs, Sleeper& sleeper) {
    auto* state = new Overrun{reply.body, std::chrono::milliseconds(pauseMs), sleeper};
    MHD_Response* response =
        MHD_create_response_from_callback(MHD_SIZE_UNKNOWN, kPieceBytes, &nextPiece, state, &release);
    if (!response) {
        release(state);
        return nullptr;
    }
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, reply.contentType.c_str());
    for (const auto& [key, value] : reply.headers)
        MHD_add_response_header(response, key.c_str(), value.c_str());
    return response;
}

}  // namespace camsim
