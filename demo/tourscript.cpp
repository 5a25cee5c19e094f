#include "tourscript.h"

#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <cstdio>

namespace {

// The part of the screen the program's visible windows cover.
QRect windowsArea() {
    QRect area;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && !window->inherits("QMenu")) area |= window->frameGeometry();
    }
    return area;
}

}  // namespace

TourScript::TourScript(const QString& shotsDir, int stepTimeoutMs, FILE* narration, QObject* parent)
    : QObject(parent), shotsDir_(shotsDir), stepTimeoutMs_(stepTimeoutMs), narration_(narration) {
    ticker_.setInterval(50);
    connect(&ticker_, &QTimer::timeout, this, &TourScript::tick);
}

void TourScript::add(const QString& what, const Condition& ready, const Action& act,
                     const QString& shot) {
    steps_.append({what, ready, act, shot});
}

void TourScript::start() {
    next_ = 0;
    waiting_.start();
    ticker_.start();
}

// The step index moves on before the action runs: an action that opens a modal dialog returns
// only when the dialog closes, and the ticks inside its event loop belong to the next steps.
void TourScript::tick() {
    if (next_ >= steps_.size()) return stop(QString());
    const Step step = steps_.at(next_);
    const bool ready = step.ready();
    // A state worth a screenshot must still hold one tick later, so that what just appeared has
    // been drawn on the display before it is photographed.
    const bool settled = ready && (step.shot.isEmpty() || readyBefore_);
    readyBefore_ = ready;
    if (!settled) {
        if (waiting_.elapsed() > stepTimeoutMs_)
            stop(QStringLiteral("\"%1\" did not happen within %2 s")
                     .arg(step.what)
                     .arg(stepTimeoutMs_ / 1000));
        return;
    }
    readyBefore_ = false;
    ++next_;
    std::fprintf(narration_, "tour: %s\n", qPrintable(step.what));
    std::fflush(narration_);
    if (!step.shot.isEmpty()) saveScreenshot(step.shot);
    waiting_.restart();
    if (step.act) step.act();
}

void TourScript::stop(const QString& failure) {
    if (!ticker_.isActive()) return;
    ticker_.stop();
    failure_ = failure;
    if (!failure.isEmpty()) saveScreenshot(QStringLiteral("stopped"));
    emit finished(failure.isEmpty());
}

void TourScript::saveScreenshot(const QString& name) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QRect area = windowsArea() & screen->geometry();
    const QPixmap shot = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString file = QStringLiteral("%1/%2-%3.png")
                             .arg(shotsDir_)
                             .arg(++shots_, 2, 10, QLatin1Char('0'))
                             .arg(name);
    if (!shot.save(file)) std::fprintf(narration_, "tour: could not save %s\n", qPrintable(file));
}
