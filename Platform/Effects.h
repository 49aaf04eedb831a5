#pragma once
// Window effects shared by every window: dragging a borderless window,
// fading a window in, and the pressed look of picture buttons.
#include <QWidget>

namespace Effects {
// Moves the window with the mouse while the left button is held. The
// window system moves it where it can; elsewhere the window follows the
// mouse until the button is released.
void dragWindow(QWidget* window);
// Shows the window, blending it in over the given time (best effort: the
// window is shown at once where the platform has no opacity).
void fadeIn(QWidget* window, int ms);
}
