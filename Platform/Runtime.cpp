#include "Platform/Runtime.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <optional>

namespace Runtime {

namespace {
std::optional<QLocale>& override() {
    static std::optional<QLocale> l;
    return l;
}

// A two-digit year pattern ("yy" alone, not part of a longer run) widened to
// four digits. Scanned by hand: the menu's clock uses these at start, and a
// regular expression would load its engine for nothing more.
QString wideYear(QString fmt) {
    for (qsizetype i = 0; i < fmt.size();) {
        qsizetype n = 0;
        while (i + n < fmt.size() && fmt[i + n] == u'y') ++n;
        if (n == 2) {
            fmt.insert(i, QStringLiteral("yy"));
            n = 4;
        }
        i += std::max<qsizetype>(n, 1);
    }
    return fmt;
}

// A time pattern without its zone name: each run of "t", with a bracket
// around it and the blanks before it.
QString withoutZone(QString fmt) {
    for (qsizetype i = 0; i < fmt.size();) {
        if (fmt[i] != u't') {
            ++i;
            continue;
        }
        qsizetype from = i, to = i;
        while (to < fmt.size() && fmt[to] == u't') ++to;
        if (from > 0 && fmt[from - 1] == u'(') --from;
        while (from > 0 && fmt[from - 1].isSpace()) --from;
        if (to < fmt.size() && fmt[to] == u')') ++to;
        fmt.remove(from, to - from);
        i = from;
    }
    return fmt;
}
} // namespace

QLocale locale() { return override() ? *override() : QLocale::system(); }
void setLocale(const QLocale& l) { override() = l; }
void resetLocale() { override().reset(); }

QString shortDate(const QDate& d) {
    // Later code reads the year from the last four characters, so a
    // two-digit year pattern is widened to four digits.
    return locale().toString(d, wideYear(locale().dateFormat(QLocale::ShortFormat)));
}

QString longDate(const QDate& d) { return locale().toString(d, QLocale::LongFormat); }

QString timeText(const QTime& t) {
    // The long time format ends in the zone name ("t"); the clock shows none.
    return locale().toString(t, withoutZone(locale().timeFormat(QLocale::LongFormat)).trimmed());
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

// A date as the computer's date settings write it: the short date form
// (with a two- or four-digit year), or day, month and year as numbers in
// the order of that form, separated by "/", "-", "." or blanks; a two-digit
// year means 1930 to 2029. Invalid when the text is no date.
QDate dateBySettings(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty()) return {};
    const QLocale loc = locale();
    const QString form = loc.dateFormat(QLocale::ShortFormat);
    auto century = [](int year, qsizetype digits) {
        return digits <= 2 ? (year < 30 ? 2000 + year : 1900 + year) : year;
    };

    static const QRegularExpression separators(QStringLiteral("[/.\\-\\s]+"));
    const QStringList parts = t.split(separators);
    static const QRegularExpression number(QStringLiteral("^\\d{1,4}$"));
    const auto isNumber = [](const QString& p) { return number.match(p).hasMatch(); };
    if (parts.size() == 3 && std::all_of(parts.begin(), parts.end(), isNumber)) {
        // Day, month and year in the order the short form has them.
        QList<std::pair<qsizetype, QChar>> order{
            {form.indexOf(u'd'), u'd'}, {form.indexOf(u'M'), u'M'}, {form.indexOf(u'y'), u'y'}};
        std::sort(order.begin(), order.end());
        int day = 0, month = 0, year = 0;
        for (int i = 0; i < 3; ++i) {
            const int value = parts[i].toInt();
            if (order[i].second == u'd') day = value;
            else if (order[i].second == u'M') month = value;
            else year = century(value, parts[i].size());
        }
        return QDate(year, month, day);
    }
    // Forms with month names (the short form of some settings, the long form).
    const QString wide = wideYear(form);
    for (const QString& f : {wide, loc.dateFormat(QLocale::LongFormat)}) {
        const QDate d = loc.toDate(t, f);
        if (d.isValid()) return d;
    }
    return {};
}

// A date in one of the program's own fixed forms, told apart by the third
// character: "mm/dd/yyyy" or "dd.mm.yyyy" (what DateToday("medium") and the
// planner's lists write), whatever the computer's date settings.
// Read by hand: the planner reads every line's date at loading and at each
// step of its spinner, and a parse by pattern costs several times the rest.
QDate dateInProgramForm(const QString& text) {
    if (text.size() < 10) return {};
    const QChar separator = text[2];
    if ((separator != u'/' && separator != u'.') || text[5] != separator) return {};
    const auto number = [&](int from, int count) {
        int n = 0;
        for (int i = from; i < from + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9') return -1;
            n = n * 10 + (c - u'0');
        }
        return n;
    };
    const int first = number(0, 2), second = number(3, 2), year = number(6, 4);
    if (first < 0 || second < 0 || year < 0) return {};
    return separator == u'/' ? QDate(year, first, second) : QDate(year, second, first);
}

} // namespace Runtime
