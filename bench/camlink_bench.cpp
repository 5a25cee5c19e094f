// The SDK against raw libcurl, side by side in one run, on simulated cameras in this process:
// the cost of the frame and transport on one digest POST, picture uploads, and paging through
// a large library. Each pair prints the ratio of the medians of its repetitions.
#include <benchmark/benchmark.h>
#include <curl/curl.h>
#include <openssl/evp.h>
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "camlink.h"
#include "camsim.h"

namespace {

namespace fs = std::filesystem;

struct Bench {
    std::unique_ptr<camsim::Camera> camera;
    int session = 0;
    std::string libid;
    std::string pagingLibid;
    std::vector<std::string> pictures;  // files of 20 to 90 KB
};
Bench bench;

std::string jpegOfSize(size_t total, uint32_t seed) {
    std::string j("\xFF\xD8\xFF\xC0\x00\x0B\x08\x01\x40\x00\xF0\x01\x01\x11\x00", 15);
    j += std::string("\xFF\xDA\x00\x08\x01\x01\x00\x00\x3F\x00", 10);
    std::mt19937 random(seed);
    while (j.size() + 2 < total)
        j += static_cast<char>(random() % 0xFF);  // never a marker
    return j + "\xFF\xD9";
}

std::string md5Upper(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr);
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned i = 0; i < size; ++i)
        out += {hex[digest[i] >> 4], hex[digest[i] & 15]};
    return out;
}

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    out.resize(EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                               reinterpret_cast<const unsigned char*>(bytes.data()),
                               static_cast<int>(bytes.size())));
    return out;
}

size_t collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// One request the way the SDK makes it, but straight through libcurl: a new handle each time.
long rawRequest(const std::string& path, const std::string& body,
                const std::vector<std::string>& headers, const char* contentType) {
    CURL* curl = curl_easy_init();
    curl_slist* list = curl_slist_append(nullptr, "User-Agent:curl/Control");
    for (const auto& h : headers)
        list = curl_slist_append(list, h.c_str());
    list = curl_slist_append(list, contentType);
    const std::string url = bench.camera->config().address + ":8089" + path;
    std::string reply;
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "POST");
    curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_DIGEST);
    curl_easy_setopt(curl, CURLOPT_USERPWD, "admin:admin");
    curl_easy_setopt(curl, CURLOPT_TCP_KEEPALIVE, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 20000L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &reply);
    long status = 0;
    if (curl_easy_perform(curl) == CURLE_OK)
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_slist_free_all(list);
    curl_easy_cleanup(curl);
    return status;
}

void sdkFindLibrary(benchmark::State& state) {
    vcam_library_record r{};
    std::snprintf(r.libid, sizeof r.libid, "%s", bench.libid.c_str());
    for (auto _ : state)
        if (vcam_control_find_library(bench.session, &r) != 0) state.SkipWithError("find failed");
    state.SetItemsProcessed(state.iterations());
}

void rawFindLibrary(benchmark::State& state) {
    const std::string body = "{\"libid\":\"" + bench.libid + "\"}";
    for (auto _ : state)
        if (rawRequest("/api/v1/recognize/get_fdlib", body, {},
                       "Content-Type: application/json; charset=UTF-8") != 200)
            state.SkipWithError("find failed");
    state.SetItemsProcessed(state.iterations());
}

// Each round uploads all pictures and then empties the library again (outside the timing).
void clearLibrary(benchmark::State& state) {
    state.PauseTiming();
    bench.camera->faces().deleteAllImages(bench.libid);
    state.ResumeTiming();
}

void sdkUpload(benchmark::State& state) {
    vcam_image_record r{};
    std::snprintf(r.libid, sizeof r.libid, "%s", bench.libid.c_str());
    for (auto _ : state) {
        for (const auto& path : bench.pictures) {
            std::snprintf(r.path, sizeof r.path, "%s", path.c_str());
            if (vcam_control_add_image(bench.session, &r) != 0)
                state.SkipWithError("upload failed");
        }
        clearLibrary(state);
    }
    state.SetItemsProcessed(state.iterations() * bench.pictures.size());
}

void rawUpload(benchmark::State& state) {
    for (auto _ : state) {
        for (const auto& path : bench.pictures) {
            // The same work the SDK does per picture: read the file, digest it, send it.
            std::ifstream in(path, std::ios::binary);
            std::string bytes((std::istreambuf_iterator<char>(in)), {});
            const std::string name = fs::path(path).filename().string();
            if (rawRequest("/api/v1/recognize/fdlib/add_img", bytes,
                           {"name:" + base64(name), "md5:" + md5Upper(bytes),
                            "libid:" + bench.libid, "encoding:0"},
                           "Content-Type:image/png") != 200)
                state.SkipWithError("upload failed");
        }
        clearLibrary(state);
    }
    state.SetItemsProcessed(state.iterations() * bench.pictures.size());
}

