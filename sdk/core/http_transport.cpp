// libcurl exchanges with a camera, the download writer that checks each announced file's
// digest before writing it, and the MD5 and Base64 helpers over OpenSSL.
#include "core/http_transport.h"

#include "core/c_memory.h"
#include "core/file_handle.h"
#include "core/json_text.h"

#include <curl/curl.h>
#include <json/json.h>
#include <openssl/evp.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "core/log.h"

namespace LumenNetwork {

namespace {

constexpr long kShortTimeoutMs = 2000;
constexpr long kSendTimeoutMs = 20000;
constexpr long kTransferBufferBytes = 102400;
// A camera's reply is held in memory: beyond this it is a hostile or broken peer.
constexpr size_t kMaxReplyBytes = size_t{64} << 20;
// The receive buffer of a download is 1.5 times the announced total.
constexpr int64_t kMaxDownloadBytes = int64_t{1} << 30;
constexpr size_t kFileBlockBytes = 1024;
constexpr int32_t kMethodGet = 2;
constexpr int32_t kMethodHead = 1;

const char kUserAgent[] = "User-Agent:curl/Control";
const char kJsonType[] = "Content-Type: application/json; charset=UTF-8";
const char kPngType[] = "Content-Type:image/png";

const char* const kMethodNames[] = {"OPTIONS", "HEAD",   "GET",   "POST",
                                    "PUT",     "DELETE", "TRACE", "CONNECT"};

struct CurlCleanup {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct SlistCleanup {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
struct DigestCleanup {
    void operator()(EVP_MD_CTX* context) const { EVP_MD_CTX_free(context); }
};
struct EncodeCleanup {
    void operator()(EVP_ENCODE_CTX* context) const { EVP_ENCODE_CTX_free(context); }
};

using CurlHandle = std::unique_ptr<CURL, CurlCleanup>;
using CurlHeaders = std::unique_ptr<curl_slist, SlistCleanup>;
using FileHandle = camlink::File;
using ByteBuffer = std::unique_ptr<unsigned char, camlink::FreeMemory>;

// Incremental MD5 giving 32 upper-case hexadecimal digits.
class Md5 {
public:
    Md5() : context_(EVP_MD_CTX_new()) {
        ok_ = context_ && EVP_DigestInit_ex(context_.get(), EVP_md5(), nullptr) == 1;
    }
    void update(const void* bytes, size_t length) {
        if (ok_ && length > 0) ok_ = EVP_DigestUpdate(context_.get(), bytes, length) == 1;
    }
    // False when OpenSSL failed; `out` is then untouched.
    bool finish(std::string& out) {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        if (!ok_ || EVP_DigestFinal_ex(context_.get(), digest, &size) != 1) return false;
        static const char kHex[] = "0123456789ABCDEF";
        out.clear();
        for (unsigned int i = 0; i < size; ++i) {
            out += kHex[digest[i] >> 4];
            out += kHex[digest[i] & 0x0F];
        }
        return true;
    }

private:
    std::unique_ptr<EVP_MD_CTX, DigestCleanup> context_;
    bool ok_ = false;
};

CurlHandle newHandle() {
    // Thread-safe static initialisation runs libcurl's global set-up exactly once.
    static const CURLcode global = curl_global_init(CURL_GLOBAL_DEFAULT);
    if (global != CURLE_OK) return nullptr;
    return CurlHandle(curl_easy_init());
}

// Adds one entry per line of `text` (lines separated by "\r\n"); false when out of memory.
bool appendLines(CurlHeaders& list, const std::string& text) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) end = text.size();
        if (end > start) {
            curl_slist* grown =
                curl_slist_append(list.get(), text.substr(start, end - start).c_str());
            if (!grown) return false;
            list.release();
            list.reset(grown);
        }
        start = end + 2;
    }
    return true;
}

CurlHeaders headerList(const std::string& extra, const char* contentType) {
    CurlHeaders list(curl_slist_append(nullptr, kUserAgent));
    if (!list || !appendLines(list, extra) || !appendLines(list, contentType)) return nullptr;
    return list;
}

// A handle kept between requests, with what it knows of the camera's digest state.
struct KeptHandle {
    CurlHandle curl;
    bool authenticated = false;  // its nonce was last accepted
    bool challenged = false;     // the last answer was a 401 with a digest challenge

