#pragma once
// Key and mouse values as the program's handlers know them: key codes
// (Enter 13, Delete 46, arrows 37-40, letters by their capital, digits
// 48-57, keypad digits 96-105, keypad point 110), typed characters by their
// Windows-1252 code (Backspace 8, Enter 13, Esc 27, Ctrl+letter 1-26),
// shift state (1 Shift, 2 Ctrl, 4 Alt) and buttons (1 left, 2 right, 4 middle).
#include <QKeyEvent>
#include <functional>

namespace Keys {

enum {
    vbKeyBack = 8, vbKeyTab = 9, vbKeyReturn = 13, vbKeyShift = 16, vbKeyControl = 17, vbKeyEscape = 27,
    vbKeySpace = 32, vbKeyLeft = 37, vbKeyUp = 38, vbKeyRight = 39, vbKeyDown = 40, vbKeyDelete = 46,
    vbKeyNumpad0 = 96, vbKeyMultiply = 106, vbKeyAdd = 107, vbKeySubtract = 109, vbKeyDecimal = 110,
    vbKeyDivide = 111, vbKeyF1 = 112,
};
// The bits of a shift state.
enum { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

int keyCode(const QKeyEvent* e);
// The character code the key types, or -1 when it types none
// (Delete, Tab, arrows, function keys).
int keyAscii(const QKeyEvent* e);
int shiftState(Qt::KeyboardModifiers m);
int mouseButtons(Qt::MouseButtons b);
int mouseButton(Qt::MouseButton b);
// The Qt key that types the given character code (for replaced characters).
int qtKeyForAscii(int ascii);

// Runs a key-down or key-up handler (key code, shift) on the event; true
// when it dropped the key by setting the code to 0. Keys without a key code
// of their own (AltGr+E gives "€") always pass.
bool handlerDrops(const std::function<void(int&, int)>& handler, const QKeyEvent* e);

} // namespace Keys
