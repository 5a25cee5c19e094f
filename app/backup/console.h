// What a run tells its user while it works. On a terminal one live line per camera, redrawn in
// place; otherwise (cron, a pipe, a log) one plain line per finished library or camera.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>
#include <chrono>
#include <cstdio>
#include <mutex>

namespace backup {

class Console {
public:
    // out: where lines go (stderr when --json keeps stdout for the manifest).
    Console(std::FILE* out, bool live);

    static bool isTerminal(std::FILE* stream);

    void setCameras(const QStringList& addresses);
    // A camera's live state (shown on a terminal only).
    void progress(int camera, const QString& text);
    // A finished step: the camera's line on a terminal, a plain line otherwise.
    void done(int camera, const QString& text);
    // A line outside the camera table (notices, the summary).
    void note(const QString& text);
    // Leaves the table in place and the cursor below it.
    void finish();

private:
    void redraw(bool force);

    std::mutex mutex_;
    std::FILE* out_;
    const bool live_;
    QStringList cameras_;
    QVector<QString> lines_;
    bool drawn_ = false;
    std::chrono::steady_clock::time_point lastDraw_{};
};

}  // namespace backup
