#include "Platform/Timer.h"

bool Timer::manualTicks = false;

#include <algorithm>

Timer::Timer(QObject* parent, int interval, bool enabled) : QObject(parent), interval_(interval), enabled_(enabled) {
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (!manualTicks) emit tick();
    });
    update();
}

void Timer::setInterval(int ms) {
    interval_ = std::max(0, ms);
    update();
}

void Timer::setEnabled(bool on) {
    enabled_ = on;
    update();
}

void Timer::update() {
    if (enabled_ && interval_ > 0) {
        const int ms = std::max(interval_, resolution);
        // Changing the interval of a running timer restarts its period, as
        // the platform's window timers did.
        timer_.start(ms);
    } else {
        timer_.stop();
    }
}
