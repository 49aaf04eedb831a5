#pragma once
// Proportional resizing: a window that may be resized keeps every control
// in proportion to its size.
class Form;

// Called from the window's resize handler with the size (twips) it had
// before: every control's left edge and width follow the change of the
// window's width, its top, height and font size the change of its height.
// Then the window's present size is stored in both arguments. Does nothing
// when either argument is below 1.
//
// Each control is scaled from the geometry it had when it was first seen
// (or last placed by the window's own code), so repeated resizes do not
// add up rounding errors.
void ResizeControls(Form* frm, int& oldWidth, int& oldHeight);
