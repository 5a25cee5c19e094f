// The SDK's own leveled log: a ring of five files "LumenLog_1.log" .. "LumenLog_5.log" in the
// working directory. A message site builds nothing when its level is below the minimum, which
// is 6 (above every level) unless the environment variable CAMLINK_LOG_LEVEL, read once at
// load, lowers it.
#pragma once

#include <ostream>
#include <sstream>
#include <string>

namespace camlink {

enum LogLevel {
    kLogSensitive = 0,
    kLogVerbose = 1,
    kLogInfo = 2,
    kLogWarning = 3,
    kLogError = 4,
    kLogExt = 5,
};

// The process-wide minimum level; messages below it are skipped.
int logMinimumLevel();
// For tests: changes the minimum level and re-reads the file ring of the working directory as
// at load (the newest existing file becomes the current one).
void logResetForTest(int minimumLevel);

}  // namespace camlink

// Base of the log classes: takes a finished line; supplies the line header.
class Log {
public:
    virtual ~Log() = default;
    virtual void write(const std::string& line) = 0;
    // Local time "%04d/%02d/%02d %02d:%02d:%02d:%03d", a tab, the 11-character level tag, a blank.
    static std::string header(int level);
};

// Appends finished lines to the current file of the ring, rotating above 20971520 bytes.
class LogWriter : public Log {
public:
    static LogWriter& instance();
    void write(const std::string& line) override;  // takes the log mutex
};

// Collects one line; hands it to the LogWriter when destroyed.
class LogReceive : public Log {
public:
    LogReceive() = default;
    ~LogReceive() override;
    LogReceive(const LogReceive&) = delete;
    LogReceive& operator=(const LogReceive&) = delete;

    // Writes the header for the level and returns the stream for the rest of the line.
    std::ostream& stream(int level);
    void write(const std::string&) override {}

private:
    std::ostringstream text_;
};

// CAMLINK_LOG(kLogError, "LumenControl::LumenControlClient::getModuleConfig") << "text" << value;
// Nothing is built (not even the LogReceive) when the level is below the minimum.
#define CAMLINK_LOG_AT(level, function, line)     \
    if (::camlink::logMinimumLevel() > (level)) { \
    } else                                        \
        LogReceive().stream(level) << "[" << (function) << ": " << (line) << "] "
#define CAMLINK_LOG(level, function) CAMLINK_LOG_AT(level, function, __LINE__)
