// Paths of the camera's HTTP interface and the context their handlers work on.
#pragma once

#include <atomic>
#include <map>
#include <string>

#include "camera_config.h"
#include "http/faults.h"
#include "http/http_types.h"
#include "state/face_store.h"
#include "state/feature_store.h"
#include "state/history.h"
#include "state/modules.h"

namespace camsim {

struct CameraContext {
    const CameraConfig& config;
    FaceStore& faces;
    FeatureStore& features;
    ModuleStore& modules;
    History& history;
    Sleeper& sleeper;
    std::atomic<int>& deleteDelayMs;  // slow library deletion on demand
};

using Route = HttpResponse (*)(CameraContext&, const HttpRequest&);

// The request a path takes: its method and, when it carries a body, the body's media type
// (the Content-Type before any parameter, compared without regard to case).
struct Accepts {
    const char* method;
    const char* mediaType;  // nullptr: a fetch, whose type line says nothing
};
constexpr Accepts kJsonPost{"POST", "application/json"};
constexpr Accepts kPictureUpload{"POST", "image/png"};
constexpr Accepts kFetch{"GET", nullptr};

class Router {
public:
    Router();
    void add(const std::string& path, Route route, Accepts accepts = kJsonPost) {
        routes_[path] = {route, accepts};
    }
    // Another method or media type than the path takes is answered as a bad request.
    HttpResponse dispatch(CameraContext& context, const HttpRequest& request) const;

private:
    struct Entry {
        Route route;
        Accepts accepts;
    };
    std::map<std::string, Entry> routes_;
};

void registerLibraryRoutes(Router& router);
void registerRecordRoutes(Router& router);
void registerConfigRoutes(Router& router);
void registerHistoryRoutes(Router& router);

}  // namespace camsim
