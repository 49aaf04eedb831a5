#include "Platform/UpDown.h"

#include "Platform/Form.h"
#include "Platform/Keys.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QTimer>

namespace {
// Held buttons step again after this pause, then at the faster pace.
constexpr int firstRepeatMs = 400;
constexpr int repeatMs = 80;
// PageUp and PageDown step by ten where the range holds more steps than this.
constexpr int pageRange = 20;
constexpr int pageSteps = 10;

// What a screen reader is told: a spin box with a name and a value.
class AccessibleUpDown : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit AccessibleUpDown(UpDown* w) : QAccessibleWidget(w, QAccessible::SpinBox) {}
    UpDown* upDown() const { return static_cast<UpDown*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return QString::number(upDown()->Value());
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QVariant currentValue() const override { return upDown()->Value(); }
    void setCurrentValue(const QVariant& v) override { upDown()->setValue(v.toInt()); }
    QVariant maximumValue() const override { return upDown()->Max(); }
    QVariant minimumValue() const override { return upDown()->Min(); }
    QVariant minimumStepSize() const override { return upDown()->Increment(); }
};

QAccessibleInterface* accessibleUpDown(const QString& key, QObject* o) {
    if (key == QLatin1String("UpDown"))
        if (auto* w = qobject_cast<UpDown*>(o)) return new AccessibleUpDown(w);
    return nullptr;
}
} // namespace

UpDown::UpDown(QWidget* parent) : QWidget(parent), repeatTimer_(new QTimer(this)) {
    static const bool factory = (QAccessible::installFactory(accessibleUpDown), true);
    Q_UNUSED(factory);
    setFocusPolicy(Qt::StrongFocus);
    connect(repeatTimer_, &QTimer::timeout, this, &UpDown::repeat);
}

void UpDown::setValue(int v) { assign(qMax(min_, qMin(max_, v))); }

void UpDown::assign(int v) {
    if (v == value_) return;
    value_ = v;
    QAccessibleValueChangeEvent changed(this, value_);
    QAccessible::updateAccessibility(&changed);
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

void UpDown::keyPressEvent(QKeyEvent* e) {
    const bool paged = (max_ - min_) / increment_ > pageRange;
    switch (e->key()) {
    case Qt::Key_Up: keyStep(+1, 1, Keys::shiftState(e->modifiers())); break;
    case Qt::Key_Down: keyStep(-1, 1, Keys::shiftState(e->modifiers())); break;
    case Qt::Key_PageUp:
        if (!paged) return QWidget::keyPressEvent(e);
        keyStep(+1, pageSteps, Keys::shiftState(e->modifiers()));
        break;
    case Qt::Key_PageDown:
        if (!paged) return QWidget::keyPressEvent(e);
        keyStep(-1, pageSteps, Keys::shiftState(e->modifiers()));
        break;
    default: return QWidget::keyPressEvent(e);
    }
    e->accept();
}

void UpDown::keyStep(int direction, int steps, int shift) {
    // The middle of the button the key stands for, as a click there gives.
    const int x = width() / 2 * Form::twipsPerPixel;
    const int y = (direction > 0 ? height() / 4 : height() * 3 / 4) * Form::twipsPerPixel;
    cancelled_ = false;
    keyStep_ = true;
    QPointer<UpDown> self(this);
    if (onMouseDown) onMouseDown(1, shift, x, y);
    if (!self) return;
    if (!cancelled_)
        for (int i = 0; i < steps && self; ++i) step(direction);
    if (self && onMouseUp) onMouseUp(1, shift, x, y);
    if (self) keyStep_ = false;
}

void UpDown::focusInEvent(QFocusEvent* e) {
    update();
    QWidget::focusInEvent(e);
}

void UpDown::focusOutEvent(QFocusEvent* e) {
    update();
    QWidget::focusOutEvent(e);
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
    // The style's focus frame shows only after Tab; this one shows however
    // the spinner took the focus.
    if (hasFocus()) {
        p.setPen(QPen(palette().color(QPalette::Highlight), 2));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
    }
}
