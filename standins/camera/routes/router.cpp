#include "routes/router.h"

#include <cctype>

#include "routes/reply.h"

namespace camsim {

Router::Router() {
    registerLibraryRoutes(*this);
    registerRecordRoutes(*this);
    registerConfigRoutes(*this);
    registerHistoryRoutes(*this);
}

namespace {

// "image/PNG; charset=x" -> "image/png".
std::string mediaTypeOf(const std::string& contentType) {
    std::string type = contentType.substr(0, contentType.find(';'));
    const size_t first = type.find_first_not_of(" \t");
    const size_t last = type.find_last_not_of(" \t");
    type = first == std::string::npos ? "" : type.substr(first, last - first + 1);
    for (char& c : type)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return type;
}

}  // namespace

HttpResponse Router::dispatch(CameraContext& context, const HttpRequest& request) const {
    auto it = routes_.find(request.path);
    // Served pictures: "/images/<imgid>.jpg".
    const std::string prefix = "/images/";
    if (it == routes_.end() && request.path.compare(0, prefix.size(), prefix) == 0)
        it = routes_.find(prefix);
    if (it == routes_.end()) return notFound();
    const Accepts& accepts = it->second.accepts;
    if (request.method != accepts.method)
        return badRequest(request.method + " is not taken here, only " + accepts.method);
    if (accepts.mediaType && mediaTypeOf(request.header("Content-Type")) != accepts.mediaType)
        return badRequest("the body must be " + std::string(accepts.mediaType));
    return it->second.route(context, request);
}

}  // namespace camsim
