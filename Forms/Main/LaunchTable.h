#pragma once
// What the menu's tool controls do when clicked. Each row names a control
// of the menu, the sound first (a tune, or the music stopped) and the
// window shown then: created on first use, brought forward when it is
// already open, modeless unless the row says modal. A tool joins the menu
// by naming its window in its row (toolWindow<class frmX>); a row without
// a window only plays its sound.
#include "Platform/Form.h"

#include <QList>

class frmChoice;
class QObject;
class QWidget;

struct LaunchRow {
    // The control clicked, on the given menu.
    QWidget* (*control)(class frmChoice* menu);
    // The tune played first, a bare name in the Sound folder; nullptr stops the music.
    const char* tune;
    // The window shown; nullptr for none.
    Form* (*window)();
    bool modal;
};

// The window of tool T, created on first use.
template <class T> Form* toolWindow() { return touchForm<T>(); }

// Every row, in the order of the menu's controls.
const QList<LaunchRow>& LaunchTable();
// The row of a control of the menu; nullptr when it opens nothing.
const LaunchRow* LaunchRowOf(class frmChoice* menu, const QObject* control);
// What a click on the row's control does: the tune or the stop, for a
// converter label the reset of the hover borders, then the window.
void Launch(class frmChoice* menu, const LaunchRow& row);
