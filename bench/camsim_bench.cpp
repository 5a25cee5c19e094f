// How many authenticated library listings a simulated camera answers per second when the
// client, like our SDK, makes a new libcurl handle for every request: a new connection and a
// fresh digest challenge each time.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <signal.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "camsim.h"

namespace {

const char* const kAddresses[] = {"127.0.70.2", "127.0.70.3"};
constexpr int kPicturesPerLibrary = 5;

std::vector<std::unique_ptr<camsim::Camera>> cameras;

// The smallest JPEG the camera takes: it reads only the frame header.
std::string jpeg(int width, int height) {
    std::string j("\xFF\xD8\xFF\xE0\x00\x10JFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
    j += std::string("\xFF\xC0\x00\x0B\x08", 5);
    for (int side : {height, width}) {
        j += static_cast<char>(side >> 8);
        j += static_cast<char>(side & 0xFF);
    }
    j += std::string("\x01\x01\x11\x00\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 14);
    j += std::string(2048, '\x55') + "\xFF\xD9";
    return j;
}

// A camera with one library of a few pictures, so the listing is a realistic one.
bool startCamera(const std::string& address) {
    camsim::CameraConfig config;
    config.address = address;
    auto camera = std::make_unique<camsim::Camera>(config);
    camsim::StoreResult library = camera->faces().createLibrary("staff", 80);
    for (int i = 0; i < kPicturesPerLibrary; ++i) {
        camsim::NewImage image;
        image.libid = library.data["libid"].asString();
        image.name = "face" + std::to_string(i) + ".jpg";
        image.bytes = jpeg(320 + i, 240);
        if (camera->faces().addImage(image).code != 0) return false;
    }
    std::string error;
    if (!camera->start(&error)) {
        std::fprintf(stderr, "camsim_bench: %s\n", error.c_str());
        return false;
    }
    cameras.push_back(std::move(camera));
    return true;
}

size_t discard(char*, size_t size, size_t count, void*) {
    return size * count;
}

// One listing made the way the SDK makes it; the HTTP status, 0 when the exchange failed.
long listLibraries(const std::string& url) {
    CURL* curl = curl_easy_init();
    if (!curl) return 0;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_DIGEST);
    curl_easy_setopt(curl, CURLOPT_USERPWD, "admin:admin");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 5000L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &discard);
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    return status;
}

// range(0): how many cameras the client threads spread over.
void BM_ListLibrariesNewHandleEach(benchmark::State& state) {
    const auto camera = static_cast<size_t>(state.thread_index()) % state.range(0);
    const std::string url =
        std::string("http://") + kAddresses[camera] + ":8089/api/v1/recognize/list_fdlib";
    for (auto _ : state) {
        long status = listLibraries(url);
        if (status != 200) {
            state.SkipWithError(("a listing answered " + std::to_string(status)).c_str());
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ListLibrariesNewHandleEach)->ArgName("cameras")->Arg(1)->UseRealTime();
BENCHMARK(BM_ListLibrariesNewHandleEach)->ArgName("cameras")->Arg(1)->Threads(2)->UseRealTime();
BENCHMARK(BM_ListLibrariesNewHandleEach)->ArgName("cameras")->Arg(2)->Threads(2)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    signal(SIGPIPE, SIG_IGN);
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return 1;
    for (const char* address : kAddresses)
        if (!startCamera(address)) return 2;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    cameras.clear();
    curl_global_cleanup();
    return 0;
}
