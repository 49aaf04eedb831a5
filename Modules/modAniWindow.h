#pragma once
// Window effects of the menu: fade-in, the shrink on exit, hook clean-up.
class Form;

// Shows the window, blending it in over 300 ms.
void FadeInWindow(Form* frm);
// Undoes a replaced window procedure; this program replaces none, so there
// is nothing to undo.
void RemoveAnimHook(Form* frm);
