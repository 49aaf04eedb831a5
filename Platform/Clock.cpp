#include "Platform/Clock.h"

#include <QTimeZone>
#include <optional>

namespace Clock {

namespace {
QDateTime fixed;
std::optional<QString> zoneName;
} // namespace

QDateTime now() { return fixed.isValid() ? fixed : QDateTime::currentDateTime(); }
QDate today() { return now().date(); }
QTime time() { return now().time(); }
void setNow(const QDateTime& moment) { fixed = moment; }

QString standardZoneName() {
    if (zoneName) return *zoneName;
    return QString::fromLatin1(QTimeZone::ianaIdToWindowsId(QTimeZone::systemTimeZoneId()));
}
void setStandardZoneName(const QString& name) { zoneName = name; }
void resetStandardZoneName() { zoneName.reset(); }

} // namespace Clock