    // Drops the nonce (and every option); the open connection stays.
    void forget() {
        if (curl) curl_easy_reset(curl.get());
        authenticated = false;
    }
};

// Every option an operation may set, back to libcurl's default, so a kept handle starts each
// request clean; the digest state and the connection survive this (curl_easy_reset would
// drop the nonce).
void clearOperationOptions(CURL* c) {
    curl_easy_setopt(c, CURLOPT_POSTFIELDS, nullptr);
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(-1));
    curl_easy_setopt(c, CURLOPT_HTTPGET, 1L);  // also ends upload and no-body modes
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(-1));
    curl_easy_setopt(c, CURLOPT_READFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_SEEKFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_SEEKDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, nullptr);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, 0L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 0L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 0L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, nullptr);
    curl_easy_setopt(c, CURLOPT_PREREQFUNCTION, nullptr);
    curl_easy_setopt(c, CURLOPT_PREREQDATA, nullptr);
    // One size for the handle's life: libcurl allocates its buffers once, at their first use.
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, kTransferBufferBytes);
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, kTransferBufferBytes);
}

// On a kept connection that dies after the camera has read a request, libcurl sends the
// request again on a fresh one. The camera may have acted on it (stored a picture, made a
// library), so a request is sent again only after an answer (a digest challenge) came in:
// a send with no header received since the last one is that blind resend, and is refused.
struct ResendGuard {
    CURL* curl = nullptr;
    int sends = 0;
    long headerBytesAtSend = 0;

    static int beforeSend(void* guard, char*, char*, int, int) {
        auto* self = static_cast<ResendGuard*>(guard);
        long headerBytes = 0;
        curl_easy_getinfo(self->curl, CURLINFO_HEADER_SIZE, &headerBytes);
        if (self->sends > 0 && headerBytes == self->headerBytesAtSend) return CURL_PREREQFUNC_ABORT;
        ++self->sends;
        self->headerBytesAtSend = headerBytes;
        return CURL_PREREQFUNC_OK;
    }
};

// The handle and header list of one exchange, with the settings every operation shares. The
// handle is the kept one when there is one, else made for this exchange alone.
struct Exchange {
    explicit Exchange(KeptHandle* kept) : kept_(kept) {}

    CURL* curl = nullptr;
    CurlHeaders headers;

    bool open(const HttpRequest& request, const char* method, const char* contentType) {
        curl = handle();
        headers = headerList(request.header, contentType);
        if (!curl || !headers) return false;
        CURL* c = curl;
        if (kept_) {
            clearOperationOptions(c);
            resendGuard_.curl = c;
            curl_easy_setopt(c, CURLOPT_PREREQFUNCTION, &ResendGuard::beforeSend);
            curl_easy_setopt(c, CURLOPT_PREREQDATA, &resendGuard_);
        }
        curl_easy_setopt(c, CURLOPT_URL, request.url.c_str());
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
        curl_easy_setopt(c, CURLOPT_CUSTOMREQUEST, method);
        curl_easy_setopt(c, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_DIGEST));
        curl_easy_setopt(c, CURLOPT_USERPWD, request.userpwd.c_str());
        curl_easy_setopt(c, CURLOPT_TCP_KEEPALIVE, 1L);
        // Cameras speak plain HTTP. A URL a camera hands back must reach neither a local file
        // nor another protocol, and a redirect is the camera's answer, never followed.
        if (curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http") != CURLE_OK ||
            curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http") != CURLE_OK ||
            curl_easy_setopt(c, CURLOPT_DEFAULT_PROTOCOL, "http") != CURLE_OK)
            return false;
        curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
        // Time-outs must not raise signals: the SDK is called from many threads.
        curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
        return true;
    }

    int perform() { return result(curl_easy_perform(curl)); }

    // The status of the final response when the transfer succeeded, else the failure's result.
    // A transfer without any status spoke no HTTP: it fails rather than passing for 0.
    int result(CURLcode code) {
        if (code != CURLE_OK) return failure(code);
        long status = 0;
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
        if (kept_) {
            long offered = 0;
            curl_easy_getinfo(curl, CURLINFO_HTTPAUTH_AVAIL, &offered);
            kept_->authenticated = status != 401;
            kept_->challenged = status == 401 && (offered & CURLAUTH_DIGEST) != 0;
        }
        return status > 0 ? static_cast<int>(status) : failure(CURLE_UNSUPPORTED_PROTOCOL);
    }

    static int failure(CURLcode code) {
        std::printf("%s\n", curl_easy_strerror(code));
        return kTransferErrorBase + static_cast<int>(code);
    }

