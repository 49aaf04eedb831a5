#pragma once
// A window timer: ticks on the user-interface thread (also while a modal
// box is open), an interval of 0 means stopped, and a Tag text that the
// code uses as a counter. Intervals below the platform's timer resolution
// of 16 ms tick every 16 ms.
#include <QObject>
#include <QString>
#include <QTimer>

class Timer : public QObject {
    Q_OBJECT
public:
    explicit Timer(QObject* parent = nullptr, int interval = 0, bool enabled = true);

    int Interval() const { return interval_; }
    void setInterval(int ms);
    bool Enabled() const { return enabled_; }
    void setEnabled(bool on);
    QString Tag;

    // True while the timer would tick by itself.
    bool running() const { return timer_.isActive(); }
    // One tick now, as if the interval had passed (tests step timers with it).
    void fire() { emit tick(); }

    static constexpr int resolution = 16;
    // Tests: timers tick only by fire(), never by the clock, so a slow
    // machine cannot slip an extra tick into a test.
    static void setManualTicks(bool on) { manualTicks = on; }

signals:
    void tick();

private:
    void update();
    static bool manualTicks;
    QTimer timer_;
    int interval_;
    bool enabled_;
};
