// The camsim command run as a child process and spoken to over loopback: its arguments, its
// ready line, its signals, its state directory, its configuration file and its faults.
#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "support/camera_fixture.h"
#include "support/http_client.h"
#include "util/crypto.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;
using testsupport::HttpClient;

constexpr auto kStartWithin = 10s;
constexpr auto kExitWithin = 5s;
const std::string kListLibraries = "/api/v1/recognize/list_fdlib";

// A child process whose standard output and error come back through pipes.
class Child {
public:
    enum Stream { kOut = 0, kErr = 1 };

    explicit Child(const std::vector<std::string>& argv) { spawn(argv); }
    ~Child();
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    void signal(int sig) {
        if (pid_ > 0 && !status_) ::kill(pid_, sig);
    }
    // The next whole line of a stream; nullopt at its end or when none comes in time.
    std::optional<std::string> readLine(Stream stream, Clock::duration within);
    // Reads both streams to their end and reaps the child: its exit code (128 + signal when
    // killed), or nullopt when it is still running after `within`.
    std::optional<int> waitExit(Clock::duration within);
    const std::string& text(Stream stream) const { return streams_[stream].text; }

private:
    struct Pipe {
        int fd = -1;
        std::string text;
        size_t consumed = 0;  // bytes of `text` already handed out as lines
    };
    void spawn(const std::vector<std::string>& argv);
    bool pump(Clock::time_point deadline);
    bool reap(Clock::time_point deadline);

    pid_t pid_ = -1;
    std::optional<int> status_;
    Pipe streams_[2];
};

