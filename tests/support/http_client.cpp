#include "support/http_client.h"

#include <curl/curl.h>
#include <strings.h>

#include <memory>

namespace testsupport {

namespace {
size_t appendBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

size_t appendHeader(char* data, size_t size, size_t count, void* target) {
    std::string line(data, size * count);
    auto colon = line.find(':');
    if (colon != std::string::npos) {
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(' '));
        value.erase(value.find_last_not_of("\r\n") + 1);
        static_cast<Reply*>(target)->headers.emplace_back(line.substr(0, colon), value);
    }
    return size * count;
}
}  // namespace

Json::Value parseJson(const std::string& text) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    if (!reader->parse(text.data(), text.data() + text.size(), &root, &errors))
        return Json::Value();
    return root;
}

Json::Value parseJson(const char* text) {
    return parseJson(std::string(text ? text : ""));
}

Json::Value Reply::json() const {
    return parseJson(body);
}

std::string Reply::header(const std::string& name) const {
    for (const auto& [key, value] : headers)
        if (strcasecmp(key.c_str(), name.c_str()) == 0) return value;
    return "";
}

std::string compact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    return Json::writeString(builder, value);
}

HttpClient::HttpClient(std::string address, std::string user, std::string password, int port)
    : base_("http://" + address + ":" + std::to_string(port)),
      credentials_(user + ":" + password) {}

Reply HttpClient::perform(const std::string& url, const std::string& method,
                          const std::string* body, const std::vector<std::string>& headerLines,
                          long timeoutMs) const {
    Reply reply;
    CURL* curl = curl_easy_init();
    if (!curl) return reply;
    curl_slist* headers = nullptr;
    for (const auto& line : headerLines)
        headers = curl_slist_append(headers, line.c_str());
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_DIGEST);
    curl_easy_setopt(curl, CURLOPT_USERPWD, credentials_.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &appendBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &appendHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &reply);
    if (body) {
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body->data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body->size()));
    }
    reply.curlCode = curl_easy_perform(curl);
    if (reply.curlCode == CURLE_OK) curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return reply;
}

Reply HttpClient::post(const std::string& path, const std::string& body, long timeoutMs) const {
    return perform(base_ + path, "POST", &body, {"Content-Type: application/json"}, timeoutMs);
}

Reply HttpClient::postJson(const std::string& path, const Json::Value& body) const {
    return post(path, compact(body));
}

Reply HttpClient::get(const std::string& path) const {
    return getUrl(base_ + path);
}

Reply HttpClient::getUrl(const std::string& url) const {
    return perform(url, "GET", nullptr, {}, 5000);
}

Reply HttpClient::upload(const std::string& path, const std::string& bytes,
                         const std::vector<std::string>& headerLines) const {
    std::vector<std::string> lines = headerLines;
    lines.push_back("Content-Type:image/png");
    return perform(base_ + path, "POST", &bytes, lines, 20000);
}

}  // namespace testsupport
