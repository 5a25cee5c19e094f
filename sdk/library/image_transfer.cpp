// The two face-library calls that move raw bytes: the picture upload and the image fetch.
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "core/call_support.h"
#include "core/file_handle.h"
#include "core/http_transport.h"
#include "core/json_text.h"
#include "library/library_calls.h"

namespace camlink {

namespace {

// The read function of the upload is handed the request; the file travels with it.
struct UploadRequest : LumenNetwork::HttpRequest {
    FILE* source = nullptr;
};

size_t readUpload(char* buffer, size_t size, size_t count, void* request) {
    auto* upload = static_cast<UploadRequest*>(static_cast<LumenNetwork::HttpRequest*>(request));
    return std::fread(buffer, size, count, upload->source);
}

bool rewindUpload(void* request) {
    auto* upload = static_cast<UploadRequest*>(static_cast<LumenNetwork::HttpRequest*>(request));
    return std::fseek(upload->source, 0, SEEK_SET) == 0;
}

size_t appendReply(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// The part of the path after its last backslash, else after its last slash, else all of it.
std::string fileNameOf(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut == std::string::npos) cut = path.rfind('/');
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

constexpr const char* kAddImage = "ipcGenLibAddImage";
constexpr const char* kImageData = "ipcGenLibImageData";
constexpr int32_t kMethodGet = 2;
constexpr int32_t kMethodPost = 3;

}  // namespace

int addImage(LumenControl::LumenControlClient& client, vcam_image_record& record) {
    if (!terminated(record.libid) || !terminated(record.path)) return VCAM_ERR_ARGUMENT;
    const std::string path = fieldText(record.path);
    if (path.empty()) return VCAM_ERR_ARGUMENT;
    File file = openFile(path.c_str(), "rb");
    if (!file) return VCAM_ERR_ARGUMENT;
    std::string md5;
    const int64_t length = LumenNetwork::getFileMd5(file.get(), md5);
    std::rewind(file.get());
    // The upload length travels in a 32-bit field.
    if (length <= 0 || length > std::numeric_limits<int32_t>::max()) return VCAM_ERR_ARGUMENT;

    const std::string name = fileNameOf(path);
    UploadRequest request;
    request.url = client.url("/api/v1/recognize/fdlib/add_img");
    request.userpwd = client.credentials();
    request.header = "name:" + LumenNetwork::base64Encode(name.data(), name.size()) +
                     "\r\nmd5:" + md5 + "\r\nlibid:" + fieldText(record.libid) + "\r\nencoding:0";
    request.method = kMethodPost;
    request.count = 1;
    request.uploadSize = static_cast<int32_t>(length);
    request.source = file.get();
    const int status = client.http().send(request, &readUpload, &appendReply, &rewindUpload);
    return handBackText(client, status, request.body, &record.reply, kAddImage);
}

int fetchImageData(LumenControl::LumenControlClient& client, vcam_image_data_record& record) {
    if (!terminated(record.url)) return VCAM_ERR_ARGUMENT;
    LumenNetwork::HttpRequest request;
    // The camera's own URL, used as it stands: the transport takes plain HTTP only and follows
    // no redirect, so a hostile URL ends as a failure, never as an empty success.
    request.url = fieldText(record.url);
    request.userpwd = client.credentials();
    request.method = kMethodGet;
    const int status = client.http().send(request, nullptr, &appendReply);
    if (status != 200) {
        record.data = nullptr;
        record.size = 0;
        logRequestFailed(kImageData, status);
        return status;
    }
    if (request.body.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        return VCAM_ERR_NO_MEMORY;
    record.data = client.replyBuffer().store(request.body.data(), request.body.size(), false);
    record.size = static_cast<int32_t>(request.body.size());
    return 0;
}

}  // namespace camlink
