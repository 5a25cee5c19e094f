// The camera's own log, handed back in a block the library allocates and the caller releases
// through the library, and the analysis-log file, downloaded under a prefix the caller names.
#include <cstdlib>
#include <cstring>
#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "config/history_calls.h"
#include "core/call_support.h"
#include "core/http_transport.h"
#include "core/json_text.h"
#include "core/log.h"

namespace camlink {

namespace {

using Client = LumenControl::LumenControlClient;

constexpr size_t kSmartLogPathSize = VCAM_SMART_LOG_PATH_SIZE;

// A comparator of this file's own: the set's code then stays inside the library instead of
// being exported as a shared instantiation of the standard template.
struct BlockOrder {
    bool operator()(const char* a, const char* b) const { return std::less<const char*>()(a, b); }
};
using BlockSet = std::set<const char*, BlockOrder>;

// The log blocks handed out and not yet released. realloc and free only ever see a pointer
// found here, so a record holding a stale or foreign pointer is refused instead of corrupting
// the heap.
class LogBlocks {
public:
    static LogBlocks& instance() {
        static LogBlocks blocks;
        return blocks;
    }

    bool owns(const char* block) {
        std::lock_guard<std::mutex> lock(mutex_);
        return !block || blocks_.count(block) != 0;
    }

    // Resizes the record's block (null: a new one) to `size` bytes; false, with the record's
    // pointer as it was, when no memory can be had.
    bool resize(char*& text, size_t size) {
        std::lock_guard<std::mutex> lock(mutex_);
        // The set's node is had before the block moves, so nothing can fail after it moved.
        BlockSet::node_type node = text ? blocks_.extract(text) : freshNode();
        if (node.empty()) return false;  // not ours; callers ask owns() first
        char* block = static_cast<char*>(std::realloc(text, size));
        if (block) {
            node.value() = block;
            text = block;
        }
        if (node.value()) blocks_.insert(std::move(node));
        return block != nullptr;
    }

    void release(char*& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        blocks_.erase(text);
        std::free(text);
        text = nullptr;
    }

private:
    BlockSet::node_type freshNode() {
        BlockSet one{nullptr};
        return one.extract(one.begin());
    }

    std::mutex mutex_;
    BlockSet blocks_;
};

Json::Value ipcLogBody(const vcam_ipc_log& r) {
    Json::Value body(Json::objectValue);
    body["start_time"] = static_cast<Json::UInt64>(r.start_time);
    body["end_time"] = static_cast<Json::UInt64>(r.end_time);
    body["type"] = r.type;
    body["source"] = 2;
    return body;
}

}  // namespace

// The block always holds this query's reply afterwards (an empty text when nothing came back),
// so a stale text is never mistaken for the answer. A failed exchange is reported with the
// transport's result rather than as 0, so an empty text is never mistaken for an empty log.
int getIpcLog(Client& client, vcam_ipc_log& record) {
    static const char kMethod[] = "getIpcLog";
    if (!LogBlocks::instance().owns(record.text)) return VCAM_ERR_ARGUMENT;
    std::string response;
    const int status = client.httpPost("/api/v1/log", compactJson(ipcLogBody(record)), response);
    if (!LogBlocks::instance().resize(record.text, response.size() + 1)) return VCAM_ERR_NO_MEMORY;
    std::memcpy(record.text, response.data(), response.size());
    record.text[response.size()] = '\0';
    if (status != 200) {
        logRequestFailed(kMethod, status);
        return status;
    }
    return VCAM_OK;
}

int freeIpcLog(vcam_ipc_log& record) {
    if (!LogBlocks::instance().owns(record.text)) return VCAM_ERR_ARGUMENT;
    LogBlocks::instance().release(record.text);
    return VCAM_OK;
}

int getSmartLog(Client& client, char* path) {
    static const char kMethod[] = "getSmartLog";
    // Without a prefix there is no download, and an unterminated one has no end.
    const size_t prefixLength = strnlen(path, kSmartLogPathSize);
    if (prefixLength == 0 || prefixLength == kSmartLogPathSize) return VCAM_ERR_ARGUMENT;

    LumenNetwork::HttpRequest request;
    request.url = client.url("/common/smart_log");
    request.userpwd = client.credentials();
    request.file.assign(path, prefixLength);
    std::string response;
    const int status = client.http().get(response, request);

    std::memset(path, 0, kSmartLogPathSize);
    request.file.copy(path, kSmartLogPathSize - 1);
    CAMLINK_LOG(kLogInfo, methodTag(kMethod)) << "Get a SmartLog: " << path;
    if (status != 200) {
        logRequestFailed(kMethod, status);
        return status;
    }
    return VCAM_OK;
}

}  // namespace camlink
