#include "Platform/Fonts.h"

#include <QFontMetrics>
#include <QHash>

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
    while (font.pointSizeF() > smallest && QFontMetrics(font).horizontalAdvance(text) > room)
        font.setPointSizeF(font.pointSizeF() - step);
    return font;
}

} // namespace Fonts
