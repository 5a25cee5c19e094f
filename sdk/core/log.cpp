// The SDK's leveled log: message sites compare their level with the minimum, a LogReceive
// collects one line, and the process-wide LogWriter appends it to the current file of a ring of
// five files in the working directory.
#include "core/log.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

constexpr int kInitialMinimumLevel = 6;
constexpr off_t kMaxFileSize = 20971520;
constexpr int kFileCount = 5;
constexpr std::array<const char*, kFileCount> kFileNames = {
    "LumenLog_1.log", "LumenLog_2.log", "LumenLog_3.log", "LumenLog_4.log", "LumenLog_5.log"};
constexpr std::array<const char*, 6> kLevelTags = {"[SENSITIVE]", "[ VERBOSE ]", "[   INFO  ]",
                                                   "[ WARNING ]", "[  ERROR  ]", "[ EXT LOG ]"};
constexpr const char* kUnknownTag = "[ UNKNOWN ]";

const char* levelTag(int level) {
    if (level < 0 || level >= static_cast<int>(kLevelTags.size())) return kUnknownTag;
    return kLevelTags[static_cast<size_t>(level)];
}

// Only a whole decimal integer in CAMLINK_LOG_LEVEL counts; anything else keeps the log silent.
int minimumFromEnvironment() {
    const char* text = std::getenv("CAMLINK_LOG_LEVEL");
    if (text == nullptr || *text == '\0') return kInitialMinimumLevel;
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || end == text || *end != '\0' || value < INT_MIN || value > INT_MAX)
        return kInitialMinimumLevel;
    return static_cast<int>(value);
}

// Function-local so that a static initialiser elsewhere that logs already sees a valid level.
std::atomic<int>& minimumLevel() {
    static std::atomic<int> level{minimumFromEnvironment()};
    return level;
}

bool isLater(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

// Position of the most recently modified regular file of the ring; ties go to the earlier
// position, and an empty ring starts at the first file.
int newestFile() {
    int newest = 0;
    bool found = false;
    timespec newestTime{};
    for (int i = 0; i < kFileCount; ++i) {
        struct stat info {};
        if (::stat(kFileNames[static_cast<size_t>(i)], &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (!found || isLater(info.st_mtim, newestTime)) {
            newest = i;
            newestTime = info.st_mtim;
            found = true;
        }
    }
    return newest;
}

// A missing or non-regular file counts as empty.
off_t fileSize(const char* name) {
    struct stat info {};
    if (::stat(name, &info) != 0 || !S_ISREG(info.st_mode)) return 0;
    return info.st_size;
}

struct FileRing {
    std::mutex mutex;
    int current = newestFile();  // guarded by mutex
};

// Never destroyed: lines logged by other objects' destructors at exit still find the ring.
FileRing& fileRing() {
    static FileRing* const ring = new FileRing;
    return *ring;
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

void writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the rest of the line is lost; nobody is told
        done += static_cast<size_t>(n);
    }
}

// Called with the ring's mutex held.
void appendLine(FileRing& ring, const std::string& line) {
    if (fileSize(kFileNames[static_cast<size_t>(ring.current)]) > kMaxFileSize) {
        ring.current = (ring.current + 1) % kFileCount;
        ::unlink(kFileNames[static_cast<size_t>(ring.current)]);
    }
    // O_NONBLOCK: a FIFO planted under a log name must not hang every logging thread.
    FileDescriptor file(::open(kFileNames[static_cast<size_t>(ring.current)],
                               O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644));
    if (file.get() < 0) return;
    std::string record;
    record.reserve(line.size() + 1);
    record += line;
    record += '\n';
    writeAll(file.get(), record);
}

// Reads the environment and the ring's files when the library loads, not at the first line.
struct LoadTimeSetup {
    LoadTimeSetup() {
        minimumLevel();
        fileRing();
        LogWriter::instance();
    }
} const loadTimeSetup;

}  // namespace

namespace camlink {

int logMinimumLevel() {
    return minimumLevel().load(std::memory_order_relaxed);
}

void logResetForTest(int minimum) {
    minimumLevel().store(minimum, std::memory_order_relaxed);
    FileRing& ring = fileRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    ring.current = newestFile();
}

}  // namespace camlink

std::string Log::header(int level) {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    std::tm local{};
    if (::localtime_r(&now.tv_sec, &local) == nullptr) local = std::tm{};
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%04d/%02d/%02d %02d:%02d:%02d:%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(now.tv_nsec / 1000000));
    std::string text = stamp;
    text += '\t';
    text += levelTag(level);
    text += ' ';
    return text;
}

// Leaked on purpose, like the ring: no destruction-order trouble at exit.
LogWriter& LogWriter::instance() {
    static LogWriter* const writer = new LogWriter;
    return *writer;
}

void LogWriter::write(const std::string& line) {
    FileRing& ring = fileRing();
    std::lock_guard<std::mutex> lock(ring.mutex);
    appendLine(ring, line);
}

LogReceive::~LogReceive() {
    try {
        LogWriter::instance().write(text_.str());
    } catch (...) {
        // A line that cannot be written is dropped; logging never disturbs the caller.
    }
}

std::ostream& LogReceive::stream(int level) {
    text_ << header(level);
    return text_;
}
