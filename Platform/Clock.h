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
// The Windows standard-time name of a zone ID. An alias (US/Pacific,
// Canada/Eastern, America/Indiana/Indianapolis) has none of its own and is
// resolved through its canonical zone, then through its country.
QString windowsZoneName(const QByteArray& ianaId);
void resetStandardZoneName();

} // namespace Clock
