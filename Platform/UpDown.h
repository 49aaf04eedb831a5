#pragma once
// A spinner: two arrow buttons, one above the other, that step a whole
// number between a minimum and a maximum. Pressing a button first runs the
// mouse-down handler, which may cancel the step (cancelStep()); then the
// value moves by the increment, and keeps moving while the button is held.
// The change handler runs on every change of the value, also on one that
// the program makes with setValue().
// It takes the focus in the tab order; Up and Down step as a press of the
// upper or lower button does (mouse-down handler first, which may cancel
// the step, then the step, then the mouse-up handler), and where the range
// holds more than twenty steps PageUp and PageDown step by ten. Screen
// readers know it as a spin box: its accessible name (or the caption of a
// label whose buddy it is) and its value.
#include "Platform/Controls.h"

#include <QWidget>
#include <functional>

class QTimer;

class UpDown : public QWidget {
    Q_OBJECT
public:
    explicit UpDown(QWidget* parent = nullptr);

    int Value() const { return value_; }
    // Held within Min..Max; runs the change handler when the value changes.
    void setValue(int v);
    int Min() const { return min_; }
    int Max() const { return max_; }
    // A new limit leaves the value as it is; it bounds the next steps.
    void setMin(int v) { min_ = v; }
    void setMax(int v) { max_ = v; }
    int Increment() const { return increment_; }
    void setIncrement(int v) { increment_ = v > 0 ? v : 1; }

    std::function<void()> onChange;
    // Button (1 left, 2 right, 4 middle), shift, x, y in twips; runs before the step.
    MouseHandler onMouseDown;
    MouseHandler onMouseUp;
    // Called from the mouse-down handler: this press does not step.
    void cancelStep() { cancelled_ = true; }
    // True while the handlers run for a press made by a key (Up, Down,
    // PageUp, PageDown), so that they can leave the focus on the spinner.
    bool isKeyStep() const { return keyStep_; }

    QSize sizeHint() const override { return {17, 32}; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    // A press of one button by key: `steps` steps unless the mouse-down
    // handler cancels them.
    void keyStep(int direction, int steps, int shift);
    void step(int direction);
    void assign(int v);
    void repeat();
    // +1 for the upper half, -1 for the lower one.
    int halfAt(const QPoint& p) const;

    int value_ = 0, min_ = 0, max_ = 10, increment_ = 1;
    int pressedDirection_ = 0;
    bool cancelled_ = false;
    bool keyStep_ = false;
    QTimer* repeatTimer_;
};
