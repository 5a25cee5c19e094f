// Building the camera's JSON replies and reading request bodies defensively.
#pragma once

#include <json/json.h>

#include <cstdint>
#include <optional>
#include <string>

#include "http/http_types.h"
#include "state/face_store.h"

namespace camsim {

// {"code": code, "msg": msg[, "data": data]} with status 200.
HttpResponse jsonReply(int code, const std::string& msg, const Json::Value& data = Json::Value());
HttpResponse jsonReply(const StoreResult& result);
HttpResponse badRequest(const std::string& why);
HttpResponse notFound();

// Reads members of a JSON request object; the first problem is kept and ends the request.
class BodyReader {
public:
    // Parses the body; a body that is not a JSON object is the first problem.
    explicit BodyReader(const std::string& body);
    explicit BodyReader(const Json::Value& object);

    std::string text(const char* key, size_t maxBytes = 63);
    std::optional<std::string> optionalText(const char* key, size_t maxBytes = 63);
    int64_t integer(const char* key, int64_t min, int64_t max);
    std::optional<int64_t> optionalInteger(const char* key, int64_t min, int64_t max);
    const Json::Value& root() const { return root_; }

    bool ok() const { return error_.empty(); }
    HttpResponse failure() const { return badRequest(error_); }

private:
    void problem(const std::string& why);
    Json::Value root_;
    std::string error_;
};

}  // namespace camsim
