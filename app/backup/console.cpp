#include "console.h"

#include <unistd.h>

namespace backup {
namespace {

constexpr auto kRedrawInterval = std::chrono::milliseconds(200);

}  // namespace

Console::Console(std::FILE* out, bool live) : out_(out), live_(live) {}

bool Console::isTerminal(std::FILE* stream) {
    return ::isatty(fileno(stream)) == 1;
}

void Console::setCameras(const QStringList& addresses) {
    std::lock_guard<std::mutex> lock(mutex_);
    cameras_ = addresses;
    lines_ = QVector<QString>(addresses.size(), QStringLiteral("waiting"));
    redraw(true);
}

void Console::progress(int camera, const QString& text) {
    if (!live_) return;
    std::lock_guard<std::mutex> lock(mutex_);
    if (camera < 0 || camera >= lines_.size()) return;
    lines_[camera] = text;
    redraw(false);
}

void Console::done(int camera, const QString& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (camera < 0 || camera >= lines_.size()) return;
    if (!live_) {
        std::fprintf(out_, "%s %s\n", qPrintable(cameras_[camera]), qPrintable(text));
        std::fflush(out_);
        return;
    }
    lines_[camera] = text;
    redraw(true);
}

void Console::note(const QString& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (live_ && drawn_) {
        // Above the table, which is drawn again below it.
        std::fprintf(out_, "\033[%dA\033[J", int(lines_.size()));
        drawn_ = false;
    }
    std::fprintf(out_, "%s\n", qPrintable(text));
    if (live_) redraw(true);
    std::fflush(out_);
}

void Console::finish() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (live_) redraw(true);
    lines_.clear();  // what follows goes below the table
    drawn_ = false;
}

void Console::redraw(bool force) {
    if (!live_ || lines_.isEmpty()) return;
    const auto now = std::chrono::steady_clock::now();
    if (!force && drawn_ && now - lastDraw_ < kRedrawInterval) return;
    lastDraw_ = now;
    if (drawn_) std::fprintf(out_, "\033[%dA", int(lines_.size()));
    for (int i = 0; i < lines_.size(); ++i)
        std::fprintf(out_, "\r\033[K%-15s %s\n", qPrintable(cameras_[i]), qPrintable(lines_[i]));
    drawn_ = true;
    std::fflush(out_);
}

}  // namespace backup
