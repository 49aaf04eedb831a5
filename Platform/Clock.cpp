#include "Platform/Clock.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>
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

DayWatch::DayWatch(QObject* parent) : QObject(parent), day_(today()) {
    timer_.setInterval(1000);
    connect(&timer_, &QTimer::timeout, this, &DayWatch::look);
    timer_.start();
}

void DayWatch::look() {
    const QDate now = today();
    if (now == day_) return;
    day_ = now;
    emit dayChanged(now);
}

namespace {
const QString zoneInfo = QStringLiteral("/usr/share/zoneinfo");

// tzdata's alias links ("L America/Los_Angeles US/Pacific"), read once.
const QHash<QByteArray, QByteArray>& aliasLinks() {
    static const QHash<QByteArray, QByteArray> links = [] {
        QHash<QByteArray, QByteArray> l;
        QFile f(zoneInfo + QStringLiteral("/tzdata.zi"));
        if (!f.open(QIODevice::ReadOnly)) return l;
        while (!f.atEnd()) {
            const QByteArray line = f.readLine().trimmed();
            if (!line.startsWith("L ")) continue;
            const QList<QByteArray> parts = line.split(' ');
            if (parts.size() >= 3) l.insert(parts[2], parts[1]);
        }
        return l;
    }();
    return links;
}

// The zone an alias stands for: tzdata's link, else the file the zone's
// entry in the zone folder points to; the ID itself when neither knows it.
QByteArray canonicalZone(QByteArray id) {
    for (int hop = 0; hop < 4 && aliasLinks().contains(id); ++hop) id = aliasLinks().value(id);
    const QString target = QFileInfo(zoneInfo + u'/' + QString::fromLatin1(id)).canonicalFilePath();
    const QString prefix = QFileInfo(zoneInfo).canonicalFilePath() + u'/';
    if (!target.isEmpty() && target.startsWith(prefix)) return target.mid(prefix.size()).toLatin1();
    return id;
}

// The Windows name of any ID that stands for the same zone: tzdata and
// Qt's table do not always agree on which of two names is the canonical one
// (America/Indiana/Indianapolis and America/Indianapolis).
QByteArray windowsNameOfSameZone(const QByteArray& id) {
    const QByteArray canonical = canonicalZone(id);
    QByteArray windows = QTimeZone::ianaIdToWindowsId(canonical);
    for (auto it = aliasLinks().cbegin(); windows.isEmpty() && it != aliasLinks().cend(); ++it)
        if (canonicalZone(it.key()) == canonical) windows = QTimeZone::ianaIdToWindowsId(it.key());
    return windows;
}
} // namespace

QString windowsZoneName(const QByteArray& ianaId) {
    QByteArray windows = QTimeZone::ianaIdToWindowsId(ianaId);
    if (windows.isEmpty()) windows = windowsNameOfSameZone(ianaId);
    if (windows.isEmpty()) {
        // Last resort: a zone of the same country that has a Windows name.
        const QLocale::Territory country = QTimeZone(ianaId).territory();
        if (country != QLocale::AnyTerritory)
            for (const QByteArray& other : QTimeZone::availableTimeZoneIds(country)) {
                windows = QTimeZone::ianaIdToWindowsId(other);
                if (!windows.isEmpty()) break;
            }
    }
    return QString::fromLatin1(windows);
}

QString standardZoneName() {
    if (zoneName) return *zoneName;
    return windowsZoneName(QTimeZone::systemTimeZoneId());
}
void setStandardZoneName(const QString& name) { zoneName = name; }
void resetStandardZoneName() { zoneName.reset(); }

} // namespace Clock
