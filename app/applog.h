// The program's own diagnostic log: one file per run under a directory, each line a location
// prefix "[time][source](line):" followed by a printf-style text. One process-wide writer;
// tests may make their own.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <string>

class AppLog {
public:
    static constexpr int kLineBytes = 512;  // a line is cut to kLineBytes - 1 bytes
    static constexpr long long kRolloverCount = 500000001;

    static AppLog& instance();

    AppLog() = default;
    ~AppLog();
    AppLog(const AppLog&) = delete;
    AppLog& operator=(const AppLog&) = delete;

    // Stores the directory (a prefix of file names, e.g. "log/"), sets the threshold to 6 and
    // makes the directory when it is missing.
    void init(const std::string& directory);
    // A threshold of 0 or more opens a file when the writer is off; a negative one closes it.
    void setLevel(int level);
    int level() const;

    // The location prefix and the line after it, written under one lock so that lines of
    // different threads never interleave. Camera and file texts belong in the arguments.
    void write(const char* source, int line, int level, const char* format, ...)
        __attribute__((format(printf, 5, 6)));
    void writeV(const char* source, int line, int level, const char* format, va_list args)
        __attribute__((format(printf, 5, 0)));

    // Name of the file being written (empty when none is open).
    std::string currentFile() const;
    long long writeCount() const;
    // For tests of the roll-over: pretend that many bytes were written.
    void setWriteCountForTest(long long count);

private:
    bool openNewFile();
    void closeFile();
    void put(const char* text);

    mutable std::mutex mutex_;
    std::string directory_;
    std::string fileName_;
    FILE* file_ = nullptr;
    int threshold_ = 6;
    bool enabled_ = false;
    long long counter_ = 0;
};

// Local time as 2019_07_04_09_05_03.
std::string logFileStamp();

// writeLog at the caller's line: FK_LOG("dbutil\\interaction", 3, "%s, ...", ...).
#define FK_LOG(source, level, ...) \
    AppLog::instance().write((source), __LINE__, (level), __VA_ARGS__)
