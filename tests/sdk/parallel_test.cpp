// Sessions side by side: what the cameras' journals show of the order of calls, of the kept
// connection and of the digest state, in both session modes.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "camlink.h"
#include "core/session_mode.h"
#include "support/camera_fixture.h"
#include "support/temp_dir.h"

namespace {

using camlink::SessionMode;
using camsim::JournalEntry;

const char kListPath[] = "/api/v1/recognize/list_fdlib";

template <size_t N>
void put(char (&field)[N], const std::string& text) {
    ASSERT_LT(text.size(), N) << text;
    std::memcpy(field, text.c_str(), text.size() + 1);
}

// "nonce" or "nc" of a Digest Authorization header; empty when absent.
std::string digestMember(const std::string& authorization, const std::string& name) {
    const std::string key = name + "=";
    for (size_t at = authorization.find(key); at != std::string::npos;
         at = authorization.find(key, at + 1)) {
        if (at > 0 && authorization[at - 1] != ' ' && authorization[at - 1] != ',') continue;
        size_t start = at + key.size();
        const bool quoted = start < authorization.size() && authorization[start] == '"';
        if (quoted) ++start;
        const size_t end = authorization.find(quoted ? "\"" : ",", start);
        return authorization.substr(start, end == std::string::npos ? end : end - start);
    }
    return "";
}

bool overlap(const JournalEntry& a, const JournalEntry& b) {
    return a.received < b.answered && b.received < a.answered;
}

class SessionModeTest : public testsupport::CameraTest {
protected:
    void SetUp() override { previous_ = camlink::sessionMode(); }
    void TearDown() override {
        for (int s : sessions_)
            vcam_control_logout(s);
        CameraTest::TearDown();
        camlink::setSessionModeForTest(previous_);
    }

    int open(camsim::Camera& camera) {
        char reply[VCAM_LOGIN_REPLY_SIZE];
        int session = 0;
        testing::internal::CaptureStdout();  // the binary login prints the serial number
        const int rc = vcam_control_login_v2(&session, camera.config().address.c_str(), "admin",
                                             "admin", reply);
        testing::internal::GetCapturedStdout();
        sessions_.push_back(session);
        EXPECT_EQ(rc, 0);
        return session;
    }

    static int listLibraries(int session) {
        vcam_library_record record{};
        return vcam_control_list_library(session, &record);
    }

    // Runs each job on a thread of its own, all at once, and waits for them.
    static void together(const std::vector<std::function<void()>>& jobs) {
        std::vector<std::thread> threads;
        for (const auto& job : jobs)
            threads.emplace_back(job);
        for (auto& thread : threads)
            thread.join();
    }