private:
    CURL* handle() {
        if (!kept_) {
            owned_ = newHandle();
            return owned_.get();
        }
        if (!kept_->curl) kept_->curl = newHandle();
        return kept_->curl.get();
    }

    KeptHandle* const kept_;
    CurlHandle owned_;
    ResendGuard resendGuard_;
};

// Runs one attempt of an operation; on a kept handle whose reused nonce the camera refused
// with a plain challenge (libcurl itself answers a stale one), one more with a fresh one. A
// 401 without a challenge is the camera's answer, not a refused nonce.
template <typename Attempt>
int withOneRetry(KeptHandle* kept, Attempt&& attempt) {
    const bool reusedNonce = kept && kept->authenticated;
    int result = 0;
    {
        Exchange exchange(kept);
        result = attempt(exchange);
    }
    if (!reusedNonce || result != 401 || !kept->challenged) return result;
    kept->forget();
    Exchange again(kept);
    return attempt(again);
}

// Counts a reply chunk; false (which ends the transfer) once the reply outgrows the limit.
bool withinReplyLimit(size_t& received, size_t length) {
    if (length > kMaxReplyBytes - received) return false;
    received += length;
    return true;
}

// Reply text of `post` and `get`.
struct TextSink {
    std::string* text;
    size_t received = 0;
};

size_t appendText(char* data, size_t size, size_t count, void* target) {
    auto* sink = static_cast<TextSink*>(target);
    const size_t length = size * count;
    if (!withinReplyLimit(sink->received, length)) return 0;
    try {
        sink->text->append(data, length);
    } catch (...) {
        return 0;
    }
    return length;
}

// Reply of `send`: the caller's write function with the request's body as its target.
struct ReplySink {
    WriteFunction write;
    std::string* target;
    size_t received = 0;
};

size_t forwardReply(char* data, size_t size, size_t count, void* target) {
    auto* sink = static_cast<ReplySink*>(target);
    if (!withinReplyLimit(sink->received, size * count)) return 0;
    try {
        return sink->write(data, size, count, sink->target);
    } catch (...) {
        return 0;
    }
}

// Upload of `send`: the caller's read function, with the request as its argument, asked for
// no more than the announced size still owes (libcurl asks for whole buffers).
struct UploadSource {
    ReadFunction read;
    RewindFunction rewind;
    HttpRequest* request;
    size_t size;
    size_t remaining;

    bool restart() {
        if (!rewind || !rewind(request)) return false;
        remaining = size;
        return true;
    }
};

// libcurl asks to go back to the start when it must send the body again (a refused nonce).
int seekUpload(void* source, curl_off_t offset, int origin) {
    if (offset != 0 || origin != SEEK_SET) return CURL_SEEKFUNC_CANTSEEK;
    try {
        return static_cast<UploadSource*>(source)->restart() ? CURL_SEEKFUNC_OK
                                                             : CURL_SEEKFUNC_CANTSEEK;
    } catch (...) {
        return CURL_SEEKFUNC_FAIL;
    }
}

size_t feedUpload(char* buffer, size_t size, size_t count, void* source) {
    auto* upload = static_cast<UploadSource*>(source);
    const size_t wanted = std::min(size * count, upload->remaining);
    if (wanted == 0) return 0;
    size_t given = 0;
    try {
        given = upload->read(buffer, 1, wanted, upload->request);
    } catch (...) {
        return CURL_READFUNC_ABORT;
    }
    if (given <= wanted) upload->remaining -= given;
    return given;
}

size_t appendToBody(char* data, size_t size, size_t count, void* target) {
    static_cast<std::string*>(target)->append(data, size * count);
    return size * count;
}

// The text after the first ": " up to the line's end.
std::string headerValue(const std::string& line) {
    const size_t colon = line.find(": ");
    if (colon == std::string::npos) return "";
    std::string value = line.substr(colon + 2);
    const size_t end = value.find_first_of("\r\n");
    if (end != std::string::npos) value.erase(end);
    return value;
}

