#pragma once
// The two on-screen keyboards of the typing trainer, US and German: their
// keys row by row, and which key a typed character lights.
//
// A key is known by the Windows-1252 code of its unshifted character
// (letters by their capital, Backspace 8, Tab 9, Enter 13, space bar 32),
// with the keys that type nothing numbered apart: Caps Lock 0, Shift 2
// and 3, Ctrl 4 and 5, Alt 6 and 7. Each keyboard has 58 keys.
//
// The keyboard shown is chosen by the active keyboard layout
// (Platform/KeyboardLayout.h), written as the four hexadecimal digits of a
// Windows language id: "0407" for a German layout gives the German
// keyboard, "0409" the US one.
#include <QList>
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

// The active layout's language: "0407" for a German layout, else "0409".
QString keyboardLanguage();

} // namespace Keyboards

namespace KeyboardLayoutSeam {
// From now on the layout is German for "0407", else US.
void choose(const QString& languageId);
// The computer's layout again.
void clear();
} // namespace KeyboardLayoutSeam
