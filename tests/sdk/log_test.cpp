// The SDK log against real files, each test in a fresh working directory: level filtering, the
// line shape, rotation of the five-file ring, the newest-file rule, concurrent writers, and the
// load-time set-up seen by a freshly started copy of this program.
#include "core/log.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using camlink::logResetForTest;

constexpr off_t kMaxSize = 20971520;
constexpr size_t kStampSize = 23;  // "yyyy/mm/dd hh:mm:ss:mmm"

// Started with CAMLINK_LOG_PROBE set, the program logs one INFO line from a static initialiser
// and exits with the minimum level it saw, before any test runs.
bool runProbeIfAsked() {
    if (std::getenv("CAMLINK_LOG_PROBE") == nullptr) return false;
    CAMLINK_LOG_AT(camlink::kLogInfo, "probe", 1) << "loaded";
    std::_Exit(camlink::logMinimumLevel());
}
[[maybe_unused]] const bool kProbed = runProbeIfAsked();

std::string readFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& name, const std::string& content) {
    std::ofstream(name, std::ios::binary) << content;
}

void makeSparse(const std::string& name, off_t size) {
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0) << name;
    EXPECT_EQ(::ftruncate(fd, size), 0) << name;
    ::close(fd);
}

void setMtime(const std::string& name, time_t seconds, long nanoseconds) {
    const timespec times[2] = {{seconds, nanoseconds}, {seconds, nanoseconds}};
    ASSERT_EQ(::utimensat(AT_FDCWD, name.c_str(), times, 0), 0) << name;
}

// True when the line starts with a time stamp "dddd/dd/dd dd:dd:dd:ddd" and `rest` follows it.
bool hasStampThen(const std::string& line, const std::string& rest) {
    const std::string shape = "dddd/dd/dd dd:dd:dd:ddd";
    if (line.size() != shape.size() + rest.size()) return false;
    for (size_t i = 0; i < shape.size(); ++i) {
        const bool digit = line[i] >= '0' && line[i] <= '9';
        if (shape[i] == 'd' ? !digit : line[i] != shape[i]) return false;
    }
    return line.compare(shape.size(), std::string::npos, rest) == 0;
}

std::vector<std::string> splitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> directoryEntries() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator("."))
        names.push_back(entry.path().filename().string());
    return names;
}

std::string localStampNow() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm t{};
    ::localtime_r(&now.tv_sec, &t);
    char text[96];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d:%03d", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec,
                  static_cast<int>(now.tv_nsec / 1000000));
    return text;
}

class LogTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "camlink_log_XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        previous_ = fs::current_path();
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
        logResetForTest(6);
    }

private:
    fs::path dir_;
    fs::path previous_;
};

TEST_F(LogTest, InitialMinimumBuildsAndWritesNothing) {
    logResetForTest(6);
    EXPECT_EQ(camlink::logMinimumLevel(), 6);
    int evaluated = 0;
    for (int level = camlink::kLogSensitive; level <= camlink::kLogExt; ++level) {
        CAMLINK_LOG(level, "LumenControl::LumenControlClient::getModuleConfig") << ++evaluated;
    }
    EXPECT_EQ(evaluated, 0);
    EXPECT_TRUE(directoryEntries().empty());
}

TEST_F(LogTest, InfoLineHasTimeTabTagAndLocation) {
    logResetForTest(2);
    int evaluated = 0;
    CAMLINK_LOG(camlink::kLogVerbose, "skipped") << ++evaluated;
    const std::string before = localStampNow();
    CAMLINK_LOG_AT(camlink::kLogInfo, "LumenControl::LumenControlClient::getModuleConfig", 123)
        << "reply " << 42;
    const std::string after = localStampNow();
    EXPECT_EQ(evaluated, 0);
    EXPECT_EQ(directoryEntries(), std::vector<std::string>{"LumenLog_1.log"});

    const std::string text = readFile("LumenLog_1.log");
    EXPECT_TRUE(hasStampThen(
        text, "\t[   INFO  ] [LumenControl::LumenControlClient::getModuleConfig: 123] reply 42\n"))
        << text;
    // Same fixed-width format on both sides, so string order is time order.
    const std::string stamp = text.substr(0, kStampSize);
    EXPECT_LE(before, stamp);
    EXPECT_LE(stamp, after);
}

