// The LAN search of both generations. It runs on session 0, under that session's own mutex and
// never the table mutex, so session calls go on while a search listens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "camlink.h"
#include "core/adapters.h"
#include "core/c_memory.h"

namespace camlink {

// Every datagram is received into a zeroed buffer of this size: a longer one is cut, a shorter
// one reads as zeros beyond its end.
constexpr size_t kDatagramSize = 4096;
// The part of a second-generation reply its duplicate filter keeps.
constexpr size_t kKeptReplySize = 544;
// A type of the library's own, so the index's code stays private to it.
struct KeptReply {
    uint8_t bytes[kKeptReplySize];
};

// Session 0's search state, made by the first search. The areas (36 MB) are allocated once and
// never move: a pointer handed out stays valid while later searches overwrite them in place.
struct SearchState {
    SearchState();

    std::mutex mutex;  // session 0's own: serialises searches
    std::unique_ptr<vcam_search_area, FreeMemory> firstArea;
    std::unique_ptr<vcam_search_area_v2, FreeMemory> secondArea;
    std::map<std::string, vcam_search_record> firstIndex;  // SerialNo -> accepted record
    std::map<std::string, KeptReply> secondIndex;          // device key -> accepted reply
    int searchTimeMs = 0;
};

// A generation's reply handler: `datagram` holds kDatagramSize bytes, the `size` received ones
// followed by zeros. Runs on the receiver thread.
using ReplyHandler = void (*)(SearchState& state, const uint8_t* datagram, size_t size);

// The generations' reply handlers: a reply fills the next record of the area unless its key is
// already indexed or the area is full.
void handleFirstGenerationReply(SearchState& state, const uint8_t* datagram, size_t size);
void handleSecondGenerationReply(SearchState& state, const uint8_t* datagram, size_t size);

// Starts the receiver on `socket` for the search time, runs `send` on the calling thread, and
// returns when the whole search time has passed and the receiver has stopped.
void runSearch(SearchState& state, platform::UdpSocket& socket, ReplyHandler handle,
               const std::function<void()>& send);

// The generations' searches, on a cleared area and index; the adapter list is never empty.
void searchFirstGeneration(SearchState& state, const std::vector<platform::Adapter>& adapters);
void searchSecondGeneration(SearchState& state, const std::vector<platform::Adapter>& adapters);

// The whole calls behind vcam_scan and vcam_scan_v2: never null, nothing thrown.
const vcam_search_area* scanFirstGeneration(int searchTimeMs) noexcept;
const vcam_search_area_v2* scanSecondGeneration(int searchTimeMs) noexcept;

}  // namespace camlink