// A decimal length no larger than a whole download may be; -1 otherwise.
int64_t parseLength(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return -1;
    const size_t last = text.find_last_not_of(" \t");
    int64_t value = 0;
    for (size_t i = first; i <= last; ++i) {
        if (text[i] < '0' || text[i] > '9') return -1;
        value = value * 10 + (text[i] - '0');
        if (value > kMaxDownloadBytes) return -1;
    }
    return value;
}

// A name the camera announces is appended to the caller's prefix: it must stay one plain file
// name inside the caller's folder.
bool safeFileName(const std::string& name) {
    if (name.empty() || name == "." || name.find("..") != std::string::npos) return false;
    for (unsigned char c : name)
        if (c == '/' || c == '\\' || c < 0x20 || c == 0x7F) return false;
    return true;
}

int64_t memberLength(const Json::Value& element) {
    const Json::Value& length = element["facelibLen"];
    return length.isInt() && length.asInt() >= 0 ? length.asInt() : 0;
}

std::string memberText(const Json::Value& element, const char* name) {
    const Json::Value& text = element[name];
    return text.isString() ? text.asString() : "";
}

}  // namespace

// Announced files of a download, the receive buffer, and the header parser and file writer.
struct LumenNetworkHttp::Download {
    struct Part {
        std::string path;
        int64_t length = 0;
        std::string md5;
        FileHandle file;
    };

    Download(const std::string& prefix, bool writing) : writing_(writing) {
        main_.path = prefix;
        for (Part& library : libraries_)
            library.path = prefix;
    }

    bool onHeaderLine(const std::string& line);  // false refuses the transfer
    // False once the announced total has arrived: the transfer ends there.
    bool onChunk(const char* data, size_t length);
    // False once the download has lasted longer than its size allows.
    bool withinTime();
    bool complete() const { return complete_; }
    bool overdue() const { return overdue_; }
    void publish(HttpRequest& request) const;

private:
    bool takeLibraries(const std::string& value);
    bool takeLength(const std::string& value, bool needsLibraries);
    void takeName(Part& part, const std::string& name);
    bool addToTotal(int64_t length) {
        total_ += length;
        return total_ <= kMaxDownloadBytes;
    }
    bool allocate();
    void settle(Part& part, int64_t offset);

