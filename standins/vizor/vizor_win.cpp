// The seven entry points: argument checks, ownership of results, and no exception leaves.
#include "vizor_win.h"

#include <opencv2/core/version.hpp>

#include <cstring>
#include <new>

#include "vizor_context.h"

namespace {

const char kVersion[] = "2.3.0 (cascade detector, OpenCV " CV_VERSION ")";

// The result and the box it points to live and die together.
struct OwnedResult {
    NexoVizorResult result{};
    NexoVizorFaceBox box{};
};
static_assert(offsetof(OwnedResult, result) == 0, "Release converts back from the result");

template <typename Call>
int32_t guarded(int32_t onFailure, Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return onFailure;
    }
}

}  // namespace

extern "C" {

VIZOR_API int32_t NexoVizorCreate(NexoVizorHandle* handle) {
    if (!handle) return NEXO_VIZOR_ERR_PARAMETER;
    *handle = new (std::nothrow) NexoVizorContext;
    return *handle ? NEXO_VIZOR_OK : NEXO_VIZOR_ERR_PARAMETER;
}

VIZOR_API int32_t NexoVizorSetConfig(NexoVizorHandle handle, const char* key, const char* value) {
    if (!handle || !key || !value) return NEXO_VIZOR_ERR_PARAMETER;
    return guarded(NEXO_VIZOR_ERR_PARAMETER, [&] { return handle->setConfig(key, value); });
}

VIZOR_API int32_t NexoVizorInit(NexoVizorHandle handle) {
    if (!handle) return NEXO_VIZOR_ERR_PARAMETER;
    return guarded(NEXO_VIZOR_ERR_NO_MODEL, [&] { return handle->init(); });
}

VIZOR_API int32_t NexoVizorGetVersion(char* buffer, int32_t size) {
    if (!buffer || size < 1) return NEXO_VIZOR_ERR_PARAMETER;
    if (static_cast<size_t>(size) < sizeof kVersion) {
        buffer[0] = '\0';
        return NEXO_VIZOR_ERR_STRING_SHORT;
    }
    std::memcpy(buffer, kVersion, sizeof kVersion);
    return NEXO_VIZOR_OK;
}

VIZOR_API int32_t NexoVizorExtractFeature(NexoVizorHandle handle, const NexoVizorImage* image,
                                          NexoVizorResult** result) {
    if (!result) return NEXO_VIZOR_ERR_PARAMETER;
    *result = nullptr;
    if (!handle) return NEXO_VIZOR_ERR_PARAMETER;
    auto* owned = new (std::nothrow) OwnedResult;
    if (!owned) return NEXO_VIZOR_ERR_PARAMETER;
    const int32_t code = guarded(-1, [&] {
        if (!image) return owned->result.error_code = NEXO_VIZOR_ERR_PARAMETER;
        return handle->analyse(*image, &owned->result, &owned->box);
    });
    if (code < 0) {  // an unexpected failure inside: nothing trustworthy to hand back
        delete owned;
        return NEXO_VIZOR_ERR_PARAMETER;
    }
    *result = &owned->result;
    return code;
}

VIZOR_API int32_t NexoVizorRelease(NexoVizorResult** result) {
    if (!result) return NEXO_VIZOR_ERR_PARAMETER;
    delete reinterpret_cast<OwnedResult*>(*result);
    *result = nullptr;
    return NEXO_VIZOR_OK;
}

VIZOR_API int32_t NexoVizorFree(NexoVizorHandle handle) {
    delete handle;
    return NEXO_VIZOR_OK;
}

}  // extern "C"
