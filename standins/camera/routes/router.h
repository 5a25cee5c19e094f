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

class Router {
public:
    Router();
    void add(const std::string& path, Route route) { routes_[path] = route; }
    HttpResponse dispatch(CameraContext& context, const HttpRequest& request) const;

private:
    std::map<std::string, Route> routes_;
};

void registerLibraryRoutes(Router& router);
void registerRecordRoutes(Router& router);
void registerConfigRoutes(Router& router);
void registerHistoryRoutes(Router& router);

}  // namespace camsim
