#pragma once
// Today, now and the computer's time zone, replaceable by tests.
#include <QDateTime>
#include <QString>

namespace Clock {

QDate today();
QTime time();
QDateTime now();
// Fixes the clock at a moment (tests); an invalid value returns to the real clock.
void setNow(const QDateTime& moment);

// The Windows standard-time name of the computer's time zone
// ("Pacific Standard Time", "W. Europe Standard Time"; "" when unknown).
QString standardZoneName();
void setStandardZoneName(const QString& name);
void resetStandardZoneName();

} // namespace Clock
