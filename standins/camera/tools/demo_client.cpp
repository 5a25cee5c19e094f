// A short real session against simulated cameras: log in over HTTP digest, create a library,
// upload a picture, list it. Prints each step and what the camera answered.
#include <curl/curl.h>
#include <json/json.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include <openssl/evp.h>
#include <opencv2/imgcodecs.hpp>
#include <opencv2/imgproc.hpp>

namespace {

struct Exchange {
    long status = 0;
    std::string body;
    std::string error;
};

size_t collect(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

class Camera {
public:
    Camera(std::string address, std::string credentials)
        : base_("http://" + address + ":8089"), credentials_(std::move(credentials)) {}

    Exchange post(const std::string& path, const std::string& body,
                  const std::vector<std::string>& extraHeaders = {},
                  const char* contentType = "Content-Type: application/json; charset=UTF-8") const {
        Exchange ex;
        CURL* curl = curl_easy_init();
        if (!curl) return {0, "", "no transfer handle"};
        curl_slist* headers = curl_slist_append(nullptr, "User-Agent:curl/Control");
        for (const auto& h : extraHeaders)
            headers = curl_slist_append(headers, h.c_str());
        headers = curl_slist_append(headers, contentType);
        const std::string url = base_ + path;
        curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_HTTPAUTH, CURLAUTH_DIGEST);
        curl_easy_setopt(curl, CURLOPT_USERPWD, credentials_.c_str());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
        curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 5000L);
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &collect);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, &ex.body);
        CURLcode rc = curl_easy_perform(curl);
        if (rc == CURLE_OK)
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &ex.status);
        else
            ex.error = curl_easy_strerror(rc);
        curl_slist_free_all(headers);
        curl_easy_cleanup(curl);
        return ex;
    }

private:
    std::string base_;
    std::string credentials_;
};

std::string md5Upper(const std::string& bytes) {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned size = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_md5(), nullptr);
    std::string hex;
    char two[3];
    for (unsigned i = 0; i < size; ++i) {
        std::snprintf(two, sizeof two, "%02X", digest[i]);
        hex += two;
    }
    return hex;
}

std::string base64(const std::string& bytes) {
    std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
    int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                            reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()));
    out.resize(n);
    return out;
}

Json::Value parse(const std::string& text) {
    Json::CharReaderBuilder builder;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value root;
    std::string errors;
    reader->parse(text.data(), text.data() + text.size(), &root, &errors);
    return root;
}

bool report(const char* step, const Exchange& ex) {
    if (!ex.error.empty()) {
        std::printf("  %-16s failed: %s\n", step, ex.error.c_str());
        return false;
    }
    std::printf("  %-16s HTTP %ld  %s\n", step, ex.status,
                ex.body.size() > 160 ? (ex.body.substr(0, 157) + "...").c_str() : ex.body.c_str());
    return ex.status == 200 && parse(ex.body)["code"].asInt() == 0;
}

// One camera: login check, a library, one picture, the list. True when every step worked.
bool session(const std::string& address, const std::string& credentials,
             const std::string& picturePath, const std::string& picture) {
    std::printf("camera %s\n", address.c_str());
    Camera camera(address, credentials);
    const std::string status =
        "{\"config\":{\"action\":\"get_reqt\",\"module\":[{\"name\":\"device_status\"}]}}";
    if (!report("login check", camera.post("/digest/config", status))) return false;
    Exchange created =
        camera.post("/api/v1/recognize/add_fdlib", "{\"name\":\"visitors\",\"threshold\":80}");
    if (!report("create library", created)) return false;
    const std::string libid = parse(created.body)["data"]["libid"].asString();
    const std::string name = picturePath.substr(picturePath.find_last_of('/') + 1);
    Exchange added = camera.post(
        "/api/v1/recognize/fdlib/add_img", picture,
        {"name:" + base64(name), "md5:" + md5Upper(picture), "libid:" + libid, "encoding:0"},
        "Content-Type:image/png");
    if (!report("upload picture", added)) return false;
    Exchange listed = camera.post("/api/v1/recognize/fdlib/list_img",
                                  "{\"libid\":\"" + libid + "\",\"page_num\":1,\"page_size\":20}");
    if (!report("list pictures", listed)) return false;
    const Json::Value records = parse(listed.body)["data"]["record"];
    std::printf("  library %s holds %u picture(s); first: imgid %lld, url %s\n", libid.c_str(),
                records.size(), static_cast<long long>(records[0]["imgid"].asInt64()),
                records[0]["url"].asString().c_str());
    return records.size() == 1;
}

// A 240 x 320 portrait drawn on the spot, so the demo needs no picture files.
std::string drawPortrait() {
    cv::Mat image(320, 240, CV_8UC3, cv::Scalar(200, 180, 160));
    cv::ellipse(image, {120, 150}, {60, 80}, 0, 0, 360, cv::Scalar(150, 180, 225), cv::FILLED);
    cv::circle(image, {97, 135}, 8, cv::Scalar(60, 40, 30), cv::FILLED);
    cv::circle(image, {143, 135}, 8, cv::Scalar(60, 40, 30), cv::FILLED);
    cv::ellipse(image, {120, 190}, {25, 10}, 0, 0, 180, cv::Scalar(60, 60, 160), 3);
    std::vector<unsigned char> jpeg;
    cv::imencode(".jpg", image, jpeg);
    return std::string(jpeg.begin(), jpeg.end());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: camsim_demo_client USER:PASSWORD ADDRESS...\n");
        return 1;
    }
    const std::string picture = drawPortrait();
    curl_global_init(CURL_GLOBAL_DEFAULT);
    int failures = 0;
    for (int i = 2; i < argc; ++i)
        failures += session(argv[i], argv[1], "portrait.jpg", picture) ? 0 : 1;
    curl_global_cleanup();
    std::printf("%d of %d cameras completed the session\n", argc - 2 - failures, argc - 2);
    return failures == 0 ? 0 : 1;
}
