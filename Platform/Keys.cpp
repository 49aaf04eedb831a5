#include "Platform/Keys.h"

#include "Platform/Ansi.h"

namespace Keys {

int keyCode(const QKeyEvent* e) {
    const int k = e->key();
    const bool keypad = e->modifiers() & Qt::KeypadModifier;
    if (keypad) {
        if (k >= Qt::Key_0 && k <= Qt::Key_9) return vbKeyNumpad0 + (k - Qt::Key_0);
        switch (k) {
        case Qt::Key_Asterisk: return vbKeyMultiply;
        case Qt::Key_Plus: return vbKeyAdd;
        case Qt::Key_Minus: return vbKeySubtract;
        case Qt::Key_Period:
        case Qt::Key_Comma: return vbKeyDecimal;
        case Qt::Key_Slash: return vbKeyDivide;
        case Qt::Key_Enter: return vbKeyReturn;
        default: break;
        }
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return '0' + (k - Qt::Key_0);
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return vbKeyF1 + (k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return vbKeyBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return vbKeyTab;
    case Qt::Key_Return:
    case Qt::Key_Enter: return vbKeyReturn;
    case Qt::Key_Shift: return vbKeyShift;
    case Qt::Key_Control: return vbKeyControl;
    case Qt::Key_Escape: return vbKeyEscape;
    case Qt::Key_Space: return vbKeySpace;
    case Qt::Key_Left: return vbKeyLeft;
    case Qt::Key_Up: return vbKeyUp;
    case Qt::Key_Right: return vbKeyRight;
    case Qt::Key_Down: return vbKeyDown;
    case Qt::Key_Delete: return vbKeyDelete;
    case Qt::Key_Home: return 36;
    case Qt::Key_End: return 35;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Plus: return 187;
    case Qt::Key_Comma: return 188;
    case Qt::Key_Minus: return 189;
    case Qt::Key_Period: return 190;
    default: return k < 256 ? k : 0;
    }
}

int keyAscii(const QKeyEvent* e) {
    const int k = e->key();
    if (k == Qt::Key_Backspace) return 8;
    if (k == Qt::Key_Return || k == Qt::Key_Enter) return 13;
    if (k == Qt::Key_Escape) return 27;
    if ((e->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z) return 1 + (k - Qt::Key_A);
    const QString t = e->text();
    if (t.isEmpty() || t[0].unicode() < 32 || t[0].unicode() == 127) return -1;
    return Ansi::code(t[0]);
}

int shiftState(Qt::KeyboardModifiers m) {
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0);
}

int mouseButtons(Qt::MouseButtons b) {
    return (b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0);
}

int mouseButton(Qt::MouseButton b) { return mouseButtons(Qt::MouseButtons(b)); }

int qtKeyForAscii(int ascii) {
    if (ascii == 8) return Qt::Key_Backspace;
    if (ascii == 13) return Qt::Key_Return;
    if (ascii == 27) return Qt::Key_Escape;
    if (ascii >= 'a' && ascii <= 'z') return Qt::Key_A + (ascii - 'a');
    if (ascii >= 32 && ascii < 127) return ascii;
    return Qt::Key_unknown;
}

bool handlerDrops(const std::function<void(int&, int)>& handler, const QKeyEvent* e) {
    if (!handler) return false;
    const int pressed = keyCode(e);
    int code = pressed;
    handler(code, shiftState(e->modifiers()));
    return code == 0 && pressed != 0;
}

} // namespace Keys
