// One progress value 0..100 for a job of several stages. Each stage owns a band of the range
// and advances through it by equal steps, one per finished item.
#pragma once

#include <QObject>

class ProgressReporter : public QObject {
    Q_OBJECT
public:
    explicit ProgressReporter(QObject* parent = nullptr);

    // Starts a stage over [begin, end] with that many items; value becomes begin and nothing is
    // emitted. With no items the step is infinite: the stage is expected to finish no item.
    void beginStage(int begin, int end, int items);
    // One item done: value += step, then signalProgress with the value rounded half away from
    // zero. A step past the stage's items cannot report beyond the band's end.
    void step();

    int begin() const { return begin_; }
    int end() const { return end_; }
    float stepSize() const { return step_; }
    float value() const { return value_; }
    // The value as emitted: rounded half away from zero, kept within [begin, end].
    int rounded() const;

signals:
    void signalProgress(int val);

private:
    int begin_ = 0;
    int end_ = 0;
    float step_ = 0.0f;
    float value_ = 0.0f;
};
