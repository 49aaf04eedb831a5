#pragma once
// Window effects shared by every window: dragging a borderless window,
// fading a window in, and the pressed look of picture buttons.
#include <QWidget>

namespace Effects {
// Moves the window with the mouse while the left button is held. The
// window system moves it where it can; elsewhere the window follows the
// mouse until the button is released.
void dragWindow(QWidget* window);
// Starts one move per press of the left button: the press arms it, the
// first mouse move with the button held starts the move. The window system
// then owns the mouse until release, so a second start would leave the
// window following the pointer after the button is up.
class MoveGate {
public:
    void press(int button) { armed_ = button == 1; }
    // True once per press: the caller starts the move now.
    bool move(int button) {
        if (button != 1 || !armed_) return false;
        armed_ = false;
        return true;
    }

private:
    bool armed_ = false;
};
// Shows the window, blending it in over the given time (best effort: the
// window is shown at once where the platform has no opacity).
void fadeIn(QWidget* window, int ms);
}
