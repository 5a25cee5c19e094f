// A digest-authenticating HTTP client over libcurl for tests that speak to a camera directly.
#pragma once

#include <json/json.h>

#include <string>
#include <utility>
#include <vector>

namespace testsupport {

struct Reply {
    long status = 0;   // HTTP status; 0 when the exchange failed
    int curlCode = 0;  // libcurl's result
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;

    // The body as JSON (null when it is not JSON).
    Json::Value json() const;
    std::string header(const std::string& name) const;
};

class HttpClient {
public:
    HttpClient(std::string address, std::string user, std::string password, int port = 8089);

    Reply post(const std::string& path, const std::string& body, long timeoutMs = 5000) const;
    Reply postJson(const std::string& path, const Json::Value& body) const;
    Reply get(const std::string& path) const;
    Reply getUrl(const std::string& url) const;
    Reply upload(const std::string& path, const std::string& bytes,
                 const std::vector<std::string>& headerLines) const;

private:
    Reply perform(const std::string& url, const std::string& method, const std::string* body,
                  const std::vector<std::string>& headerLines, long timeoutMs) const;

    std::string base_;
    std::string credentials_;
};

// The text as JSON (null when it is not JSON; a null pointer counts as empty text).
Json::Value parseJson(const std::string& text);
Json::Value parseJson(const char* text);

// The compact JSON text of a value, members in key order.
std::string compact(const Json::Value& value);

}  // namespace testsupport
