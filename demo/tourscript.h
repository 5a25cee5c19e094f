// A guided tour through a running program's real widgets: a list of steps, each waiting for a
// condition (bounded), then saving a screenshot and acting. The steps are checked from a timer,
// so a step can answer a modal dialog opened by the step before it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QVector>

#include <cstdio>
#include <functional>

class TourScript : public QObject {
    Q_OBJECT
public:
    using Condition = std::function<bool()>;
    using Action = std::function<void()>;

    // Each step is told on narration as it happens.
    TourScript(const QString& shotsDir, int stepTimeoutMs, FILE* narration,
               QObject* parent = nullptr);

    // shot: the screenshot's name (without number and suffix), or empty for none.
    void add(const QString& what, const Condition& ready, const Action& act,
             const QString& shot = QString());
    void start();
    // The reason the tour stopped early, empty when it ran to its end.
    QString failure() const { return failure_; }

signals:
    void finished(bool completed);

private:
    struct Step {
        QString what;
        Condition ready;
        Action act;
        QString shot;
    };

    void tick();
    void stop(const QString& failure);
    void saveScreenshot(const QString& name);

    QString shotsDir_;
    int stepTimeoutMs_;
    FILE* narration_;
    QVector<Step> steps_;
    int next_ = 0;
    bool readyBefore_ = false;  // the current step was ready at the previous tick
    int shots_ = 0;
    QTimer ticker_;
    QElapsedTimer waiting_;
    QString failure_;
};
