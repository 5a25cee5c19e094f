// Every HTTP exchange of the SDK with a camera: one LumenNetworkHttp per request, made on the
// caller's stack, one operation, destroyed; or, for sessions that run side by side, one per
// session that keeps its connection and digest state between requests. The only code that
// touches libcurl.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace LumenNetwork {

constexpr int kMaxLibraryFiles = 16;

struct HttpRequest {
    std::string url;      // full URL, e.g. "127.0.0.2:8089/common/config" (no scheme)
    std::string userpwd;  // "user:password" for digest authentication
    std::string file;     // get, download mode: path prefix; afterwards the main file's path
    int32_t count = 0;    // send: > 0 enables a streamed upload; get: number of library files
    std::string files[kMaxLibraryFiles];  // get, download mode: library file paths afterwards
    int32_t uploadSize = 0;               // send: byte length of the streamed upload
    std::string body;    // post: JSON body; send: cleared, then receives the response
    std::string header;  // extra header lines ("\r\n" between lines) when non-empty
    int32_t method = 2;  // send: index into the method-name table
};

// "OPTIONS", "HEAD", "GET", "POST", "PUT", "DELETE", "TRACE", "CONNECT"; nullptr outside 0..7.
const char* methodName(int32_t index);

// Result of an operation: the HTTP status of the final response; 10000 + n when the transfer
// failed with libcurl's error n (its text is printed on standard output); 1 when no transfer
// handle could be made. A reply body above 64 MiB, a download announcing more than 1 GiB in
// all or a length that is not a decimal number ends as 10000 + CURLE_WRITE_ERROR (10023);
// announced file names that are not one plain name (separators, ".", "..", control characters,
// empty) are never opened. Only plain HTTP is spoken: a URL of another scheme ends as
// 10000 + CURLE_UNSUPPORTED_PROTOCOL (10001), and a redirect is returned as its status.
constexpr int kTransferErrorBase = 10000;
constexpr int kNoTransferHandle = 1;

// Download mode ends once the announced total has arrived, and a whole download lasts at most
// `floorMs` plus one second per `bytesPerSecond` announced bytes: a camera that keeps sending,
// or sends too slowly, ends as 10000 + CURLE_OPERATION_TIMEDOUT (10028).
struct DownloadBounds {
    int64_t floorMs;
    int64_t bytesPerSecond;
};
constexpr DownloadBounds kDownloadBounds{30000, 256 * 1024};
// The bounds in force; tests shorten them.
DownloadBounds downloadBounds();
void setDownloadBounds(DownloadBounds bounds);

// Upload data source of `send`: fills at most `size` bytes, returns how many (0 at the end).
using ReadFunction = size_t (*)(char* buffer, size_t size, size_t count, void* request);
// Starts the upload source over from its first byte; false when it cannot. An upload sent with
// a worn-out nonce is sent again after the new challenge.
using RewindFunction = bool (*)(void* request);
// Response sink of `send`: receives the body with the request's `body` string as `target`.
using WriteFunction = size_t (*)(char* data, size_t size, size_t count, void* target);

class LumenNetworkCommon {
public:
    virtual ~LumenNetworkCommon() = default;
    virtual int post(std::string& response, HttpRequest& request) = 0;
    virtual int get(std::string& response, HttpRequest& request) = 0;
};

// PerRequest: a fresh handle for each operation, nothing kept. Kept: the handle lives from the
// first operation to the object's end, so the connection stays open (keep-alive) and the
// camera's nonce is reused with a growing count: one round trip per request. A reused nonce
// the camera refuses gets exactly one more attempt with the fresh challenge.
enum class HandleUse { PerRequest, Kept };

class LumenNetworkHttp : public LumenNetworkCommon {
public:
    explicit LumenNetworkHttp(HandleUse use = HandleUse::PerRequest);
    ~LumenNetworkHttp() override;
    LumenNetworkHttp(const LumenNetworkHttp&) = delete;
    LumenNetworkHttp& operator=(const LumenNetworkHttp&) = delete;

    // POST of request.body (JSON), 2000 ms.
    int post(std::string& response, HttpRequest& request) override;
    // GET into `response` (2000 ms), or, when request.file is set, into the files announced by
    // the response headers (download mode, no time-out).
    int get(std::string& response, HttpRequest& request) override;
    // Method from the table, optional streamed upload, 20000 ms; the response goes to `write`
    // with request.body as its target. `read` is asked for uploadSize bytes in all, never more.
    // A method outside the table, or an upload without `read` or with a negative size, gives
    // 10000 + CURLE_BAD_FUNCTION_ARGUMENT without an exchange.
    // `rewind`, when given, lets a kept handle send an upload again after a refused nonce.
    int send(HttpRequest& request, ReadFunction read, WriteFunction write,
             RewindFunction rewind = nullptr);

    struct Download;    // state of download mode
    struct Connection;  // the kept handle

private:
    Connection* keptHandle();  // null for PerRequest

    std::unique_ptr<Download> download_;
    std::unique_ptr<Connection> connection_;  // Kept only
    const HandleUse use_;
};

// Download mode fed from memory instead of a transfer: the header lines, then the body chunks,
// go to the handlers `get` gives libcurl, stopping where a refusal would end the transfer;
// afterwards the request names the files as after `get`. False when the transfer was refused.
bool replayDownload(HttpRequest& request, const std::vector<std::string>& headerLines,
                    const std::vector<std::string>& chunks);

// MD5 of the bytes as 32 upper-case hexadecimal digits into `out`; returns its length.
int getStringMd5(const void* bytes, size_t length, std::string& out);
// MD5 of the file from its current position to its end (1024-byte blocks) into `out`; returns
// the number of bytes read; a null file gives 0 and leaves `out` unchanged.
int64_t getFileMd5(FILE* file, std::string& out);
// Standard Base64 with padding, no line breaks.
std::string base64Encode(const void* bytes, size_t length);

}  // namespace LumenNetwork