    const bool writing_;  // download mode: files are opened and written
    Part main_;
    Part libraries_[kMaxLibraryFiles];
    int count_ = 0;
    int64_t total_ = 0;
    ByteBuffer buffer_;
    size_t bufferSize_ = 0;
    size_t received_ = 0;
    bool complete_ = false;
    bool overdue_ = false;
    const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

bool LumenNetworkHttp::Download::onHeaderLine(const std::string& line) {
    auto has = [&line](const char* name) { return line.find(name) != std::string::npos; };
    if (has("facelibs")) return takeLibraries(headerValue(line));
    if (has("warehouseLen")) return takeLength(headerValue(line), true);
    if (has("warehouseMD5")) {
        main_.md5 = headerValue(line);
    } else if (has("warehouseName")) {
        takeName(main_, headerValue(line));
    } else if (has("smartLogMD5")) {
        main_.md5 = headerValue(line);
    } else if (has("smartLogName")) {
        takeName(main_, headerValue(line));
    } else if (has("smartLogLen")) {
        return takeLength(headerValue(line), false);
    }
    return true;
}

bool LumenNetworkHttp::Download::takeLibraries(const std::string& value) {
    try {
        const Json::Value list = camlink::parseJson(value).value_or(Json::Value());
        if (!list.isArray()) return true;
        count_ = static_cast<int>(std::min<Json::ArrayIndex>(list.size(), kMaxLibraryFiles));
        for (int i = 0; i < count_; ++i) {
            const Json::Value& element = list[static_cast<Json::ArrayIndex>(i)];
            const bool usable = element.isObject();
            Part& library = libraries_[i];
            library.length = usable ? memberLength(element) : 0;
            library.md5 = usable ? memberText(element, "facelibMD5") : "";
            takeName(library, usable ? memberText(element, "facelibName") : "");
            if (writing_ && !addToTotal(library.length)) return false;
        }
    } catch (const std::exception&) {
        return true;
    }
    if (writing_ && main_.length != 0 && count_ != 0) return allocate();
    return true;
}

bool LumenNetworkHttp::Download::takeLength(const std::string& value, bool needsLibraries) {
    if (!writing_) return true;
    const int64_t length = parseLength(value);
    if (length < 0) return false;
    main_.length = length;
    if (!addToTotal(length)) return false;
    if (length != 0 && (!needsLibraries || count_ != 0)) return allocate();
    return true;
}

void LumenNetworkHttp::Download::takeName(Part& part, const std::string& name) {
    if (!safeFileName(name)) return;
    part.path += name;
    if (writing_) part.file.reset(std::fopen(part.path.c_str(), "wb"));
}

bool LumenNetworkHttp::Download::allocate() {
    const size_t size = static_cast<size_t>(total_) * 3 / 2;
    buffer_.reset(static_cast<unsigned char*>(std::calloc(size, 1)));
    bufferSize_ = buffer_ ? size : 0;
    return buffer_ != nullptr;
}

bool LumenNetworkHttp::Download::onChunk(const char* data, size_t length) {
    const size_t owed = static_cast<size_t>(total_) - std::min(received_, size_t(total_));
    const size_t taken = std::min(length, owed);
    if (received_ < bufferSize_) {
        const size_t kept = std::min(taken, bufferSize_ - received_);
        std::memcpy(buffer_.get() + received_, data, kept);
    }
    received_ += taken;
    settle(main_, 0);
    int64_t offset = main_.length;
    for (int i = 0; i < count_; ++i) {
        settle(libraries_[i], offset);
        offset += libraries_[i].length;
    }
    complete_ = static_cast<int64_t>(received_) >= total_;
    return !complete_;
}

bool LumenNetworkHttp::Download::withinTime() {
    const DownloadBounds bounds = downloadBounds();
    const int64_t allowedMs =
        bounds.floorMs + total_ * 1000 / std::max<int64_t>(bounds.bytesPerSecond, 1);
    const auto elapsed = std::chrono::steady_clock::now() - started_;
    overdue_ = elapsed > std::chrono::milliseconds(allowedMs);
    return !overdue_;
}

// Writes a part once all its bytes are in, and only when they match the announced digest.
void LumenNetworkHttp::Download::settle(Part& part, int64_t offset) {
    const int64_t end = offset + part.length;
    if (!part.file || static_cast<int64_t>(received_) < end) return;
    if (end <= static_cast<int64_t>(bufferSize_)) {
        const unsigned char* bytes = buffer_.get() + offset;
        const size_t length = static_cast<size_t>(part.length);
        std::string md5;
        getStringMd5(bytes, length, md5);
        if (md5 == part.md5 && length > 0) {
            std::fwrite(bytes, 1, length, part.file.get());
            std::fflush(part.file.get());
        }
    }
    part.file.reset();
}

void LumenNetworkHttp::Download::publish(HttpRequest& request) const {
    request.file = main_.path;
    request.count = count_;
    for (int i = 0; i < count_; ++i)
        request.files[i] = libraries_[i].path;
}

namespace {

size_t onHeader(char* data, size_t size, size_t count, void* state) {
    const size_t length = size * count;
    try {
        auto* download = static_cast<LumenNetworkHttp::Download*>(state);
        return download->onHeaderLine(std::string(data, length)) ? length : 0;
    } catch (...) {
        return 0;
    }
}

// A short count ends the transfer: also how it stops once the announced total is in.
size_t onDownloadChunk(char* data, size_t size, size_t count, void* state) {
    try {
        return static_cast<LumenNetworkHttp::Download*>(state)->onChunk(data, size * count)
                   ? size * count
                   : 0;
    } catch (...) {
        return 0;
    }
}

// libcurl calls this at least once a second, also while nothing arrives.
int onDownloadProgress(void* state, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<LumenNetworkHttp::Download*>(state)->withinTime() ? 0 : 1;
}

std::atomic<int64_t> boundFloorMs{kDownloadBounds.floorMs};
std::atomic<int64_t> boundBytesPerSecond{kDownloadBounds.bytesPerSecond};

}  // namespace

bool replayDownload(HttpRequest& request, const std::vector<std::string>& headerLines,
                    const std::vector<std::string>& chunks) {
    LumenNetworkHttp::Download download(request.file, !request.file.empty());
    bool accepted = true;
    for (const std::string& line : headerLines) {
        std::string copy = line;  // libcurl hands out writable buffers
        accepted = onHeader(copy.data(), 1, copy.size(), &download) == copy.size();
        if (!accepted) break;
    }
    for (size_t i = 0; accepted && i < chunks.size() && !download.complete(); ++i) {
        std::string copy = chunks[i];
        accepted = onDownloadChunk(copy.data(), 1, copy.size(), &download) == copy.size() ||
                   download.complete();
    }
    download.publish(request);
    return accepted;
}

DownloadBounds downloadBounds() {
    return {boundFloorMs.load(), boundBytesPerSecond.load()};
}

void setDownloadBounds(DownloadBounds bounds) {
    boundFloorMs = bounds.floorMs;
    boundBytesPerSecond = bounds.bytesPerSecond;
}

const char* methodName(int32_t index) {
    const int32_t size = static_cast<int32_t>(sizeof kMethodNames / sizeof kMethodNames[0]);
    return index >= 0 && index < size ? kMethodNames[index] : nullptr;
}

namespace {

// A download that moves no byte for this long is abandoned.
constexpr long kStalledDownloadSeconds = 30;

int getOnce(Exchange& exchange, std::unique_ptr<LumenNetworkHttp::Download>& download,
            std::string& response, HttpRequest& request) {
    const bool downloading = !request.file.empty();
    download = std::make_unique<LumenNetworkHttp::Download>(request.file, downloading);
    if (!exchange.open(request, "GET", kPngType)) return kNoTransferHandle;
    CURL* c = exchange.curl;
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, kTransferBufferBytes);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &onHeader);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, download.get());
    TextSink sink{&response};
    if (downloading) {
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &onDownloadChunk);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, download.get());
        // A camera that stalls is let go after this long, whatever its download's bound.
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, kStalledDownloadSeconds);
        // The size-dependent bound is checked by the progress callback: the announced size is
        // known only once the headers are in.
        curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
        curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &onDownloadProgress);
        curl_easy_setopt(c, CURLOPT_XFERINFODATA, download.get());
    } else {
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &appendText);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
        curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, kShortTimeoutMs);
    }
    CURLcode code = curl_easy_perform(c);
    if (downloading && download->complete() && code == CURLE_WRITE_ERROR) code = CURLE_OK;
    if (downloading && download->overdue() && code == CURLE_ABORTED_BY_CALLBACK)
        code = CURLE_OPERATION_TIMEDOUT;
    const int result = exchange.result(code);
    download->publish(request);
    download.reset();  // closes files still open, frees the receive buffer
    return result;
}