    SessionMode previous_ = SessionMode::Serial;
    std::vector<int> sessions_;
};

// Two threads share session A while a third works session B. Calls on A never overlap in
// either mode; B overlaps A only side by side, and in the default mode queues behind A.
TEST_F(SessionModeTest, OneSessionKeepsItsOrderAndTwoOverlapOnlySideBySide) {
    for (SessionMode mode : {SessionMode::Serial, SessionMode::Parallel}) {
        SCOPED_TRACE(mode == SessionMode::Parallel ? "parallel" : "serial");
        camlink::setSessionModeForTest(mode);
        camsim::Camera& first = startCamera();
        camsim::Camera& second = startCamera();
        const int a = open(first);
        const int b = open(second);
        for (camsim::Camera* camera : {&first, &second}) {
            camera->addFault({kListPath, camsim::FaultKind::Latency, 60, -1});
            camera->journal().clear();
        }
        std::atomic<int> failures{0};
        auto calls = [&failures](int session) {
            return [&failures, session] {
                for (int i = 0; i < 4; ++i)
                    failures += listLibraries(session) != 0;
            };
        };
        together({calls(a), calls(a), calls(b)});
        EXPECT_EQ(failures.load(), 0);

        const auto onA = first.journal().on(kListPath);
        const auto onB = second.journal().on(kListPath);
        ASSERT_EQ(onA.size(), 8u);
        ASSERT_EQ(onB.size(), 4u);
        for (size_t i = 0; i < onA.size(); ++i)
            for (size_t j = i + 1; j < onA.size(); ++j)
                EXPECT_FALSE(overlap(onA[i], onA[j])) << "requests " << i << " and " << j;
        bool sideBySide = false;
        for (const auto& x : onA)
            for (const auto& y : onB)
                sideBySide = sideBySide || overlap(x, y);
        EXPECT_EQ(sideBySide, mode == SessionMode::Parallel);
    }
}

// Side by side, a session keeps one connection and the camera's nonce: after the login each
// call is one request, whatever its kind, with the nonce count going up by one.
TEST_F(SessionModeTest, SteadyCallsCostOneRequestEachOnOneConnection) {
    camlink::setSessionModeForTest(SessionMode::Parallel);
    camsim::Camera& camera = startCamera();
    const int s = open(camera);
    const std::string libid =
        camera.faces().createLibrary("staff", 80).data["libid"].asString();
    testsupport::TempDir dir{"camlink-parallel"};
    camera.journal().clear();

    vcam_image_record image{};
    put(image.libid, libid);
    put(image.path, dir.write("p.jpg", testsupport::makeJpeg(120, 120)));
    vcam_library_record library{};
    put(library.libid, libid);
    vcam_image_data_record data{};
    put(data.url, "http://" + camera.config().address + ":8089/no-such-picture.jpg");
    EXPECT_EQ(listLibraries(s), 0);
    EXPECT_EQ(vcam_control_find_library(s, &library), 0);
    EXPECT_EQ(vcam_control_add_image(s, &image), 0);
    EXPECT_EQ(vcam_control_image_data(s, &data), 404);
    EXPECT_EQ(listLibraries(s), 0);

    const auto seen = camera.journal().entries();
    ASSERT_EQ(seen.size(), 5u);
    const std::string nonce = digestMember(seen[0].header("Authorization"), "nonce");
    EXPECT_EQ(nonce.size(), 32u);
    for (size_t i = 0; i < seen.size(); ++i) {
        SCOPED_TRACE(seen[i].path);
        EXPECT_TRUE(seen[i].authenticated);
        EXPECT_EQ(seen[i].peer, seen[0].peer);
        EXPECT_EQ(digestMember(seen[i].header("Authorization"), "nonce"), nonce);
        EXPECT_EQ(std::stoul(digestMember(seen[i].header("Authorization"), "nc"), nullptr, 16),
                  std::stoul(digestMember(seen[0].header("Authorization"), "nc"), nullptr, 16) +
                      i);
    }
}

// A nonce the camera no longer knows (it restarted) costs one more attempt with the fresh
// challenge, whether the camera says "stale" or gives a plain challenge; an upload is sent
// again from its first byte.
TEST_F(SessionModeTest, RefusedNonceGetsExactlyOneRetry) {
    camlink::setSessionModeForTest(SessionMode::Parallel);
    testsupport::TempDir dir{"camlink-parallel"};
    const std::string picture = testsupport::makeJpeg(200, 200, std::string(60000, '\x42'));
    for (bool stale : {true, false}) {
        for (bool upload : {false, true}) {
            SCOPED_TRACE(std::string(stale ? "stale" : "plain") + (upload ? " upload" : " post"));
            camsim::CameraConfig config;
            config.staleChallenges = stale;
            camsim::Camera& camera = startCamera(config);
            const int s = open(camera);
            const std::string libid =
                camera.faces().createLibrary("staff", 80).data["libid"].asString();
            vcam_image_record image{};
            put(image.libid, libid);
            put(image.path, dir.write("p.jpg", picture));
            vcam_library_record library{};
            put(library.libid, libid);
            auto call = [&] {
                return upload ? vcam_control_add_image(s, &image)
                              : vcam_control_find_library(s, &library);
            };
            ASSERT_EQ(call(), 0);
            camera.stop();
            std::string error;
            ASSERT_TRUE(camera.start(&error)) << error;
            camera.journal().clear();

            EXPECT_EQ(call(), 0);
            const auto seen = camera.journal().entries();
            ASSERT_FALSE(seen.empty());
            size_t attempts = 0;
            for (const auto& entry : seen)
                attempts += !entry.header("Authorization").empty();
            EXPECT_EQ(attempts, 2u);
            EXPECT_EQ(seen.front().status, 401);
            EXPECT_EQ(seen.back().status, 200);
            EXPECT_EQ(digestMember(seen.back().header("Authorization"), "nc"), "00000001");
            if (upload) {
                EXPECT_EQ(seen.back().body, picture);
            }
        }
    }
}

// A kept connection the camera drops after it has read a request: libcurl would send the
// request again on a fresh one, and the camera, which may have acted on it, would store the
// picture or make the library twice. The call fails instead; the next one works.
TEST_F(SessionModeTest, UnansweredRequestIsNeverSentTwice) {
    camlink::setSessionModeForTest(SessionMode::Parallel);
    testsupport::TempDir dir{"camlink-parallel"};
    camsim::Camera& camera = startCamera();
    const int s = open(camera);
    const std::string libid = camera.faces().createLibrary("staff", 80).data["libid"].asString();
    vcam_image_record image{};
    put(image.libid, libid);
    put(image.path, dir.write("p.jpg", testsupport::makeJpeg(120, 120)));
    vcam_library_record library{};
    put(library.name, "guests");
    const std::vector<std::pair<std::string, std::function<int()>>> calls = {
        {"/api/v1/recognize/fdlib/add_img", [&] { return vcam_control_add_image(s, &image); }},
        {"/api/v1/recognize/add_fdlib", [&] { return vcam_control_create_library(s, &library); }},
    };
    for (const auto& [path, call] : calls) {
        SCOPED_TRACE(path);
        ASSERT_EQ(listLibraries(s), 0);  // the connection is up and kept
        camera.addFault({path, camsim::FaultKind::Drop, 0, 1});
        camera.journal().clear();
        testing::internal::CaptureStdout();  // the transfer failure is printed
        const int dropped = call();
        testing::internal::GetCapturedStdout();
        EXPECT_GT(dropped, VCAM_ERR_TRANSFER_BASE);
        EXPECT_EQ(camera.journal().on(path).size(), 1u);
        EXPECT_EQ(call(), 0);
        EXPECT_EQ(camera.journal().on(path).size(), 2u);
    }
}

// Logout waits for the call running on its session, which ends normally; the session is gone
// afterwards.
TEST_F(SessionModeTest, LogoutWaitsForTheRunningCall) {
    camlink::setSessionModeForTest(SessionMode::Parallel);
    camsim::Camera& camera = startCamera();
    const int s = open(camera);
    camera.addFault({kListPath, camsim::FaultKind::Latency, 400, 1});
    camera.journal().clear();

    int callResult = -1;
    std::thread caller([&] { callResult = listLibraries(s); });
    // The call is inside the camera's delay once its request has arrived.
    for (int i = 0; i < 2000 && camera.journal().entries().empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(camera.journal().entries().empty());
    const int logoutResult = vcam_control_logout(s);
    const auto loggedOut = JournalEntry::Clock::now();
    caller.join();
    sessions_.clear();

    const auto seen = camera.journal().entries();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_GT(loggedOut, seen[0].answered);
    EXPECT_EQ(callResult, 0);
    EXPECT_EQ(logoutResult, 0);
    EXPECT_EQ(listLibraries(s), VCAM_ERR_SESSION);
    EXPECT_EQ(vcam_control_logout(s), VCAM_ERR_SESSION);
}

// Many threads log in, call, and log out sessions of their own and of each other at once: every
// call ends with success or "no such session", and every session is logged out exactly once.
TEST_F(SessionModeTest, LoginsCallsAndLogoutsRaceSafely) {
    camlink::setSessionModeForTest(SessionMode::Parallel);
    camsim::Camera& camera = startCamera();
    constexpr int kThreads = 4, kRounds = 5;
    std::vector<std::atomic<int>> opened(kThreads * kRounds);
    std::atomic<int> unexpected{0}, loggedOut{0};
    std::vector<std::function<void()>> jobs;
    for (int t = 0; t < kThreads; ++t)
        jobs.push_back([&, t] {
            for (int r = 0; r < kRounds; ++r) {
                char reply[VCAM_LOGIN_REPLY_SIZE];
                int session = 0;
                unexpected += vcam_control_login_v2(&session, camera.config().address.c_str(),
                                                    "admin", "admin", reply) != 0;
                opened[static_cast<size_t>(t * kRounds + r)] = session;
                // A neighbour's session may be gone already: 10 is an answer, not a fault.
                const int neighbour = opened[static_cast<size_t>(((t + 1) % kThreads) * kRounds)];
                const int result = listLibraries(neighbour ? neighbour : session);
                unexpected += result != 0 && result != VCAM_ERR_SESSION;
                for (int victim : {session, neighbour}) {
                    const int out = victim ? vcam_control_logout(victim) : VCAM_ERR_SESSION;
                    loggedOut += out == 0;
                    unexpected += out != 0 && out != VCAM_ERR_SESSION;
                }
            }
        });
    testing::internal::CaptureStdout();
    together(jobs);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(unexpected.load(), 0);
    EXPECT_EQ(loggedOut.load(), kThreads * kRounds);
}

}  // namespace
