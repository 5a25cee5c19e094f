#include "stall_watch.h"

#include <cxxabi.h>
#include <execinfo.h>
#include <pthread.h>
#include <signal.h>

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

constexpr int kBeatMs = 5;
constexpr int kMaxFrames = 48;
constexpr int kSampleSignal = SIGUSR2;

qint64 nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

qint64 threadCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Filled by the signal handler on the GUI thread, read by the monitor once `ready` is set.
void* g_frames[kMaxFrames];
std::atomic<int> g_frameCount{0};
std::atomic<bool> g_ready{false};
pthread_t g_guiThread;

void onSampleSignal(int) {
    g_frameCount.store(backtrace(g_frames, kMaxFrames));
    g_ready.store(true);
}

// "module(mangled+0x1f) [0x...]" with the name demangled when there is one.
QString readable(const char* symbol) {
    QString text = QString::fromLocal8Bit(symbol);
    const int open = text.indexOf('('), plus = text.indexOf('+', open);
    if (open < 0 || plus <= open + 1) return text;
    const QByteArray mangled = text.mid(open + 1, plus - open - 1).toLatin1();
    int status = -1;
    char* name = abi::__cxa_demangle(mangled.constData(), nullptr, nullptr, &status);
    if (status == 0 && name) text.replace(open + 1, plus - open - 1, QString::fromLatin1(name));
    std::free(name);
    return text;
}

std::mutex g_sampleMutex;
QString g_phaseName;

}  // namespace

StallWatch::StallWatch(int limitMs, int maxSamples, QObject* parent)
    : QObject(parent), limitMs_(limitMs), maxSamples_(maxSamples) {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kBeatMs);
    connect(&timer_, &QTimer::timeout, this, &StallWatch::beat);
}

StallWatch::~StallWatch() { stop(); }

void StallWatch::start() {
    g_guiThread = pthread_self();
    struct sigaction action {};
    action.sa_handler = onSampleSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(kSampleSignal, &action, nullptr);
    void* warmUp[2];
    backtrace(warmUp, 2);  // loads the unwinder now, not inside the handler
    lastBeatNs_ = nowNs();
    lastBeatCpuNs_ = threadCpuNs();
    heartbeatNs_.store(lastBeatNs_);
    if (phases_.isEmpty()) setPhase("start");
    timer_.start();
    running_.store(true);
    monitor_ = std::thread([this] { monitor(); });
}

void StallWatch::stop() {
    timer_.stop();
    if (!running_.exchange(false)) return;
    monitor_.join();
}

void StallWatch::setPhase(const QString& name) {
    beat();  // the gap so far belongs to the phase that is ending
    phases_.append(Phase{name, 0});
    std::lock_guard<std::mutex> lock(g_sampleMutex);
    g_phaseName = name;
}

qint64 StallWatch::longestBusyMs() const {
    qint64 longest = 0;
    for (const Phase& phase : phases_)
        longest = qMax(longest, phase.longestBusyMs);
    return longest;
}

qint64 StallWatch::longestGapMs() const {
    qint64 longest = 0;
    for (const Phase& phase : phases_)
        longest = qMax(longest, phase.longestGapMs);
    return longest;
}

void StallWatch::beat() {
    const qint64 now = nowNs();
    const qint64 cpu = threadCpuNs();
    if (!phases_.isEmpty() && lastBeatNs_ != 0) {
        Phase& phase = phases_.last();
        const qint64 gapMs = (now - lastBeatNs_) / 1000000;
        const qint64 busyMs = (cpu - lastBeatCpuNs_) / 1000000;
        if (gapMs > phase.longestGapMs) {
            phase.longestGapMs = gapMs;
            phase.busyInLongestGapMs = busyMs;
        }
        phase.longestBusyMs = qMax(phase.longestBusyMs, busyMs);
    }
    lastBeatNs_ = now;
    lastBeatCpuNs_ = cpu;
    heartbeatNs_.store(now);
    beatCount_.fetch_add(1);
}

void StallWatch::monitor() {
    while (running_.load()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kBeatMs));
        const qint64 silentMs = (nowNs() - heartbeatNs_.load()) / 1000000;
        const int beat = beatCount_.load();
        if (silentMs <= limitMs_ || sampledBeat_.load() == beat) continue;
        sampledBeat_.store(beat);  // one sample per stall
        if (samples_.size() < maxSamples_) collectSample();
    }
}

// Runs on the monitor thread; samples_ is read by the GUI thread only after stop().
void StallWatch::collectSample() {
    const qint64 gapMs = (nowNs() - heartbeatNs_.load()) / 1000000;
    g_ready.store(false);
    if (pthread_kill(g_guiThread, kSampleSignal) != 0) return;
    for (int i = 0; i < 100 && !g_ready.load(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    if (!g_ready.load()) return;
    Sample sample;
    sample.gapMsAtSample = gapMs;
    {
        std::lock_guard<std::mutex> lock(g_sampleMutex);
        sample.phase = g_phaseName;
    }
    const int count = g_frameCount.load();
    char** symbols = backtrace_symbols(g_frames, count);
    // The first two frames are the handler and the signal trampoline.
    for (int i = 2; symbols && i < count; ++i)
        sample.frames << readable(symbols[i]);
    std::free(symbols);
    samples_.append(sample);
}