int sendOnce(Exchange& exchange, HttpRequest& request, const char* method, bool upload,
             UploadSource& source, WriteFunction write) {
    if (!exchange.open(request, method, kPngType)) return kNoTransferHandle;
    CURL* c = exchange.curl;
    if (upload) {
        // Without this libcurl asks for "100 Continue" before every uploaded body and waits a
        // round trip for it, after the digest exchange has already proved the request welcome.
        if (!appendLines(exchange.headers, "Expect:")) return kNoTransferHandle;
        curl_easy_setopt(c, CURLOPT_HTTPHEADER, exchange.headers.get());
        curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
        // A picture goes out in one piece instead of libcurl's default 64 KiB ones.
        curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, kTransferBufferBytes);
        curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(request.uploadSize));
        curl_easy_setopt(c, CURLOPT_READFUNCTION, &feedUpload);
        curl_easy_setopt(c, CURLOPT_READDATA, &source);
        if (source.rewind) {
            curl_easy_setopt(c, CURLOPT_SEEKFUNCTION, &seekUpload);
            curl_easy_setopt(c, CURLOPT_SEEKDATA, &source);
        }
    }
    // A HEAD reply announces a body it never sends.
    if (request.method == kMethodHead) curl_easy_setopt(c, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 1L);
    curl_easy_setopt(c, CURLOPT_BUFFERSIZE, kTransferBufferBytes);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, kSendTimeoutMs);
    request.header.clear();
    request.body.clear();
    ReplySink sink{write ? write : &appendToBody, &request.body};
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &forwardReply);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
    return exchange.perform();
}

}  // namespace

struct LumenNetworkHttp::Connection : KeptHandle {};

LumenNetworkHttp::LumenNetworkHttp(HandleUse use) : use_(use) {}
LumenNetworkHttp::~LumenNetworkHttp() = default;

