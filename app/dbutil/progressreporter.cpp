#include "progressreporter.h"

#include <cmath>
#include <limits>

ProgressReporter::ProgressReporter(QObject* parent) : QObject(parent) {}

void ProgressReporter::beginStage(int begin, int end, int items) {
    begin_ = begin;
    end_ = end;
    value_ = static_cast<float>(begin);
    step_ = items > 0 ? static_cast<float>(end - begin) / static_cast<float>(items)
                      : std::numeric_limits<float>::infinity();
}

void ProgressReporter::step() {
    value_ += step_;
    emit signalProgress(rounded());
}

int ProgressReporter::rounded() const {
    // An infinite or overshooting value (more items than announced) must not leave the band;
    // converting an infinity to int would be undefined.
    const float lo = static_cast<float>(begin_ < end_ ? begin_ : end_);
    const float hi = static_cast<float>(begin_ < end_ ? end_ : begin_);
    if (std::isnan(value_)) return begin_;
    const float kept = value_ < lo ? lo : (value_ > hi ? hi : value_);
    return static_cast<int>(std::lround(kept));
}

// Keeps the meta-object code in this object file, apart from the other classes of the library.
#include "moc_progressreporter.cpp"