TEST_F(LogTest, LevelsBelowMinimumAreSkipped) {
    logResetForTest(4);
    int evaluated = 0;
    CAMLINK_LOG_AT(camlink::kLogWarning, "f", 1) << ++evaluated;
    EXPECT_EQ(evaluated, 0);
    EXPECT_TRUE(directoryEntries().empty());
    CAMLINK_LOG_AT(camlink::kLogError, "f", 2) << "Json parse failed";
    CAMLINK_LOG_AT(camlink::kLogExt, "f", 3) << "ext";
    const auto lines = splitLines(readFile("LumenLog_1.log"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\t[  ERROR  ] [f: 2] Json parse failed"), std::string::npos);
    EXPECT_NE(lines[1].find("\t[ EXT LOG ] [f: 3] ext"), std::string::npos);
}

TEST_F(LogTest, EveryLevelHasItsElevenCharacterTag) {
    const char* const tags[] = {"[SENSITIVE]", "[ VERBOSE ]", "[   INFO  ]",
                                "[ WARNING ]", "[  ERROR  ]", "[ EXT LOG ]"};
    logResetForTest(0);
    for (int level = 0; level <= 5; ++level) {
        CAMLINK_LOG_AT(level, "f", level) << "x";
    }
    const auto lines = splitLines(readFile("LumenLog_1.log"));
    ASSERT_EQ(lines.size(), 6u);
    for (int level = 0; level <= 5; ++level) {
        const std::string expected =
            std::string("\t") + tags[level] + " [f: " + std::to_string(level) + "] x";
        EXPECT_TRUE(hasStampThen(lines[level], expected)) << lines[level];
    }
    for (int level : {-1, 6, 1000}) {
        const std::string header = Log::header(level);
        EXPECT_TRUE(hasStampThen(header, "\t[ UNKNOWN ] ")) << header;
    }
}

TEST_F(LogTest, FileOfExactlyMaxSizeIsAppendedThenNextFileIsReplaced) {
    makeSparse("LumenLog_1.log", kMaxSize);
    writeFile("LumenLog_2.log", "old content\n");
    setMtime("LumenLog_2.log", 1000, 0);
    setMtime("LumenLog_1.log", 2000, 0);
    logResetForTest(2);

    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 1) << "still in the first file";
    const off_t grown = static_cast<off_t>(fs::file_size("LumenLog_1.log"));
    EXPECT_GT(grown, kMaxSize);
    EXPECT_EQ(readFile("LumenLog_2.log"), "old content\n");

    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 2) << "rotated";
    EXPECT_EQ(static_cast<off_t>(fs::file_size("LumenLog_1.log")), grown);
    const auto lines = splitLines(readFile("LumenLog_2.log"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[f: 2] rotated"), std::string::npos);

    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 3) << "stays";
    EXPECT_EQ(splitLines(readFile("LumenLog_2.log")).size(), 2u);
}

TEST_F(LogTest, RotationWrapsFromFifthFileToFirst) {
    makeSparse("LumenLog_5.log", kMaxSize + 1);
    writeFile("LumenLog_1.log", "old content\n");
    setMtime("LumenLog_1.log", 1000, 0);
    setMtime("LumenLog_5.log", 2000, 0);
    logResetForTest(2);

    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 9) << "wrapped";
    EXPECT_EQ(static_cast<off_t>(fs::file_size("LumenLog_5.log")), kMaxSize + 1);
    const auto lines = splitLines(readFile("LumenLog_1.log"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[f: 9] wrapped"), std::string::npos);
    EXPECT_FALSE(fs::exists("LumenLog_2.log"));
}

TEST_F(LogTest, WritingContinuesInNewestFile) {
    for (int i = 1; i <= 5; ++i)
        writeFile("LumenLog_" + std::to_string(i) + ".log", "old\n");
    setMtime("LumenLog_1.log", 1000, 0);
    setMtime("LumenLog_2.log", 2000, 400);
    setMtime("LumenLog_3.log", 2000, 500);
    setMtime("LumenLog_4.log", 1999, 999999999);
    setMtime("LumenLog_5.log", 1500, 0);
    struct stat third {};
    ASSERT_EQ(::stat("LumenLog_3.log", &third), 0);
    if (third.st_mtim.tv_nsec != 500)
        GTEST_SKIP() << "the file system does not keep nanosecond modification times";

    logResetForTest(2);
    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 1) << "newest";
    for (int i = 1; i <= 5; ++i) {
        const auto lines = splitLines(readFile("LumenLog_" + std::to_string(i) + ".log"));
        EXPECT_EQ(lines.size(), i == 3 ? 2u : 1u) << i;
    }
}

TEST_F(LogTest, EqualNewestTimesPickTheEarlierFile) {
    writeFile("LumenLog_1.log", "old\n");
    writeFile("LumenLog_2.log", "old\n");
    writeFile("LumenLog_4.log", "old\n");
    setMtime("LumenLog_1.log", 1000, 0);
    setMtime("LumenLog_4.log", 3000, 0);
    setMtime("LumenLog_2.log", 3000, 0);
    logResetForTest(2);
    CAMLINK_LOG_AT(camlink::kLogInfo, "f", 1) << "tie";
    EXPECT_EQ(splitLines(readFile("LumenLog_1.log")).size(), 1u);
    EXPECT_EQ(splitLines(readFile("LumenLog_2.log")).size(), 2u);
    EXPECT_EQ(splitLines(readFile("LumenLog_4.log")).size(), 1u);
}

TEST_F(LogTest, LinesFromManyThreadsStayWholeAndComplete) {
    constexpr int kThreads = 8;
    constexpr int kLines = 200;
    logResetForTest(2);
    std::atomic<bool> go{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t, &go] {
            while (!go.load())
                std::this_thread::yield();
            for (int i = 0; i < kLines; ++i) {
                CAMLINK_LOG_AT(camlink::kLogInfo, "worker", t)
                    << "thread " << t << " line " << i << " " << std::string(100, char('a' + t));
            }
        });
    }
    go = true;
    for (auto& thread : threads)
        thread.join();

    const std::string text = readFile("LumenLog_1.log");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const std::string prefix = "\t[   INFO  ] [worker: ";
    int next[kThreads] = {};
    int total = 0;
    for (const auto& line : splitLines(text)) {
        ASSERT_GT(line.size(), kStampSize + prefix.size()) << line;
        const int t = line[kStampSize + prefix.size()] - '0';
        ASSERT_TRUE(t >= 0 && t < kThreads) << line;
        // Each thread's lines keep their order, so the next index of that thread is expected.
        const std::string rest = prefix + std::to_string(t) + "] thread " + std::to_string(t) +
                                 " line " + std::to_string(next[t]++) + " " +
                                 std::string(100, char('a' + t));
        EXPECT_TRUE(hasStampThen(line, rest)) << line;
        ++total;
    }
    EXPECT_EQ(total, kThreads * kLines);
}

