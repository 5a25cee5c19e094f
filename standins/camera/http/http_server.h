// The camera's HTTP interface: one listening address, digest authentication on every path,
// bounded request bodies, faults on demand and a journal of what arrived.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "http/digest_gate.h"
#include "http/faults.h"
#include "http/http_types.h"
#include "http/journal.h"

struct MHD_Daemon;
struct MHD_Response;

namespace camsim {

struct HttpServerSettings {
    std::string address;
    uint16_t port = 8089;
    size_t maxBodyBytes = 0;
    std::string realm = "camsim";
    std::string user;
    std::string password;
    std::string loginPath = "/digest/config";  // answers 403/423 instead of a new challenge
    // A worn-out nonce (expired, unknown, its count replayed) is challenged with stale=true;
    // false gives the plain challenge some servers send instead.
    bool staleChallenges = true;
};

// Everything a running server shares with its camera.
struct HttpServerParts {
    LoginGuard& guard;
    FaultPlan& faults;
    Journal& journal;
    Sleeper& sleeper;
    std::function<HttpResponse(const HttpRequest&)> handler;  // authenticated requests
};

class HttpServer {
public:
    HttpServer(HttpServerSettings settings, HttpServerParts parts);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    bool start(std::string* error);
    void stop();

    // Entry points of the server library's callbacks.
    struct Pending;
    int onRequest(void* connection, const char* url, const char* method, const char* uploadData,
                  size_t* uploadSize, void** state);
    static void* onRequestLine(const char* target);
    static void onCompleted(void* cls, void* connection, void** state, int reason);

private:
    int admit(void* connection, Pending& pending);
    int finish(void* connection, Pending& pending);
    // Queues `made` when given (the reply's status), else a response built from the reply.
    int respond(void* connection, Pending& pending, const HttpResponse& response,
                MHD_Response* made = nullptr);
    int challenge(void* connection, Pending& pending, bool stale);
    // The wait a steady latency fault puts before an answer that is no authenticated reply.
    void delaySteadily(const Pending& pending);
    int openListener(std::string* error);
    // What the journal keeps of a request (without its body).
    static JournalEntry entryOf(const Pending& pending, int status, bool authenticated);

    HttpServerSettings settings_;
    HttpServerParts parts_;
    DigestGate gate_;
    MHD_Daemon* daemon_ = nullptr;
};

}  // namespace camsim
