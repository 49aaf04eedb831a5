#include "Platform/Runtime.h"

#include <QRegularExpression>
#include <optional>

namespace Runtime {

namespace {
std::optional<QLocale>& override() {
    static std::optional<QLocale> l;
    return l;
}
} // namespace

QLocale locale() { return override() ? *override() : QLocale::system(); }
void setLocale(const QLocale& l) { override() = l; }
void resetLocale() { override().reset(); }

QString shortDate(const QDate& d) {
    QString fmt = locale().dateFormat(QLocale::ShortFormat);
    // Later code reads the year from the last four characters, so a
    // two-digit year pattern is widened to four digits.
    static const QRegularExpression twoDigitYear(QStringLiteral("(?<!y)yy(?!y)"));
    fmt.replace(twoDigitYear, QStringLiteral("yyyy"));
    return locale().toString(d, fmt);
}

QString longDate(const QDate& d) { return locale().toString(d, QLocale::LongFormat); }

QString timeText(const QTime& t) {
    // The long time format ends in the zone name ("t"); the clock shows none.
    QString fmt = locale().timeFormat(QLocale::LongFormat);
    static const QRegularExpression zone(QStringLiteral("\\s*\\(?t+\\)?"));
    fmt.remove(zone);
    return locale().toString(t, fmt.trimmed());
}

QString formatDate(const QDate& d, const QString& pattern) {
    QString out;
    for (int i = 0; i < pattern.size();) {
        auto run = [&](QChar c) {
            int n = 0;
            while (i + n < pattern.size() && pattern[i + n].toLower() == c) ++n;
            return n;
        };
        const QChar c = pattern[i].toLower();
        if (c == u'd' || c == u'm' || c == u'y') {
            const int n = run(c);
            if (c == u'd') out += n >= 2 ? QString::asprintf("%02d", d.day()) : QString::number(d.day());
            else if (c == u'm') out += n >= 2 ? QString::asprintf("%02d", d.month()) : QString::number(d.month());
            else out += n >= 3 ? QString::asprintf("%04d", d.year()) : QString::asprintf("%02d", d.year() % 100);
            i += n;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

} // namespace Runtime