// Pages of a 10,000-picture library; the reply buffer must not move once it has held the
// largest page seen so far.
void sdkListPages(benchmark::State& state) {
    vcam_image_query q{};
    std::snprintf(q.libid, sizeof q.libid, "%s", bench.pagingLibid.c_str());
    q.page_size = 20;
    const char* previous = nullptr;
    size_t largest = 0;
    int grows = 0, needlessMoves = 0;
    for (auto _ : state) {
        for (int page = 1; page <= 500; ++page) {
            q.page_num = page;
            if (vcam_control_list_image(bench.session, &q) != 0) state.SkipWithError("list failed");
            const size_t length = std::strlen(q.reply);
            if (previous && q.reply != previous) (length > largest ? grows : needlessMoves)++;
            largest = std::max(largest, length);
            previous = q.reply;
        }
    }
    state.SetItemsProcessed(state.iterations() * 500);
    state.counters["buffer_grows"] = grows;
    state.counters["moves_without_growth"] = needlessMoves;
}

void setUp(const fs::path& dir) {
    camsim::CameraConfig config;
    config.address = "127.0.71.2";
    config.maxImageBytes = 1 << 20;
    bench.camera = std::make_unique<camsim::Camera>(config);
    bench.libid = bench.camera->faces().createLibrary("bench", 80).data["libid"].asString();
    // A second library of 10,000 images for paging.
    bench.pagingLibid = bench.camera->faces().createLibrary("paging", 80).data["libid"].asString();
    for (int i = 0; i < 10000; ++i) {
        camsim::NewImage image;
        image.libid = bench.pagingLibid;
        image.name = "person " + std::to_string(i);
        image.uid = "uid-" + std::to_string(i);
        image.bytes = jpegOfSize(200, i);
        bench.camera->faces().addImage(image);
    }
    std::string error;
    if (!bench.camera->start(&error)) throw std::runtime_error(error);
    fs::create_directories(dir);
    std::mt19937 random(7);
    for (int i = 0; i < 1000; ++i) {
        const fs::path file = dir / ("face_" + std::to_string(i) + ".jpg");
        std::ofstream(file, std::ios::binary) << jpegOfSize(20000 + random() % 70000, i);
        bench.pictures.push_back(file.string());
    }
    char reply[VCAM_LOGIN_REPLY_SIZE];
    if (vcam_control_login_v2(&bench.session, config.address.c_str(), "admin", "admin", reply) != 0)
        throw std::runtime_error("login failed");
}

// One untimed round through each path before anything is measured: the camera's picture store
// grows to its full size once, so that the first upload benchmark does not pay for the memory
// every later one reuses (measured alone, each path was faster than when it ran first).
void warmUp() {
    vcam_image_record r{};
    std::snprintf(r.libid, sizeof r.libid, "%s", bench.libid.c_str());
    for (const auto& path : bench.pictures) {
        std::snprintf(r.path, sizeof r.path, "%s", path.c_str());
        vcam_control_add_image(bench.session, &r);
    }
    bench.camera->faces().deleteAllImages(bench.libid);
    for (const auto& path : bench.pictures) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes((std::istreambuf_iterator<char>(in)), {});
        const std::string name = fs::path(path).filename().string();
        rawRequest("/api/v1/recognize/fdlib/add_img", bytes,
                   {"name:" + base64(name), "md5:" + md5Upper(bytes), "libid:" + bench.libid,
                    "encoding:0"},
                   "Content-Type:image/png");
    }
    bench.camera->faces().deleteAllImages(bench.libid);
}

// Collects the median of each benchmark's repetitions and prints the SDK/raw ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& run : runs)
            if (run.aggregate_name == "median")
                medians_[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void printRatios() const {
        for (const auto& [sdk, raw] :
             {std::pair{"sdkFindLibrary", "rawFindLibrary"}, std::pair{"sdkUpload", "rawUpload"}}) {
            auto a = medians_.find(sdk), b = medians_.find(raw);
            if (a != medians_.end() && b != medians_.end())
                std::printf("ratio %s / %s (median time): %.3f\n", sdk, raw, a->second / b->second);
        }
    }

private:
    std::map<std::string, double> medians_;
};

}  // namespace

BENCHMARK(sdkFindLibrary)->Repetitions(7)->MinTime(0.5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(rawFindLibrary)->Repetitions(7)->MinTime(0.5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(sdkUpload)
    ->Repetitions(3)
    ->Iterations(1)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(rawUpload)
    ->Repetitions(3)
    ->Iterations(1)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(sdkListPages)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    signal(SIGPIPE, SIG_IGN);
    benchmark::Initialize(&argc, argv);
    const fs::path dir = fs::temp_directory_path() / ("camlink_bench_" + std::to_string(getpid()));
    int status = 0;
    try {
        setUp(dir);
        warmUp();
        RatioReporter reporter;
        benchmark::RunSpecifiedBenchmarks(&reporter);
        reporter.printRatios();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "camlink_bench: %s\n", e.what());
        status = 1;
    }
    vcam_control_logout(bench.session);
    if (bench.camera) bench.camera->stop();
    fs::remove_all(dir);
    return status;
}
