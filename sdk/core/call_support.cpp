#include "core/call_support.h"

#include "core/log.h"

namespace camlink {

std::string methodTag(const char* method) {
    return std::string("LumenControl::LumenControlClient::") + method;
}

void logRequestFailed(const char* method, int status) {
    CAMLINK_LOG(kLogError, methodTag(method)) << "request failed, status code is :" << status;
}

int handBackText(LumenControl::LumenControlClient& client, int status, const std::string& response,
                 char** reply, const char* method) {
    if (status != 200) {
        *reply = nullptr;
        logRequestFailed(method, status);
        return status;
    }
    *reply = client.replyBuffer().store(response.data(), response.size(), true);
    return 0;
}

}  // namespace camlink
