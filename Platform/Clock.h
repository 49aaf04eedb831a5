#pragma once
// Today, now and the computer's time zone, replaceable by tests.
#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>

namespace Clock {

QDate today();
QTime time();
QDateTime now();
// Fixes the clock at a moment (tests); an invalid value returns to the real clock.
void setNow(const QDateTime& moment);

// Tells a window that shows today when the clock's day changes: at
// midnight, or when a change of the time zone (or of the clock) moves the
// date. The program runs across midnight; what it shows as today follows.
// It looks once a second, on the user-interface thread, so the faked clock
// of a test is seen as the real one.
class DayWatch : public QObject {
    Q_OBJECT
public:
    explicit DayWatch(QObject* parent);
    // The day it saw last.
    QDate day() const { return day_; }

signals:
    void dayChanged(const QDate& today);

private:
    void look();

    QTimer timer_;
    QDate day_;
};

// The Windows standard-time name of the computer's time zone
// ("Pacific Standard Time", "W. Europe Standard Time"; "" when unknown).
QString standardZoneName();
void setStandardZoneName(const QString& name);
// The Windows standard-time name of a zone ID. An alias (US/Pacific,
// Canada/Eastern, America/Indiana/Indianapolis) has none of its own and is
// resolved through its canonical zone, then through its country.
QString windowsZoneName(const QByteArray& ianaId);
void resetStandardZoneName();

} // namespace Clock
