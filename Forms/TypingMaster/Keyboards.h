#pragma once
// The two on-screen keyboards of the typing trainer, US and German: their
// keys row by row, and which key a typed character lights.
//
// A key is known by the Windows-1252 code of its unshifted character
// (letters by their capital, Backspace 8, Tab 9, Enter 13, space bar 32),
// with the keys that type nothing numbered apart: Caps Lock 0, Shift 2
// and 3, Ctrl 4 and 5, Alt 6 and 7. Each keyboard has 58 keys.
//
// The keyboard shown is chosen by the language of the keyboard layout, as
// four hexadecimal digits of the Windows language id ("0407" German
// (Germany), "0409" English (US)): only "0407" gives the German keyboard.
#include <QList>
#include <QLocale>
#include <QString>

namespace Keyboards {

enum class Layout { US, German };

struct Key {
    int index;
    QString caption;
    // In widths of a letter key.
    double width = 1;
};

// The rows from the number row down to the space bar's row.
QList<QList<Key>> rows(Layout layout);

// The key that character code `code` lights on `layout`: a shifted
// character gives its key's unshifted character, a small letter its
// capital; any other code is its own key index. Whether the keyboard has
// that key is for the caller to see.
int keyFor(Layout layout, int code);

Layout layoutOf(const QString& keyboardLanguage);

// The Windows language id of a locale, four hexadecimal digits; "" for a
// language this program does not tell apart (the US keyboard then).
QString languageId(const QLocale& locale);

// The keyboard layout's language: the input method's locale (the system's
// when the input method has none), or the one a test chose.
QString keyboardLanguage();

} // namespace Keyboards

namespace KeyboardLayoutSeam {
// From now on keyboardLanguage() gives this id ("0407", "0409", ...).
void choose(const QString& languageId);
void clear();
} // namespace KeyboardLayoutSeam
