// A warning box with a repeating timer that calls its owner back on every tick (a count-down).
#pragma once

#include <QMessageBox>
#include <QTimer>
#include <functional>

class TimerMessageBox : public QMessageBox {
    Q_OBJECT
public:
    // The box deletes itself when closed; the timer and the callback go with it.
    TimerMessageBox(QWidget* parent, const QString& title, const QString& text);

    // Calls callback every interval milliseconds until stop() or the box closes.
    void start(int intervalMs, std::function<void()> callback);
    void stop() { timer_.stop(); }
    bool running() const { return timer_.isActive(); }

    // Every tick (a second by default) seconds counts down by one and the text becomes
    // textFor(seconds); the timer stops after the text for 0 was shown.
    void startCountdown(int seconds, std::function<QString(int remaining)> textFor,
                        int tickMs = 1000);

private:
    QTimer timer_;
    std::function<void()> callback_;
    int remaining_ = 0;
};
