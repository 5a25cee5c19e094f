// The random hand on the window: every few tens of milliseconds one click, double-click, typed
// word or key on whatever is on top (a box, a file dialog, a menu, a dialog or the window),
// always through the widget really under the pointer, so the busy overlay blocks it as it
// blocks an operator.
#pragma once

#include <QObject>
#include <QPoint>
#include <QTimer>
#include <random>

class QWidget;

namespace monkey {

class Fleet;

class Driver : public QObject {
public:
    Driver(QWidget& window, Fleet& fleet, quint32 seed);
    void stop();
    long long events() const { return events_; }

private:
    void act();
    void actOn(QWidget* top);
    void answerFileDialog(QWidget* dialog);
    void clickAt(QWidget* top, const QPoint& global, bool twice);
    void typeInto(QWidget* edit);
    void pressKey(QWidget* top);
    QWidget* pickTopLevel();
    QWidget* pickByName(const QList<QWidget*>& widgets);
    // With MONKEY_TRACE set, each action is printed (for replaying a failure by eye).
    void trace(const char* action, const QWidget* target) const;
    int below(int n) { return int(rng_() % quint32(n)); }

    QWidget& window_;
    Fleet& fleet_;
    std::mt19937 rng_;
    QTimer timer_;
    int depth_ = 0;
    const bool tracing_;
    bool stopped_ = false;
    long long events_ = 0;
};

}  // namespace monkey
