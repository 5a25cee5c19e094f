#include "timermessagebox.h"

TimerMessageBox::TimerMessageBox(QWidget* parent, const QString& title, const QString& text)
    : QMessageBox(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent,
                  Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
    setAttribute(Qt::WA_DeleteOnClose);
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (callback_) callback_();
    });
}

void TimerMessageBox::start(int intervalMs, std::function<void()> callback) {
    callback_ = std::move(callback);
    timer_.setInterval(intervalMs);
    timer_.setSingleShot(false);
    timer_.start();
}

void TimerMessageBox::startCountdown(int seconds, std::function<QString(int)> textFor,
                                     int tickMs) {
    remaining_ = qMax(0, seconds);
    start(tickMs, [this, textFor = std::move(textFor)] {
        remaining_ = qMax(0, remaining_ - 1);
        setText(textFor(remaining_));
        if (remaining_ == 0) stop();
    });
}
