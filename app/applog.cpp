#include "applog.h"

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>

namespace {

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm parts{};
    localtime_r(&now, &parts);
    return parts;
}

std::string timeText(const char* format) {
    std::tm parts = localNow();
    char text[64];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

bool fileExists(const std::string& name) {
    return ::access(name.c_str(), F_OK) == 0;
}

}  // namespace

std::string logFileStamp() {
    return timeText("%Y_%m_%d_%H_%M_%S");
}

AppLog& AppLog::instance() {
    static AppLog log;
    return log;
}

AppLog::~AppLog() {
    closeFile();
}

void AppLog::init(const std::string& directory) {
    std::lock_guard<std::mutex> lock(mutex_);
    directory_ = directory;
    threshold_ = 6;
    if (!directory.empty()) ::mkdir(directory.c_str(), 0755);
}

void AppLog::setLevel(int level) {
    std::lock_guard<std::mutex> lock(mutex_);
    threshold_ = level;
    if (!enabled_ && level >= 0) {
        openNewFile();
        enabled_ = true;
        counter_ = 0;
    } else if (enabled_ && level < 0) {
        closeFile();
        enabled_ = false;
    }
}

int AppLog::level() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return threshold_;
}

std::string AppLog::currentFile() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return file_ ? fileName_ : std::string();
}

long long AppLog::writeCount() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return counter_;
}

void AppLog::setWriteCountForTest(long long count) {
    std::lock_guard<std::mutex> lock(mutex_);
    counter_ = count;
}

// A second file opened within the same second gets a numbered name instead of truncating the
// first one.
bool AppLog::openNewFile() {
    closeFile();
    std::string base = directory_ + logFileStamp();
    std::string name = base + ".log";
    for (int n = 1; fileExists(name) && n < 1000; ++n)
        name = base + "_" + std::to_string(n) + ".log";
    file_ = std::fopen(name.c_str(), "w+");
    fileName_ = file_ ? name : std::string();
    return file_ != nullptr;
}

void AppLog::closeFile() {
    if (file_) std::fclose(file_);
    file_ = nullptr;
}

void AppLog::put(const char* text) {
    std::fputs(text, file_);
    std::fflush(file_);
    counter_ += kLineBytes;
}

void AppLog::write(const char* source, int line, int level, const char* format, ...) {
    va_list args;
    va_start(args, format);
    writeV(source, line, level, format, args);
    va_end(args);
}

void AppLog::writeV(const char* source, int line, int level, const char* format, va_list args) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (threshold_ < level) return;
    if (counter_ >= kRolloverCount) {
        if (!openNewFile()) return;
        counter_ = 0;
    } else if (!enabled_) {
        return;
    }
    if (!file_ && !openNewFile()) return;

    char text[kLineBytes];
    std::snprintf(text, sizeof text, "[%s][%s](%d):", logFileStamp().c_str(), source, line);
    put(text);
    std::vsnprintf(text, sizeof text, format, args);
    put(text);
}
