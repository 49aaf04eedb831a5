#pragma once
// Window effects of the menu: fade-in, the shrink on exit, hook clean-up,
// and the colour translation of the paint routines.
#include <QSizeF>
#include <functional>

class Form;

// Shows the window, blending it in over 300 ms, and makes it the active one.
void FadeInWindow(Form* frm);
// Shrinks the window by 50 twips in each direction per step, centred on
// the screen, until one side is 50 twips or less, letting events run in
// every step; the number of steps is the window's height in twips / 12.
// Then unloads the window. While a window shrinks, a second call for it
// returns at once.
void ImplodeForm(Form* frm);
// True while ImplodeForm is shrinking the window.
bool IsImploding(const Form* frm);
// Undoes a replaced window procedure; this program replaces none, so there
// is nothing to undo.
void RemoveAnimHook(Form* frm);
// The plain 0xBBGGRR colour of a colour value: plain colours as they are,
// system colours (0x80000000 + index) from the desktop's palette; 0 for a
// value that names no colour.
int TranslateColor(int color);

namespace ImplodeSeam {
// Tests: called after every step of ImplodeForm with the step number and
// the window's size in twips.
void setStepHook(std::function<void(int step, QSizeF twips)> hook);
}