void Child::spawn(const std::vector<std::string>& argv) {
    int out[2], err[2];
    // Close-on-exec, so other children (curl) never hold these pipes open.
    if (pipe2(out, O_CLOEXEC) != 0) return;
    if (pipe2(err, O_CLOEXEC) != 0) {
        close(out[0]);
        close(out[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err[1], 2);
    std::vector<char*> args;
    for (const auto& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    close(err[1]);
    streams_[kOut].fd = out[0];
    streams_[kErr].fd = err[0];
}

Child::~Child() {
    if (pid_ > 0 && !status_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    for (auto& stream : streams_)
        if (stream.fd >= 0) close(stream.fd);
}

// Takes in what arrives on the open pipes before the deadline; false when both are closed
// or nothing came in time.
bool Child::pump(Clock::time_point deadline) {
    pollfd fds[2];
    Pipe* owners[2];
    int n = 0;
    for (auto& stream : streams_) {
        if (stream.fd < 0) continue;
        fds[n] = {stream.fd, POLLIN, 0};
        owners[n++] = &stream;
    }
    if (n == 0) return false;
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    int ready = ::poll(fds, n, static_cast<int>(std::max<int64_t>(left.count(), 0)));
    if (ready < 0) return errno == EINTR;
    if (ready == 0) return false;
    for (int i = 0; i < n; ++i) {
        if (!fds[i].revents) continue;
        char buf[4096];
        ssize_t got = ::read(fds[i].fd, buf, sizeof buf);
        if (got > 0) {
            owners[i]->text.append(buf, static_cast<size_t>(got));
        } else {
            close(fds[i].fd);
            owners[i]->fd = -1;
        }
    }
    return true;
}

std::optional<std::string> Child::readLine(Stream stream, Clock::duration within) {
    const auto deadline = Clock::now() + within;
    Pipe& pipe = streams_[stream];
    for (;;) {
        size_t end = pipe.text.find('\n', pipe.consumed);
        if (end != std::string::npos) {
            std::string line = pipe.text.substr(pipe.consumed, end - pipe.consumed);
            pipe.consumed = end + 1;
            return line;
        }
        if (pipe.fd < 0 || !pump(deadline)) return std::nullopt;
    }
}

std::optional<int> Child::waitExit(Clock::duration within) {
    const auto deadline = Clock::now() + within;
    while (streams_[kOut].fd >= 0 || streams_[kErr].fd >= 0)
        if (!pump(deadline)) return std::nullopt;
    if (!reap(deadline)) return std::nullopt;
    return status_;
}

// Both pipes are at their end, so the exit is at most moments away.
bool Child::reap(Clock::time_point deadline) {
    while (pid_ > 0 && !status_) {
        int raw = 0;
        pid_t done = ::waitpid(pid_, &raw, WNOHANG);
        if (done == pid_) {
            status_ = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
        } else if (done < 0 || Clock::now() >= deadline) {
            return false;
        } else {
            std::this_thread::sleep_for(2ms);
        }
    }
    return status_.has_value();
}

std::unique_ptr<Child> runCamsim(std::vector<std::string> args) {
    args.insert(args.begin(), CAMSIM_BINARY);
    return std::make_unique<Child>(args);
}

::testing::AssertionResult becomesReady(Child& camsim) {
    auto line = camsim.readLine(Child::kOut, kStartWithin);
    if (line && line->rfind("ready: ", 0) == 0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "no ready line; stdout: " << camsim.text(Child::kOut)
                                         << " stderr: " << camsim.text(Child::kErr);
}

::testing::AssertionResult stopsCleanly(Child& camsim, int sig, const std::string& name) {
    camsim.signal(sig);
    auto code = camsim.waitExit(kExitWithin);
    if (!code) return ::testing::AssertionFailure() << "still running after " << name;
    if (*code != 0) return ::testing::AssertionFailure() << "exit " << *code << " on " << name;
    if (camsim.text(Child::kOut).find("stopping on " + name + "\n") == std::string::npos)
        return ::testing::AssertionFailure() << "stdout: " << camsim.text(Child::kOut);
    return ::testing::AssertionSuccess();
}

struct CurlOutcome {
    std::optional<int> exit;
    std::string body;
    std::string status;
};

// One GET by the curl command line with digest authentication.
CurlOutcome curlGet(const std::string& credentials, const std::string& url) {
    Child curl({"curl", "-sS", "--max-time", "10", "--digest", "-u", credentials, "-w",
                "\n%{http_code}", url});
    CurlOutcome outcome;
    outcome.exit = curl.waitExit(15s);
    const std::string& out = curl.text(Child::kOut);
    size_t cut = out.rfind('\n');
    if (cut != std::string::npos) {
        outcome.body = out.substr(0, cut);
        outcome.status = out.substr(cut + 1);
    }
    return outcome;
}

class Socket {
public:
    // Connected to address:port, or invalid.
    Socket(const std::string& address, uint16_t port) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) return;
        fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ >= 0 && ::connect(fd_, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~Socket() {
        if (fd_ >= 0) close(fd_);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    bool connected() const { return fd_ >= 0; }

    // Sends `request` and gathers up to `size` bytes of reply within three seconds.
    std::string exchange(const std::string& request, size_t size) {
        std::string reply;
        if (::send(fd_, request.data(), request.size(), MSG_NOSIGNAL) != ssize_t(request.size()))
            return reply;
        const auto deadline = Clock::now() + 3s;
        pollfd p{fd_, POLLIN, 0};
        while (reply.size() < size && Clock::now() < deadline && ::poll(&p, 1, 100) >= 0) {
            if (!p.revents) continue;
            char buf[256];
            ssize_t got = ::recv(fd_, buf, std::min(sizeof buf, size - reply.size()), 0);
            if (got <= 0) break;
            reply.append(buf, static_cast<size_t>(got));
        }
        return reply;
    }

private:
    int fd_ = -1;
};

// The serial number the binary channel on port 80 answers a handshake with (8 bytes, most
// significant first); empty when there is no answer.
std::string handshakeSerial(const std::string& address) {
    Socket channel(address, 80);
    if (!channel.connected()) return "";
    std::string header(32, '\0');
    header[2] = header[3] = header[4] = header[5] = '\x01';
    header.replace(8, 4, "\xFF\xFF\xFF\xFF");
    std::string reply = channel.exchange(header, 40);
    return reply.size() == 40 ? reply.substr(32, 8) : "";
}

testsupport::Reply addPicture(const HttpClient& client, const std::string& libid,
                              const std::string& name, const std::string& jpeg) {
    return client.upload("/api/v1/recognize/fdlib/add_img", jpeg,
                         {"name:" + camsim::base64Encode(name), "md5:" + camsim::md5HexUpper(jpeg),
                          "libid:" + libid});
}

Json::Value picturesOf(const HttpClient& client, const std::string& libid) {
    Json::Value query;
    query["libid"] = libid;
    query["page_num"] = 1;
    query["page_size"] = 10;
    return client.postJson("/api/v1/recognize/fdlib/list_img", query).json()["data"]["record"];
}

class TempDir {
public:
    TempDir() {
        char name[] = "/tmp/camsim_command_XXXXXX";
        if (mkdtemp(name)) path_ = name;
    }
    ~TempDir() {
        std::error_code ignored;
        if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

TEST(CamsimArguments, HelpPrintsUsageAndExitsZero) {
    auto camsim = runCamsim({"--help"});
    EXPECT_EQ(camsim->waitExit(kExitWithin), 0);
    EXPECT_EQ(camsim->text(Child::kOut).rfind("usage: camsim", 0), 0u);
    EXPECT_NE(camsim->text(Child::kOut).find("--state DIR"), std::string::npos);
    EXPECT_EQ(camsim->text(Child::kOut).find("ready:"), std::string::npos);
}

TEST(CamsimArguments, UnknownOptionExitsOneNamingIt) {
    auto camsim = runCamsim({"--first", "127.0.60.2", "--colour", "blue"});
    EXPECT_EQ(camsim->waitExit(kExitWithin), 1);
    EXPECT_EQ(camsim->text(Child::kErr).rfind("camsim: unknown option --colour\n", 0), 0u)
        << camsim->text(Child::kErr);
    EXPECT_EQ(camsim->text(Child::kOut), "");
}

TEST(CamsimCommand, ReadyLineListsEveryAddressAndEachListens) {
    auto camsim = runCamsim({"--cameras", "3", "--first", "127.0.60.10"});
    EXPECT_EQ(camsim->readLine(Child::kOut, kStartWithin),
              "ready: 3 cameras on 127.0.60.10 127.0.60.11 127.0.60.12 (HTTP 8089, binary 80)")
        << camsim->text(Child::kErr);
    for (const char* address : {"127.0.60.10", "127.0.60.11", "127.0.60.12"}) {
        EXPECT_TRUE(Socket(address, 8089).connected()) << address;
        EXPECT_TRUE(Socket(address, 80).connected()) << address;
    }
    EXPECT_FALSE(Socket("127.0.60.13", 8089).connected());
    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
}

TEST(CamsimCommand, CurlDigestGetsInOnlyWithTheRightPassword) {
    auto camsim = runCamsim({"--cameras", "1", "--first", "127.0.60.20", "--user", "keeper",
                             "--password", "pa55:word"});
    ASSERT_TRUE(becomesReady(*camsim));
    const std::string url = "http://127.0.60.20:8089" + kListLibraries;

    CurlOutcome right = curlGet("keeper:pa55:word", url);
    EXPECT_EQ(right.exit, 0);
    EXPECT_EQ(right.status, "200");
    EXPECT_EQ(right.body, R"({"code":0,"data":[],"msg":"success"})");

    CurlOutcome wrong = curlGet("keeper:password", url);
    EXPECT_EQ(wrong.exit, 0);
    EXPECT_EQ(wrong.status, "401");
    EXPECT_EQ(curlGet("admin:pa55:word", url).status, "401");
}

// A request held open by a fault must not delay the stop.
TEST(CamsimCommand, SigtermStopsPromptlyWhileARequestIsHeld) {
    auto camsim = runCamsim(
        {"--cameras", "1", "--first", "127.0.60.25", "--fault", "noanswer@" + kListLibraries});
    ASSERT_TRUE(becomesReady(*camsim));
    Child curl({"curl", "-v", "-s", "--max-time", "30", "--digest", "-u", "admin:admin",
                "http://127.0.60.25:8089" + kListLibraries});
    bool authorizedSent = false;
    while (!authorizedSent) {
        auto line = curl.readLine(Child::kErr, 5s);
        if (!line) break;
        authorizedSent = line->find("Authorization: Digest") != std::string::npos;
    }
    ASSERT_TRUE(authorizedSent) << curl.text(Child::kErr);
    Socket idle("127.0.60.25", 80);
    EXPECT_TRUE(idle.connected());

    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
    EXPECT_TRUE(curl.waitExit(kExitWithin).has_value()) << "the held request was never closed";
}

TEST(CamsimCommand, SecondCommandOnTheSameAddressExitsTwoNamingIt) {
    auto first = runCamsim({"--cameras", "1", "--first", "127.0.60.30"});
    ASSERT_TRUE(becomesReady(*first));
    auto second = runCamsim({"--cameras", "2", "--first", "127.0.60.29"});
    EXPECT_EQ(second->waitExit(kStartWithin), 2);
    const std::string& err = second->text(Child::kErr);
    EXPECT_EQ(err.rfind("camsim: 127.0.60.30: cannot bind", 0), 0u) << err;
    EXPECT_EQ(second->text(Child::kOut).find("ready:"), std::string::npos);
    // The failed start left the running command undisturbed.
    EXPECT_EQ(HttpClient("127.0.60.30", "admin", "admin").get(kListLibraries).status, 200);
    EXPECT_TRUE(stopsCleanly(*first, SIGINT, "SIGINT"));
}

TEST(CamsimCommand, StateDirectoryKeepsLibraryAndPictureAcrossRestart) {
    TempDir state;
    ASSERT_FALSE(state.path().empty());
    const std::vector<std::string> args = {"--cameras",   "1",       "--first",
                                           "127.0.60.40", "--state", state.path()};
    const HttpClient client("127.0.60.40", "admin", "admin");
    const std::string jpeg = testsupport::makeJpeg(320, 240, std::string(200, '\x3C'));
    std::string libid;
    {
        auto camsim = runCamsim(args);
        ASSERT_TRUE(becomesReady(*camsim));
        Json::Value library;
        library["name"] = "staff";
        library["threshold"] = 75;
        Json::Value created = client.postJson("/api/v1/recognize/add_fdlib", library).json();
        ASSERT_EQ(created["code"], 0) << created;
        libid = created["data"]["libid"].asString();
        Json::Value added = addPicture(client, libid, "alice.jpg", jpeg).json();
        ASSERT_EQ(added["code"], 0) << added;
        ASSERT_TRUE(stopsCleanly(*camsim, SIGINT, "SIGINT"));
    }
    auto camsim = runCamsim(args);
    ASSERT_TRUE(becomesReady(*camsim));
    Json::Value libraries = client.get(kListLibraries).json()["data"];
    ASSERT_EQ(libraries.size(), 1u) << libraries;
    EXPECT_EQ(libraries[0]["libid"], libid);
    EXPECT_EQ(libraries[0]["name"], "staff");
    EXPECT_EQ(libraries[0]["threshold"], 75);
    EXPECT_EQ(libraries[0]["imgnum"], 1);
    Json::Value pictures = picturesOf(client, libid);
    ASSERT_EQ(pictures.size(), 1u) << pictures;
    EXPECT_EQ(pictures[0]["name"], "alice.jpg");
    testsupport::Reply served = client.getUrl(pictures[0]["url"].asString());
    EXPECT_EQ(served.status, 200);
    EXPECT_TRUE(served.body == jpeg) << "served picture differs from the upload";
    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
}

// The names in a state folder's images/ directory, sorted.
std::vector<std::string> filesIn(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CamsimCommand, StateDirectoryDropsPicturesOfDeletedImages) {
    TempDir state;
    ASSERT_FALSE(state.path().empty());
    const std::vector<std::string> args = {"--cameras",   "1",       "--first",
                                           "127.0.60.41", "--state", state.path()};
    const std::string images = state.path() + "/127.0.60.41/images";
    const HttpClient client("127.0.60.41", "admin", "admin");
    const std::string bob = testsupport::makeJpeg(320, 240, std::string(100, '\x2B'));
    std::string libid, aliceId, bobId;
    {
        auto camsim = runCamsim(args);
        ASSERT_TRUE(becomesReady(*camsim));
        Json::Value library;
        library["name"] = "staff";
        library["threshold"] = 75;
        libid = client.postJson("/api/v1/recognize/add_fdlib", library)
                    .json()["data"]["libid"]
                    .asString();
        ASSERT_FALSE(libid.empty());
        aliceId = addPicture(client, libid, "alice.jpg", testsupport::makeJpeg(320, 240))
                      .json()["data"]["imgid"]
                      .asString();
        bobId = addPicture(client, libid, "bob.jpg", bob).json()["data"]["imgid"].asString();
        ASSERT_FALSE(aliceId.empty() || bobId.empty());
        ASSERT_TRUE(stopsCleanly(*camsim, SIGINT, "SIGINT"));
    }
    ASSERT_EQ(filesIn(images), (std::vector<std::string>{aliceId + ".jpg", bobId + ".jpg"}));
    // Left over from some older run: a picture no library names, and files camsim never writes.
    for (const char* name : {"999.jpg", "notes.jpg", "1.jpg.tmp"})
        std::ofstream(images + "/" + name) << "x";
    {
        auto camsim = runCamsim(args);
        ASSERT_TRUE(becomesReady(*camsim));
        Json::Value gone;
        gone["libid"] = libid;
        gone["imgid"] = static_cast<Json::Int64>(std::stoll(aliceId));
        Json::Value deleted = client.postJson("/api/v1/recognize/fdlib/del_img", gone).json();
        ASSERT_EQ(deleted["code"], 0) << deleted;
        ASSERT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
    }
    EXPECT_EQ(filesIn(images),
              (std::vector<std::string>{"1.jpg.tmp", bobId + ".jpg", "notes.jpg"}));
    auto camsim = runCamsim(args);
    ASSERT_TRUE(becomesReady(*camsim));
    Json::Value pictures = picturesOf(client, libid);
    ASSERT_EQ(pictures.size(), 1u) << pictures;
    EXPECT_EQ(pictures[0]["name"], "bob.jpg");
    EXPECT_TRUE(client.getUrl(pictures[0]["url"].asString()).body == bob);
    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
}

TEST(CamsimCommand, ConfigFileSetsCredentialsSerialAndPreloadedLibrary) {
    TempDir dir;
    ASSERT_FALSE(dir.path().empty());
    const std::string jpeg = testsupport::makeJpeg(400, 300, std::string(300, '\x5A'));
    std::ofstream(dir.path() + "/face.jpg", std::ios::binary) << jpeg;
    std::ofstream(dir.path() + "/cameras.json")
        << R"({"cameras":[{"address":"127.0.60.50","user":"operator","password":"s3cret!",)"
        << R"("serial":"0123456789ABCDEF","firmware":"QX-TEST-V9",)"
        << R"("libraries":[{"name":"vip","threshold":90,"images":[{"path":")" << dir.path()
        << R"(/face.jpg","name":"boss.jpg","uid":"u-17"}]}]}]})";
    auto camsim = runCamsim({"--config", dir.path() + "/cameras.json"});
    EXPECT_EQ(camsim->readLine(Child::kOut, kStartWithin),
              "ready: 1 camera on 127.0.60.50 (HTTP 8089, binary 80)")
        << camsim->text(Child::kErr);

    EXPECT_EQ(HttpClient("127.0.60.50", "admin", "admin").get(kListLibraries).status, 401);
    const HttpClient client("127.0.60.50", "operator", "s3cret!");
    Json::Value libraries = client.get(kListLibraries).json()["data"];
    ASSERT_EQ(libraries.size(), 1u) << libraries;
    EXPECT_EQ(libraries[0]["name"], "vip");
    EXPECT_EQ(libraries[0]["threshold"], 90);
    Json::Value pictures = picturesOf(client, libraries[0]["libid"].asString());
    ASSERT_EQ(pictures.size(), 1u) << pictures;
    EXPECT_EQ(pictures[0]["name"], "boss.jpg");
    EXPECT_EQ(pictures[0]["uid"], "u-17");
    EXPECT_TRUE(client.getUrl(pictures[0]["url"].asString()).body == jpeg);
    EXPECT_EQ(handshakeSerial("127.0.60.50"), "\x01\x23\x45\x67\x89\xAB\xCD\xEF");
    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
}