LumenNetworkHttp::Connection* LumenNetworkHttp::keptHandle() {
    if (use_ != HandleUse::Kept) return nullptr;
    if (!connection_) connection_ = std::make_unique<Connection>();
    return connection_.get();
}

int LumenNetworkHttp::post(std::string& response, HttpRequest& request) {
    const size_t before = response.size();
    return withOneRetry(keptHandle(), [&](Exchange& exchange) {
        response.resize(before);  // a refused attempt's reply is not the answer
        download_ = std::make_unique<Download>(std::string(), false);
        if (!exchange.open(request, "POST", kJsonType)) return kNoTransferHandle;
        CURL* c = exchange.curl;
        curl_easy_setopt(c, CURLOPT_POSTFIELDS, request.body.c_str());
        curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE,
                         static_cast<curl_off_t>(request.body.size()));
        curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, kShortTimeoutMs);
        TextSink sink{&response};
        curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &appendText);
        curl_easy_setopt(c, CURLOPT_WRITEDATA, &sink);
        curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &onHeader);
        curl_easy_setopt(c, CURLOPT_HEADERDATA, download_.get());
        const int result = exchange.perform();
        download_.reset();
        return result;
    });
}

int LumenNetworkHttp::get(std::string& response, HttpRequest& request) {
    const size_t before = response.size();
    const std::string prefix = request.file;
    return withOneRetry(keptHandle(), [&](Exchange& exchange) {
        response.resize(before);
        request.file = prefix;
        return getOnce(exchange, download_, response, request);
    });
}

int LumenNetworkHttp::send(HttpRequest& request, ReadFunction read, WriteFunction write,
                           RewindFunction rewind) {
    download_.reset();
    const char* method = methodName(request.method);
    const bool upload = request.method != kMethodGet && request.count > 0;
    if (!method || (upload && (!read || request.uploadSize < 0)))
        return Exchange::failure(CURLE_BAD_FUNCTION_ARGUMENT);
    const size_t size = static_cast<size_t>(std::max(request.uploadSize, 0));
    UploadSource source{read, rewind, &request, size, size};
    const std::string header = request.header;
    bool first = true;
    return withOneRetry(keptHandle(), [&](Exchange& exchange) {
        // Another attempt starts the upload over and takes the header lines again.
        if (!first && upload && !source.restart()) return 401;
        first = false;
        request.header = header;
        return sendOnce(exchange, request, method, upload, source, write);
    });
}

int getStringMd5(const void* bytes, size_t length, std::string& out) {
    Md5 md5;
    md5.update(bytes, length);
    if (!md5.finish(out)) return 0;
    CAMLINK_LOG_AT(camlink::kLogInfo, "LumenNetwork::getStringMd5", 63) << out;
    return static_cast<int>(out.size());
}

int64_t getFileMd5(FILE* file, std::string& out) {
    if (!file) return 0;
    Md5 md5;
    char block[kFileBlockBytes];
    int64_t total = 0;
    size_t read = 0;
    while ((read = std::fread(block, 1, sizeof block, file)) > 0) {
        md5.update(block, read);
        total += static_cast<int64_t>(read);
    }
    md5.finish(out);
    return total;
}

std::string base64Encode(const void* bytes, size_t length) {
    std::unique_ptr<EVP_ENCODE_CTX, EncodeCleanup> context(EVP_ENCODE_CTX_new());
    if (!context) return "";
    EVP_EncodeInit(context.get());
    // The encoder breaks lines every 64 characters; the pieces keep its int sizes small.
    constexpr size_t kPiece = 48 * 1024;
    std::vector<unsigned char> out((kPiece / 48 + 2) * 65);
    std::string text;
    text.reserve((length + 2) / 3 * 4);
    auto keep = [&text, &out](int written) {
        for (int i = 0; i < written; ++i)
            if (out[i] != '\n') text += static_cast<char>(out[i]);
    };
    const auto* in = static_cast<const unsigned char*>(bytes);
    for (size_t done = 0; done < length;) {
        const size_t piece = std::min(kPiece, length - done);
        int written = 0;
        if (EVP_EncodeUpdate(context.get(), out.data(), &written, in + done,
                             static_cast<int>(piece)) != 1)
            return "";
        keep(written);
        done += piece;
    }
    int written = 0;
    EVP_EncodeFinal(context.get(), out.data(), &written);
    keep(written);
    return text;
}

}  // namespace LumenNetwork
