#include "routes/router.h"

#include "routes/reply.h"

namespace camsim {

Router::Router() {
    registerLibraryRoutes(*this);
    registerRecordRoutes(*this);
    registerConfigRoutes(*this);
    registerHistoryRoutes(*this);
}

HttpResponse Router::dispatch(CameraContext& context, const HttpRequest& request) const {
    auto it = routes_.find(request.path);
    if (it != routes_.end()) return it->second(context, request);
    // Served pictures: "/images/<imgid>.jpg".
    const std::string prefix = "/images/";
    if (request.path.compare(0, prefix.size(), prefix) == 0) {
        auto route = routes_.find(prefix);
        if (route != routes_.end()) return route->second(context, request);
    }
    return notFound();
}

}  // namespace camsim