TEST_F(LogTest, UnopenableFileLosesTheLineQuietly) {
    fs::create_directory("LumenLog_1.log");
    logResetForTest(2);
    CAMLINK_LOG_AT(camlink::kLogError, "f", 1) << "lost";
    EXPECT_TRUE(fs::is_directory("LumenLog_1.log"));
    EXPECT_TRUE(fs::is_empty("LumenLog_1.log"));
    EXPECT_EQ(directoryEntries().size(), 1u);

    fs::remove("LumenLog_1.log");
    CAMLINK_LOG_AT(camlink::kLogError, "f", 2) << "kept";
    const auto lines = splitLines(readFile("LumenLog_1.log"));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("[f: 2] kept"), std::string::npos);
}

// Starts this program again with the given CAMLINK_LOG_LEVEL (none for nullptr) in probe mode;
// returns the minimum level the new process saw at load, or -1.
int probeAtLoad(const char* level) {
    std::vector<std::string> env;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        if (text.rfind("CAMLINK_LOG_LEVEL=", 0) != 0 && text.rfind("CAMLINK_LOG_PROBE=", 0) != 0)
            env.push_back(text);
    }
    env.push_back("CAMLINK_LOG_PROBE=1");
    if (level != nullptr) env.push_back(std::string("CAMLINK_LOG_LEVEL=") + level);
    std::vector<char*> envp;
    for (auto& text : env)
        envp.push_back(text.data());
    envp.push_back(nullptr);
    char name[] = "camlink_log_probe";
    char* argv[] = {name, nullptr};

    pid_t pid = 0;
    if (::posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, argv, envp.data()) != 0) return -1;
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

TEST_F(LogTest, EnvironmentSetsMinimumAtLoadAndNewestFileIsContinued) {
    writeFile("LumenLog_1.log", "old\n");
    writeFile("LumenLog_3.log", "old\n");
    setMtime("LumenLog_1.log", 1000, 0);
    setMtime("LumenLog_3.log", 2000, 0);

    EXPECT_EQ(probeAtLoad("2"), 2);
    const auto lines = splitLines(readFile("LumenLog_3.log"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(hasStampThen(lines[1], "\t[   INFO  ] [probe: 1] loaded")) << lines[1];
    EXPECT_EQ(readFile("LumenLog_1.log"), "old\n");

    EXPECT_EQ(probeAtLoad("4"), 4);  // INFO is below 4: nothing more written
    EXPECT_EQ(probeAtLoad(nullptr), 6);
    EXPECT_EQ(probeAtLoad(""), 6);
    EXPECT_EQ(probeAtLoad("junk"), 6);
    EXPECT_EQ(probeAtLoad("2junk"), 6);
    EXPECT_EQ(probeAtLoad("99999999999"), 6);
    EXPECT_EQ(splitLines(readFile("LumenLog_3.log")).size(), 2u);
    EXPECT_EQ(directoryEntries().size(), 2u);
}

}  // namespace
