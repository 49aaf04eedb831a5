#pragma once
// Fonts by the names the windows ask for. Fonts that this computer lacks
// keep their names in the code and are drawn with a substitute; symbol
// fonts map to the Unicode symbols of the same pictures.
#include <QFont>
#include <QString>

namespace Fonts {
// Registers the substitutes once; called at start and by font().
void registerSubstitutes();
QFont font(const QString& family, double pointSize, bool bold = false);
// The Unicode text that stands for a character of a symbol font
// ("Webdings", "Wingdings 2"); other fonts give the character itself.
QString symbol(const QString& family, QChar c);
// `font` made smaller by whole steps until `text` fits `room` pixels wide,
// but never below `smallest` points (the step that reaches or passes it is
// the last). Found in a few measurements of the text, however long.
QFont fitted(QFont font, const QString& text, int room, double smallest = 6, double step = 0.5);
}
