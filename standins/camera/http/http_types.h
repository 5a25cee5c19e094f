// One HTTP exchange as the simulated camera sees it.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace camsim {

using HeaderList = std::vector<std::pair<std::string, std::string>>;

struct HttpRequest {
    std::string method;
    std::string path;  // without the query string
    HeaderList headers;
    std::string body;

    // First header of that name, compared without regard to case; empty when absent.
    std::string header(const std::string& name) const;
    bool hasHeader(const std::string& name) const;
};

struct HttpResponse {
    int status = 200;
    std::string body;
    std::string contentType = "application/json";
    HeaderList headers;
};

}  // namespace camsim
