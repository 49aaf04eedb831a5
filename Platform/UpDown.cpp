#include "Platform/UpDown.h"

#include "Platform/Form.h"
#include "Platform/Keys.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QTimer>

namespace {
// Held buttons step again after this pause, then at the faster pace.
constexpr int firstRepeatMs = 400;
constexpr int repeatMs = 80;
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent), repeatTimer_(new QTimer(this)) {
    setFocusPolicy(Qt::NoFocus);
    connect(repeatTimer_, &QTimer::timeout, this, &UpDown::repeat);
}

void UpDown::setValue(int v) { assign(qMax(min_, qMin(max_, v))); }

void UpDown::assign(int v) {
    if (v == value_) return;
    value_ = v;
    if (onChange) onChange();
}

void UpDown::step(int direction) {
    // A value left beyond a lowered limit moves only towards the range.
    if (direction > 0) {
        if (value_ >= max_) return;
        assign(value_ > max_ - increment_ ? max_ : value_ + increment_);
    } else {
        if (value_ <= min_) return;
        assign(value_ < min_ + increment_ ? min_ : value_ - increment_);
    }
}

int UpDown::halfAt(const QPoint& p) const { return p.y() < height() / 2 ? +1 : -1; }

void UpDown::mousePressEvent(QMouseEvent* e) {
    e->accept();
    const int direction = halfAt(e->position().toPoint());
    cancelled_ = false;
    QPointer<UpDown> self(this);
    if (onMouseDown)
        onMouseDown(Keys::mouseButton(e->button()), Keys::shiftState(e->modifiers()),
                    int(e->position().x()) * Form::twipsPerPixel, int(e->position().y()) * Form::twipsPerPixel);
    // The handler may have closed the window.
    if (!self || cancelled_ || e->button() != Qt::LeftButton) return;
    pressedDirection_ = direction;
    update();
    step(direction);
    if (self && pressedDirection_) repeatTimer_->start(firstRepeatMs);
}

void UpDown::mouseReleaseEvent(QMouseEvent* e) {
    e->accept();
    repeatTimer_->stop();
    pressedDirection_ = 0;
    update();
    if (onMouseUp)
        onMouseUp(Keys::mouseButton(e->button()), Keys::shiftState(e->modifiers()),
                  int(e->position().x()) * Form::twipsPerPixel, int(e->position().y()) * Form::twipsPerPixel);
}

void UpDown::repeat() {
    // A box opened by a handler may have taken the release.
    if (!(QGuiApplication::mouseButtons() & Qt::LeftButton) || !pressedDirection_) {
        repeatTimer_->stop();
        pressedDirection_ = 0;
        update();
        return;
    }
    repeatTimer_->setInterval(repeatMs);
    step(pressedDirection_);
}

void UpDown::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int half = height() / 2;
    const QRect parts[2] = {QRect(0, 0, width(), half), QRect(0, half, width(), height() - half)};
    for (int i = 0; i < 2; ++i) {
        const int direction = i == 0 ? +1 : -1;
        QStyleOptionButton button;
        button.initFrom(this);
        button.rect = parts[i];
        button.state |= pressedDirection_ == direction ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &button, &p, this);
        QStyleOption arrow;
        arrow.initFrom(this);
        arrow.rect = parts[i].adjusted(3, 2, -3, -2);
        style()->drawPrimitive(i == 0 ? QStyle::PE_IndicatorArrowUp : QStyle::PE_IndicatorArrowDown, &arrow, &p, this);
    }
}
