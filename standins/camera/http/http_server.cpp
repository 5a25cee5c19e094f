#include "http/http_server.h"

#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "http/overrun_stream.h"

namespace camsim {

struct HttpServer::Pending {
    std::string target;  // as the request line gave it, query included: what digests sign
    JournalEntry::Clock::time_point received = JournalEntry::Clock::now();
    std::string peer;
    bool started = false;
    HttpRequest request;
    bool tooLarge = false;
    bool answered = false;  // a response was queued before the body arrived
};

namespace {

constexpr auto kDefaultHold = std::chrono::seconds(60);
const char kTooLarge[] = "{\"code\":-1,\"msg\":\"request body too large\"}";

MHD_Result collectHeader(void* cls, MHD_ValueKind, const char* key, const char* value) {
    static_cast<HeaderList*>(cls)->emplace_back(key ? key : "", value ? value : "");
    return MHD_YES;
}

MHD_Result dispatch(void* cls, MHD_Connection* connection, const char* url, const char* method,
                    const char*, const char* uploadData, size_t* uploadSize, void** state) {
    return static_cast<MHD_Result>(static_cast<HttpServer*>(cls)->onRequest(
        connection, url, method, uploadData, uploadSize, state));
}

void* requestLine(void*, const char* uri, MHD_Connection*) {
    return HttpServer::onRequestLine(uri);
}

void completed(void* cls, MHD_Connection* connection, void** state,
               MHD_RequestTerminationCode reason) {
    HttpServer::onCompleted(cls, connection, state, static_cast<int>(reason));
}

MHD_Response* makeResponse(const HttpResponse& r) {
    MHD_Response* response = MHD_create_response_from_buffer(
        r.body.size(), const_cast<char*>(r.body.data()), MHD_RESPMEM_MUST_COPY);
    if (!response) return nullptr;
    MHD_add_response_header(response, MHD_HTTP_HEADER_CONTENT_TYPE, r.contentType.c_str());
    for (const auto& [key, value] : r.headers)
        MHD_add_response_header(response, key.c_str(), value.c_str());
    return response;
}

HttpResponse jsonStatus(int status, const std::string& body) {
    HttpResponse r;
    r.status = status;
    r.body = body;
    return r;
}

// "address:port" of the client; a kept-alive connection keeps its port.
std::string peerOf(MHD_Connection* connection) {
    const MHD_ConnectionInfo* info =
        MHD_get_connection_info(connection, MHD_CONNECTION_INFO_CLIENT_ADDRESS);
    if (!info || !info->client_addr || info->client_addr->sa_family != AF_INET) return "";
    const auto* in = reinterpret_cast<const sockaddr_in*>(info->client_addr);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(in->sin_port));
}

size_t declaredLength(MHD_Connection* connection) {
    const char* value =
        MHD_lookup_connection_value(connection, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
    return value ? std::strtoull(value, nullptr, 10) : 0;
}


}  // namespace

HttpServer::HttpServer(HttpServerSettings settings, HttpServerParts parts)
    : settings_(std::move(settings)),
      parts_(std::move(parts)),
      gate_(DigestSettings{settings_.realm, settings_.user, settings_.password}) {}

HttpServer::~HttpServer() {
    stop();
}

int HttpServer::openListener(std::string* error) {
    auto fail = [&](const char* what) {
        int saved = errno;
        if (error)
            *error = std::string("cannot ") + what + " " + settings_.address + ":" +
                     std::to_string(settings_.port) + ": " + std::strerror(saved);
        return -1;
    };
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(settings_.port);
    if (inet_pton(AF_INET, settings_.address.c_str(), &addr.sin_addr) != 1) {
        errno = EINVAL;
        return fail("use address");
    }
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return fail("open a socket for");
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    if (bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || listen(fd, 256) != 0) {
        int result = fail("bind");
        close(fd);
        return result;
    }
    return fd;
}

bool HttpServer::start(std::string* error) {
    if (daemon_) return true;
    int fd = openListener(error);
    if (fd < 0) return false;
    daemon_ = MHD_start_daemon(
        MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_POLL, 0, nullptr,
        nullptr, &dispatch, this, MHD_OPTION_LISTEN_SOCKET, fd, MHD_OPTION_NOTIFY_COMPLETED,
        &completed, this, MHD_OPTION_CONNECTION_TIMEOUT, 30u, MHD_OPTION_CONNECTION_LIMIT, 256u,
        MHD_OPTION_URI_LOG_CALLBACK, &requestLine, nullptr, MHD_OPTION_END);
    if (!daemon_) {
        close(fd);
        if (error) *error = "cannot start the HTTP service on " + settings_.address;
        return false;
    }
    return true;
}

void HttpServer::stop() {
    if (!daemon_) return;
    MHD_stop_daemon(daemon_);
    daemon_ = nullptr;
}

int HttpServer::onRequest(void* connection, const char* url, const char* method,
                          const char* uploadData, size_t* uploadSize, void** state) {
    auto* c = static_cast<MHD_Connection*>(connection);
    if (!*state) *state = onRequestLine(url);
    Pending& pending = *static_cast<Pending*>(*state);
    if (!pending.started) {
        pending.started = true;
        pending.request.method = method;
        pending.request.path = url;
        pending.peer = peerOf(c);
        MHD_get_connection_values(c, MHD_HEADER_KIND, &collectHeader, &pending.request.headers);
        return admit(connection, pending);
    }
    if (pending.answered) {
        *uploadSize = 0;  // the answer is out; the rest of the body is not wanted
        return MHD_YES;
    }
    if (*uploadSize > 0) {
        std::string& body = pending.request.body;
        if (pending.tooLarge || body.size() + *uploadSize > settings_.maxBodyBytes) {
            pending.tooLarge = true;
            body.clear();
            body.shrink_to_fit();
        } else {
            body.append(uploadData, *uploadSize);
        }
        *uploadSize = 0;
        return MHD_YES;
    }
    return finish(connection, pending);
}

// Authentication and size checks happen before any body is read.
int HttpServer::admit(void* connection, Pending& pending) {
    auto* c = static_cast<MHD_Connection*>(connection);
    const HttpRequest& r = pending.request;
    DigestOutcome outcome = gate_.check(r.method, pending.target, r.header("Authorization"));
    const bool loginPath = r.path == settings_.loginPath;
    if (outcome == DigestOutcome::Missing || outcome == DigestOutcome::Stale ||
        (outcome == DigestOutcome::Wrong && !loginPath))
        return challenge(connection, pending,
                         outcome == DigestOutcome::Stale && settings_.staleChallenges);
    if (loginPath) {
        LoginGuard::Verdict verdict = parts_.guard.attempt(outcome == DigestOutcome::Right);
        if (verdict.status != 200) {
            delaySteadily(pending);
            parts_.journal.record(entryOf(pending, verdict.status, false));
            return respond(connection, pending, jsonStatus(verdict.status, verdict.body));
        }
    }
    if (declaredLength(c) > settings_.maxBodyBytes) {
        parts_.journal.record(entryOf(pending, 413, true));
        return respond(connection, pending, jsonStatus(413, kTooLarge));
    }
    return MHD_YES;
}

int HttpServer::finish(void* connection, Pending& pending) {
    JournalEntry entry = entryOf(pending, 0, true);
    entry.body = pending.request.body;
    if (pending.tooLarge) {
        entry.status = 413;
        parts_.journal.record(entry);
        return respond(connection, pending, jsonStatus(413, kTooLarge));
    }
    std::optional<HttpFault> fault = parts_.faults.take(pending.request.path);
    if (fault && fault->kind == FaultKind::Latency)
        parts_.sleeper.sleepFor(std::chrono::milliseconds(fault->value));
    if (fault && (fault->kind == FaultKind::NoAnswer || fault->kind == FaultKind::Drop)) {
        parts_.journal.record(entry);
        if (fault->kind == FaultKind::NoAnswer)
            parts_.sleeper.sleepFor(fault->value > 0 ? std::chrono::milliseconds(fault->value)
                                                     : kDefaultHold);
        return MHD_NO;
    }
    HttpResponse response;
    if (fault && fault->kind == FaultKind::Status) {
        response = jsonStatus(fault->value, "{\"code\":-1,\"msg\":\"forced status\"}");
    } else {
        response = parts_.handler(pending.request);
        if (fault && fault->kind == FaultKind::Malformed)
            response.body = "{\"code\":0,\"msg\":<html>";
        if (fault && fault->kind == FaultKind::Truncated)
            response.body.resize(response.body.size() / 2);
    }
    entry.status = response.status;
    parts_.journal.record(std::move(entry));
    if (fault && fault->kind == FaultKind::Overrun)
        return respond(connection, pending, response,
                       makeOverrunResponse(response, fault->value, parts_.sleeper));
    return respond(connection, pending, response);
}

int HttpServer::respond(void* connection, Pending& pending, const HttpResponse& r,
                        MHD_Response* made) {
    auto* c = static_cast<MHD_Connection*>(connection);
    MHD_Response* response = made ? made : makeResponse(r);
    if (!response) return MHD_NO;
    MHD_Result queued = MHD_queue_response(c, static_cast<unsigned>(r.status), response);
    MHD_destroy_response(response);
    pending.answered = true;
    return queued;
}

int HttpServer::challenge(void* connection, Pending& pending, bool stale) {
    const std::string offer = gate_.challenge(stale);
    if (offer.empty()) return MHD_NO;  // no nonce without random bytes
    HttpResponse r = jsonStatus(401, "{\"code\":-1,\"msg\":\"unauthorized\"}");
    r.headers.emplace_back(MHD_HTTP_HEADER_WWW_AUTHENTICATE, offer);
    delaySteadily(pending);
    parts_.journal.record(entryOf(pending, 401, false));
    return respond(connection, pending, r);
}

void HttpServer::delaySteadily(const Pending& pending) {
    const int ms = parts_.faults.steadyLatencyMs(pending.request.path);
    if (ms > 0) parts_.sleeper.sleepFor(std::chrono::milliseconds(ms));
}

JournalEntry HttpServer::entryOf(const Pending& pending, int status, bool authenticated) {
    JournalEntry entry;
    entry.method = pending.request.method;
    entry.path = pending.request.path;
    entry.headers = pending.request.headers;
    entry.status = status;
    entry.authenticated = authenticated;
    entry.peer = pending.peer;
    entry.received = pending.received;
    return entry;
}

void* HttpServer::onRequestLine(const char* target) {
    auto* pending = new Pending;
    pending->target = target ? target : "";
    return pending;
}

void HttpServer::onCompleted(void*, void*, void** state, int) {
    delete static_cast<Pending*>(*state);
    *state = nullptr;
}

}  // namespace camsim
