#include "Platform/Fonts.h"

#include <QFontMetrics>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace Fonts {

void registerSubstitutes() {
    static bool done = false;
    if (done) return;
    done = true;
    const QStringList sans{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans"), QStringLiteral("Sans Serif")};
    const QStringList condensed{QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
                                QStringLiteral("Sans Serif")};
    const QStringList serif{QStringLiteral("DejaVu Serif"), QStringLiteral("Liberation Serif"), QStringLiteral("Serif")};
    const QStringList mono{QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"), QStringLiteral("Monospace")};
    for (const char* name : {"MS Sans Serif", "Arial", "Tahoma", "Verdana", "Comic Sans MS", "Webdings", "Wingdings",
                             "Wingdings 2", "Symbol", "Showcard Gothic"})
        QFont::insertSubstitutions(QString::fromLatin1(name), sans);
    for (const char* name : {"Haettenschweiler", "Arial Narrow", "Impact"})
        QFont::insertSubstitutions(QString::fromLatin1(name), condensed);
    for (const char* name : {"Times New Roman", "Georgia"})
        QFont::insertSubstitutions(QString::fromLatin1(name), serif);
    for (const char* name : {"Courier New", "Courier", "Lucida Console", "Fixedsys"})
        QFont::insertSubstitutions(QString::fromLatin1(name), mono);
}

QFont font(const QString& family, double pointSize, bool bold) {
    registerSubstitutes();
    QFont f(family);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    // The narrow display fonts are drawn condensed and heavy.
    if (family == QLatin1String("Haettenschweiler")) {
        f.setBold(true);
        f.setStretch(QFont::Condensed);
    }
    return f;
}

QString symbol(const QString& family, QChar c) {
    static const QHash<QString, QHash<QChar, QString>> maps{
        {QStringLiteral("Webdings"),
         {{u'3', QStringLiteral("◀")}, {u'4', QStringLiteral("▶")}, {u'5', QStringLiteral("▲")},
          {u'6', QStringLiteral("▼")}, {u'r', QStringLiteral("✖")}, {u'0', QStringLiteral("🗕")},
          {u'1', QStringLiteral("🗖")}, {u'2', QStringLiteral("🗗")}, {u'a', QStringLiteral("✔")},
          {u'=', QStringLiteral("▬")}, {u'<', QStringLiteral("◄")}, {u'>', QStringLiteral("►")}}},
        {QStringLiteral("Wingdings 2"),
         {{u'P', QStringLiteral("✔")}, {u'O', QStringLiteral("✘")}, {u'Q', QStringLiteral("✗")}}},
    };
    const auto m = maps.find(family);
    if (m == maps.end()) return QString(c);
    return m->value(c, QString(c));
}

QFont fitted(QFont font, const QString& text, int room, double smallest, double step) {
    const double start = font.pointSizeF();
    if (start <= smallest) return font;
    auto width = [&](double size) {
        font.setPointSizeF(size);
        return QFontMetrics(font).horizontalAdvance(text);
    };
    const int whole = width(start);
    if (whole <= room) return font;
    // The sizes tried are start - k * step for k = 1 .. last, the last the
    // first one at or below `smallest`; the result is the first that fits,
    // else the last. A long text costs time in step with its length at
    // every measurement, so the sizes are halved rather than walked: the
    // first try is where the width in proportion to the size would fit,
    // the second its neighbour, so a fit takes about three measurements.
    const int last = int(std::ceil((start - smallest) / step - 1e-9));
    auto size = [&](int k) { return start - k * step; };
    const double proportional = start * room / std::max(whole, 1);
    int lo = 1, hi = last; // the result lies in [lo, hi]; size(hi) fits, or hi is the last
    int probe = int(std::ceil((start - proportional) / step - 1e-9));
    for (int tries = 1; lo < hi; ++tries) {
        probe = std::clamp(probe, lo, hi - 1);
        const bool fits = width(size(probe)) <= room;
        if (fits) hi = probe;
        else lo = probe + 1;
        probe = tries == 1 ? (fits ? hi - 1 : lo) : lo + (hi - lo) / 2;
    }
    font.setPointSizeF(size(hi));
    return font;
}

} // namespace Fonts