TEST(CamsimCommand, FiftyCamerasInOneProcessAllAnswer) {
    auto camsim = runCamsim({"--cameras", "50", "--first", "127.0.61.2"});
    auto ready = camsim->readLine(Child::kOut, kStartWithin);
    ASSERT_TRUE(ready) << camsim->text(Child::kErr);
    EXPECT_EQ(ready->rfind("ready: 50 cameras on 127.0.61.2 127.0.61.3 ", 0), 0u) << *ready;
    EXPECT_NE(ready->find(" 127.0.61.51 (HTTP 8089, binary 80)"), std::string::npos) << *ready;
    std::string silent;
    for (int host = 2; host <= 51; ++host) {
        const std::string address = "127.0.61." + std::to_string(host);
        testsupport::Reply reply = HttpClient(address, "admin", "admin").get(kListLibraries);
        if (reply.status != 200 || reply.json()["code"] != 0) silent += " " + address;
    }
    EXPECT_EQ(silent, "") << "these did not answer";
    EXPECT_TRUE(stopsCleanly(*camsim, SIGTERM, "SIGTERM"));
}

TEST(CamsimCommand, StatusFaultAnswersOnceThenNormally) {
    auto camsim = runCamsim({"--cameras", "1", "--first", "127.0.60.60", "--fault",
                             "status:503@" + kListLibraries + "#1"});
    ASSERT_TRUE(becomesReady(*camsim));
    const HttpClient client("127.0.60.60", "admin", "admin");
    EXPECT_EQ(client.get(kListLibraries).status, 503);
    testsupport::Reply after = client.get(kListLibraries);
    EXPECT_EQ(after.status, 200);
    EXPECT_EQ(after.json()["code"], 0) << after.body;
    EXPECT_EQ(client.get(kListLibraries).status, 200);
}

}  // namespace
