#pragma once
// A progress bar moved along by long work (a listing, an interpretation).
// Its value changes only when the work has gone on by a whole percent and
// a quarter of a second has passed since the last change; the end always
// shows. Each change of a bar repaints it at once and is announced to
// screen readers: a change per row of a listing of 100,000 words would cost
// seconds and keep a reader busy for minutes.
#include <QElapsedTimer>

class QProgressBar;

class ProgressSteps {
public:
    // Sets the bar's range to 0..maximum and its value to 0.
    ProgressSteps(QProgressBar* bar, int maximum);
    // The work has reached `value` (0..maximum); the bar follows when due.
    void step(qint64 value);
    // Shows `value` at once (the end, or where the work stopped).
    void show(qint64 value);

private:
    QProgressBar* bar_;
    int maximum_;
    qint64 nextPercent_ = 1; // the percent the next change waits for
    QElapsedTimer sinceShown_;
};
