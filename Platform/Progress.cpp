#include "Platform/Progress.h"

#include <QProgressBar>

#include <algorithm>

namespace {
constexpr qint64 kQuiet = 250; // ms between two changes at the least
}

ProgressSteps::ProgressSteps(QProgressBar* bar, int maximum) : bar_(bar), maximum_(std::max(1, maximum)) {
    bar_->setRange(0, maximum_);
    bar_->setValue(0);
    sinceShown_.start();
}

void ProgressSteps::step(qint64 value) {
    // Compared in whole percents first: most steps end here, without a clock.
    if (value * 100 < nextPercent_ * maximum_) return;
    if (sinceShown_.elapsed() < kQuiet) return;
    show(value);
}

void ProgressSteps::show(qint64 value) {
    const int shown = int(std::clamp<qint64>(value, 0, maximum_));
    bar_->setValue(shown);
    nextPercent_ = qint64(shown) * 100 / maximum_ + 1;
    sinceShown_.restart();
}
