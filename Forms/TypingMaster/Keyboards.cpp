#include "Forms/TypingMaster/Keyboards.h"

#include "Platform/KeyboardLayout.h"

#include <QHash>

namespace Keyboards {

namespace {

// The letter keys of one row, as they stand on the keyboard.
QList<Key> letters(const char* row) {
    QList<Key> keys;
    for (const char* c = row; *c; ++c)
        keys << Key{int(*c), *c == 'I' ? QStringLiteral(" I") : QString(QLatin1Char(*c))};
    return keys;
}

QList<QList<Key>> usRows() {
    QList<Key> number{{96, QStringLiteral("~  `")},   {49, QStringLiteral("!   1")}, {50, QStringLiteral("@   2")},
                      {51, QStringLiteral("#   3")},  {52, QStringLiteral("$   4")}, {53, QStringLiteral("%   5")},
                      {54, QStringLiteral("^   6")},  {55, QStringLiteral("&   7")}, {56, QStringLiteral("*   8")},
                      {57, QStringLiteral("(   9")},  {48, QStringLiteral(")   0")}, {45, QStringLiteral("_   -")},
                      {61, QStringLiteral("+   =")},  {8, QStringLiteral("Back"), 2}};
    QList<Key> tab{{9, QStringLiteral("Tab"), 1.5}};
    tab << letters("QWERTYUIOP") << Key{91, QStringLiteral("{   [")} << Key{93, QStringLiteral("}   ]")}
        << Key{92, QStringLiteral("|     \\"), 1.5};
    QList<Key> caps{{0, QStringLiteral("Caps Lock"), 1.75}};
    caps << letters("ASDFGHJKL") << Key{59, QStringLiteral(":   ;")} << Key{39, QStringLiteral("\"   '")}
         << Key{13, QStringLiteral("Enter"), 2.25};
    QList<Key> shift{{2, QStringLiteral("Shift"), 2.25}};
    shift << letters("ZXCVBNM") << Key{44, QStringLiteral("<   ,")} << Key{46, QStringLiteral(">   .")}
          << Key{47, QStringLiteral("?   /")} << Key{3, QStringLiteral("Shift"), 2.75};
    const QList<Key> bottom{{4, QStringLiteral("Ctrl"), 2},
                            {6, QStringLiteral("Alt"), 1.5},
                            {32, QStringLiteral("Space Bar"), 8},
                            {7, QStringLiteral("Alt"), 1.5},
                            {5, QStringLiteral("Ctrl"), 2}};
    return {number, tab, caps, shift, bottom};
}

QList<QList<Key>> germanRows() {
    QList<Key> number{{94, QString::fromUtf8("°  ^")},     {49, QStringLiteral("!   1")},
                      {50, QStringLiteral("\"   2")},      {51, QString::fromUtf8("§   3")},
                      {52, QStringLiteral("$   4")},       {53, QStringLiteral("%   5")},
                      {54, QStringLiteral("&   6")},       {55, QStringLiteral("/   7")},
                      {56, QStringLiteral("(   8")},       {57, QStringLiteral(")   9")},
                      {48, QStringLiteral("=   0")},       {223, QString::fromUtf8("?   ß")},
                      {180, QString::fromUtf8("`   ´")},   {8, QString::fromUtf8("Zurück"), 2}};
    QList<Key> tab{{9, QStringLiteral("Tab"), 1.5}};
    tab << letters("QWERTZUIOP") << Key{220, QString::fromUtf8("Ü")} << Key{43, QStringLiteral("*   +")}
        << Key{35, QStringLiteral("'     #"), 1.5};
    QList<Key> caps{{0, QStringLiteral("Sperr Taste"), 1.75}};
    caps << letters("ASDFGHJKL") << Key{214, QString::fromUtf8("Ö")} << Key{196, QString::fromUtf8("Ä")}
         << Key{13, QStringLiteral("Eingabe"), 2.25};
    // No key between the left Shift key and Y.
    QList<Key> shift{{2, QStringLiteral("Umschalt"), 2.25}};
    shift << letters("YXCVBNM") << Key{44, QStringLiteral(";   ,")} << Key{46, QStringLiteral(":   .")}
          << Key{45, QStringLiteral("_   -")} << Key{3, QStringLiteral("Umschalt"), 2.75};
    const QList<Key> bottom{{4, QStringLiteral("Strg"), 2},
                            {6, QStringLiteral("Alt"), 1.5},
                            {32, QStringLiteral("Leertaste"), 8},
                            {7, QStringLiteral("Alt"), 1.5},
                            {5, QStringLiteral("Strg"), 2}};
    return {number, tab, caps, shift, bottom};
}

// Shifted characters (and, German, the small umlauts) by the key they lie on.
const QHash<int, int>& shifted(Layout layout) {
    static const QHash<int, int> us{{'~', 96},  {'!', '1'}, {'@', '2'}, {'#', '3'}, {'$', '4'}, {'%', '5'},
                                    {'^', '6'}, {'&', '7'}, {'*', '8'}, {'(', '9'}, {')', '0'}, {'_', '-'},
                                    {'+', '='}, {'{', '['}, {'}', ']'}, {'|', '\\'}, {':', ';'}, {'"', '\''},
                                    {'<', ','}, {'>', '.'}, {'?', '/'}};
    static const QHash<int, int> german{{176, '^'}, {'!', '1'}, {'"', '2'}, {167, '3'}, {'$', '4'}, {'%', '5'},
                                        {'&', '6'}, {'/', '7'}, {'(', '8'}, {')', '9'}, {'=', '0'}, {'?', 223},
                                        {96, 180},  {'*', '+'}, {'\'', '#'}, {';', ','}, {':', '.'}, {'_', '-'},
                                        {252, 220}, {246, 214}, {228, 196}};
    return layout == Layout::German ? german : us;
}

} // namespace

QList<QList<Key>> rows(Layout layout) { return layout == Layout::German ? germanRows() : usRows(); }

int keyFor(Layout layout, int code) {
    const int k = shifted(layout).value(code, code);
    return k >= 'a' && k <= 'z' ? k - 32 : k;
}

Layout layoutOf(const QString& keyboardLanguage) {
    return keyboardLanguage == QLatin1String("0407") ? Layout::German : Layout::US;
}

QString keyboardLanguage() {
    return KeyboardLayout::isGerman() ? QStringLiteral("0407") : QStringLiteral("0409");
}

} // namespace Keyboards

namespace KeyboardLayoutSeam {
void choose(const QString& languageId) { setGerman(languageId == QLatin1String("0407")); }
void clear() { setGerman(std::nullopt); }
} // namespace KeyboardLayoutSeam
