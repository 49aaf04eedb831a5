#include "Platform/Controls.h"

#include "Platform/Ansi.h"
#include "Platform/Fonts.h"
#include "Platform/Form.h"
#include "Platform/Keys.h"
#include "Platform/TextEditing.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFocusFrame>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QValidator>
#include <QPainter>
#include <QPointer>
#include <QToolButton>

#include <limits>
#include <utility>

namespace {
int tw(qreal v) { return int(v) * Form::twipsPerPixel; }

// Runs a control's action that a screen reader called, once the call has
// returned, as the toolkit's own buttons do: an action may open a modal
// dialog, and the reader would wait for its reply until the dialog closed.
// Nothing runs if the control is gone by then.
void afterTheCall(QObject* control, std::function<void()> run) {
    QMetaObject::invokeMethod(control, std::move(run), Qt::QueuedConnection);
}

// A label or picture: a button where it has a click handler (decided when
// asked, as the handler may be set after the reader first saw it), else
// text or a picture; a label names its buddy.
class AccessibleClickSurface : public QAccessibleWidget {
public:
    explicit AccessibleClickSurface(ClickSurface* w) : QAccessibleWidget(w, QAccessible::StaticText) {}
    ClickSurface* surface() const { return static_cast<ClickSurface*>(widget()); }
    bool isButton() const { return surface()->isButton(); }

    QAccessible::Role role() const override {
        if (surface()->isToggle()) return QAccessible::CheckBox;
        if (isButton()) return QAccessible::Button;
        return surface()->pixmap().isNull() ? QAccessible::StaticText : QAccessible::Graphic;
    }
    QString text(QAccessible::Text t) const override {
        const QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) return spokenText(surface()->text());
        return s;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (surface()->isToggle()) {
            s.checkable = true;
            s.checked = surface()->isOn();
        }
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (surface()->isToggle()) names = QStringList{toggleAction(), pressAction()} + names;
        else if (isButton()) names.prepend(pressAction());
        return names;
    }
    // Run once the reader's call has returned (see afterTheCall).
    void doAction(const QString& action) override {
        ClickSurface* s = surface();
        if (s->isToggle() && (action == toggleAction() || action == pressAction())) afterTheCall(s, [s] { s->toggle(); });
        else if (action == pressAction() && isButton()) afterTheCall(s, [s] { s->click(); });
        else QAccessibleWidget::doAction(action);
    }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        if (match & QAccessible::Labelled)
            if (QAccessibleInterface* buddy = QAccessible::queryAccessibleInterface(surface()->buddy()))
                found.append({buddy, QAccessible::Labelled});
        return found;
    }
};

QAccessibleInterface* accessibleControl(const QString& key, QObject* o) {
    if (key == QLatin1String("ClickSurface"))
        if (auto* c = qobject_cast<ClickSurface*>(o)) return new AccessibleClickSurface(c);
    return nullptr;
}

// The actions given to a control (addControlAction): it runs them by their
// keys before the control sees them.
class ControlActions : public QObject {
public:
    struct Action {
        QString name;
        QKeySequence key;
        std::function<void()> run;
    };
    QList<Action> actions;

    explicit ControlActions(QWidget* control) : QObject(control) {
        setObjectName(kName);
        control->installEventFilter(this);
    }
    static ControlActions* of(const QObject* control) {
        return control ? control->findChild<ControlActions*>(kName, Qt::FindDirectChildrenOnly) : nullptr;
    }
    const Action* named(const QString& name) const {
        for (const Action& a : actions)
            if (a.name == name) return &a;
        return nullptr;
    }

protected:
    // The key is the action's also before the window's shortcuts see it.
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::ShortcutOverride && e->type() != QEvent::KeyPress) return false;
        auto* k = static_cast<QKeyEvent*>(e);
        const QKeySequence pressed(k->keyCombination());
        for (const Action& a : actions) {
            if (a.key != pressed) continue;
            e->accept();
            if (e->type() == QEvent::KeyPress && !k->isAutoRepeat()) {
                // The action may change the actions (or end the window).
                const std::function<void()> run = a.run;
                run();
            }
            return true;
        }
        return false;
    }

private:
    static inline const QString kName = QStringLiteral("qem_control_actions");
};

// What readers know of a control with actions of its own: all the
// toolkit's interface of it tells (made by the toolkit as for any such
// control, and kept for it), and the actions besides the toolkit's ones.
class AccessibleWithActions : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    AccessibleWithActions(QObject* control, QAccessibleInterface* made)
        : control_(control), made_(QAccessible::uniqueId(made)) {}
    // The toolkit's interface goes with this one; at the program's end the
    // toolkit removes what it still keeps by itself.
    ~AccessibleWithActions() override {
        if (QCoreApplication::instance()) QAccessible::deleteAccessibleInterface(made_);
    }

    bool isValid() const override { return made() && made()->isValid(); }
    QObject* object() const override { return control_; }
    QWindow* window() const override { return made() ? made()->window() : nullptr; }
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(QAccessible::Relation match) const override {
        return made() ? made()->relations(match) : QList<QPair<QAccessibleInterface*, QAccessible::Relation>>();
    }
    QAccessibleInterface* focusChild() const override { return made() ? made()->focusChild() : nullptr; }
    QAccessibleInterface* childAt(int x, int y) const override { return made() ? made()->childAt(x, y) : nullptr; }
    QAccessibleInterface* parent() const override { return made() ? made()->parent() : nullptr; }
    QAccessibleInterface* child(int index) const override { return made() ? made()->child(index) : nullptr; }
    int childCount() const override { return made() ? made()->childCount() : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return made() ? made()->indexOfChild(child) : -1;
    }
    QString text(QAccessible::Text t) const override { return made() ? made()->text(t) : QString(); }
    void setText(QAccessible::Text t, const QString& text) override {
        if (made()) made()->setText(t, text);
    }
    QRect rect() const override { return made() ? made()->rect() : QRect(); }
    QAccessible::Role role() const override { return made() ? made()->role() : QAccessible::NoRole; }
    QAccessible::State state() const override { return made() ? made()->state() : QAccessible::State(); }
    QColor foregroundColor() const override { return made() ? made()->foregroundColor() : QColor(); }
    QColor backgroundColor() const override { return made() ? made()->backgroundColor() : QColor(); }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ActionInterface) return static_cast<QAccessibleActionInterface*>(this);
        return made() ? made()->interface_cast(type) : nullptr;
    }

    QStringList actionNames() const override {
        QStringList names = madeActions() ? madeActions()->actionNames() : QStringList();
        if (enabled())
            for (const ControlActions::Action& a : ControlActions::of(control_)->actions) names << a.name;
        return names;
    }
    QString localizedActionName(const QString& name) const override {
        if (own(name)) return name;
        return madeActions() ? madeActions()->localizedActionName(name) : QString();
    }
    QString localizedActionDescription(const QString& name) const override {
        if (own(name)) return name;
        return madeActions() ? madeActions()->localizedActionDescription(name) : QString();
    }
    void doAction(const QString& name) override {
        if (const ControlActions::Action* a = own(name)) {
            afterTheCall(control_, a->run);
        } else if (madeActions()) {
            madeActions()->doAction(name);
        }
    }
    QStringList keyBindingsForAction(const QString& name) const override {
        if (const ControlActions::Action* a = own(name)) return {a->key.toString()};
        return madeActions() ? madeActions()->keyBindingsForAction(name) : QStringList();
    }

private:
    QAccessibleInterface* made() const { return QAccessible::accessibleInterface(made_); }
    QAccessibleActionInterface* madeActions() const { return made() ? made()->actionInterface() : nullptr; }
    bool enabled() const {
        auto* w = qobject_cast<QWidget*>(control_.data());
        return w && w->isEnabled() && ControlActions::of(w);
    }
    const ControlActions::Action* own(const QString& name) const {
        return enabled() ? ControlActions::of(control_)->named(name) : nullptr;
    }

    QPointer<QObject> control_;
    QAccessible::Id made_;
};

// A control with actions of its own: the toolkit's interface, asked for
// first (the toolkit keeps it), with the actions.
QAccessibleInterface* accessibleWithActions(const QString&, QObject* o) {
    static bool making = false;
    if (making || !ControlActions::of(o)) return nullptr;
    making = true;
    QAccessibleInterface* made = QAccessible::queryAccessibleInterface(o);
    making = false;
    return made ? new AccessibleWithActions(o, made) : nullptr;
}
} // namespace

void installAccessibility() {
    static const bool installed =
        (QAccessible::installFactory(accessibleControl), QAccessible::installFactory(accessibleWithActions), true);
    Q_UNUSED(installed);
}

void addControlAction(QWidget* control, const QString& name, const QKeySequence& key, std::function<void()> run) {
    installAccessibility();
    ControlActions* actions = ControlActions::of(control);
    if (!actions) actions = new ControlActions(control);
    for (ControlActions::Action& a : actions->actions) {
        if (a.key != key) continue;
        a = {name, key, std::move(run)};
        return;
    }
    actions->actions.append({name, key, std::move(run)});
    // An interface the toolkit made before (a reader listening while the
    // control was built) would keep the actions from readers.
    QAccessibleInterface* known = QAccessible::queryAccessibleInterface(control);
    if (known && !dynamic_cast<AccessibleWithActions*>(known))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(known));
}

namespace {
// The ring around the control that has the focus: a light line outside a
// dark one, so that one of them stands out on any background; drawn in the
// margin around the control, it covers none of its text or picture.
class FocusRing : public QFocusFrame {
public:
    using QFocusFrame::QFocusFrame;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        const QRectF r = QRectF(rect());
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        p.setPen(QPen(Qt::black, 1));
        p.drawRect(r.adjusted(1.5, 1.5, -1.5, -1.5));
    }
};

// Moves the one ring of the program (one control has the focus at a time)
// to the control that gets the focus, once the keyboard has moved the
// focus in its window, as the toolkit's own controls show theirs.
class FocusRings : public QObject {
public:
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() != QEvent::FocusIn && e->type() != QEvent::FocusOut) return false;
        auto* w = static_cast<QWidget*>(o);
        if (e->type() == QEvent::FocusOut) {
            if (ring_ && ring_->widget() == w) ring_->setWidget(nullptr);
            return false;
        }
        // A box that can be typed in shows its caret instead.
        if (auto* box = qobject_cast<QLineEdit*>(w); box && !box->isReadOnly()) return false;
        const Qt::FocusReason r = static_cast<QFocusEvent*>(e)->reason();
        const bool byKeys = r == Qt::TabFocusReason || r == Qt::BacktabFocusReason || r == Qt::ShortcutFocusReason;
        if (!byKeys && !w->window()->testAttribute(Qt::WA_KeyboardFocusChange)) return false;
        if (!ring_) ring_ = new FocusRing(w);
        ring_->setWidget(w);
        ring_->show();
        return false;
    }

private:
    QPointer<FocusRing> ring_;
};
} // namespace

void showFocusRing(QWidget* w) {
    static FocusRings* rings = new FocusRings;
    w->installEventFilter(rings);
}

QString spokenText(const QString& text) {
    QString out = text;
    out.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : out)
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator) c = u' ';
    return out.trimmed();
}

QWidget* focusedButton(QWidget* window) {
    QWidget* f = window ? window->focusWidget() : nullptr;
    if (!f || !f->isVisible() || !f->isEnabled()) return nullptr;
    if (auto* s = qobject_cast<ClickSurface*>(f)) return s->isButton() || s->isToggle() ? f : nullptr;
    return qobject_cast<QPushButton*>(f) || qobject_cast<QToolButton*>(f) ? f : nullptr;
}

bool clickFocusedButton(QWidget* window) {
    QWidget* b = focusedButton(window);
    if (auto* s = qobject_cast<ClickSurface*>(b)) s->isToggle() ? s->toggle() : s->click();
    else if (auto* a = qobject_cast<QAbstractButton*>(b)) a->click();
    return b != nullptr;
}

QString captionText(const QString& caption) {
    QString out;
    for (int i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&') {
            if (i + 1 < caption.size() && caption[i + 1] == u'&') out += u'&', ++i;
            continue;
        }
        out += caption[i];
    }
    return out;
}

ClickSurface::ClickSurface(QWidget* parent) : QLabel(parent) {
    installAccessibility();
    showFocusRing(this);
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void ClickSurface::click() {
    if (onClick) onClick();
}

void ClickSurface::setToggle(std::function<bool()> isOn, std::function<void()> toggle) {
    isOn_ = std::move(isOn);
    toggle_ = std::move(toggle);
    // A click leaves the focus where it is, as on a label button.
    setFocusPolicy(Qt::TabFocus);
}

void ClickSurface::takeTabFocus() {
    if (focusPolicy() == Qt::NoFocus && isButton()) setFocusPolicy(Qt::TabFocus);
}

bool ClickSurface::event(QEvent* e) {
    // The click handler is set after construction: by the time it is shown.
    if (e->type() == QEvent::Polish || e->type() == QEvent::Show) takeTabFocus();
    return QLabel::event(e);
}

void ClickSurface::keyPressEvent(QKeyEvent* e) {
    const bool press = e->key() == Qt::Key_Space || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if ((isButton() || isToggle()) && press && (e->modifiers() & ~Qt::KeypadModifier) == 0) {
        e->accept();
        if (e->isAutoRepeat()) return;
        if (isToggle()) toggle();
        else click();
        return;
    }
    QLabel::keyPressEvent(e);
}

void ClickSurface::mousePressEvent(QMouseEvent* e) {
    pressed_ = true;
    if (onMouseDown)
        onMouseDown(Keys::mouseButton(e->button()), Keys::shiftState(e->modifiers()), tw(e->position().x()),
                    tw(e->position().y()));
    e->accept();
}

void ClickSurface::mouseReleaseEvent(QMouseEvent* e) {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (onMouseUp)
        onMouseUp(Keys::mouseButton(e->button()), Keys::shiftState(e->modifiers()), tw(e->position().x()),
                  tw(e->position().y()));
    if (wasPressed && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) click();
    e->accept();
}

void ClickSurface::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove)
        onMouseMove(Keys::mouseButtons(e->buttons()), Keys::shiftState(e->modifiers()), tw(e->position().x()),
                    tw(e->position().y()));
    e->accept();
}

// Comes right after the second press of a double click. The first press
// and release made the Click; this makes the DblClick, and the second
// release clicks nothing, as the original platform has it.
void ClickSurface::mouseDoubleClickEvent(QMouseEvent* e) {
    e->accept();
    pressed_ = false;
    if (e->button() == Qt::LeftButton && onDblClick) onDblClick();
}

Label::Label(const QString& caption, QWidget* parent) : ClickSurface(parent) {
    setAttribute(Qt::WA_TranslucentBackground);
    setCaption(caption);
}

void Label::setCaption(const QString& c) {
    caption_ = c;
    const QString shown = useMnemonic_ ? captionText(c) : c;
    // A clock sets its caption many times a second: screen readers are
    // told of a new text only.
    if (shown == text()) {
        nameForReaders();
        return;
    }
    setText(shown);
    nameForReaders();
    fitCaption();
    takeTabFocus();
}

void Label::setFunctionName(const QString& name, bool captionAsDescription) {
    function_ = name;
    captionAsDescription_ = captionAsDescription && !name.isEmpty();
    nameForReaders();
}

void Label::nameForReaders() {
    // Readers are told of a name or description only when it changes.
    const QString spoken = spokenText(text());
    const QString name = function_.isEmpty() ? spoken : function_;
    if (accessibleName() != name) setAccessibleName(name);
    if (captionAsDescription_ && accessibleDescription() != spoken) setAccessibleDescription(spoken);
}

void Label::setUseMnemonic(bool on) {
    useMnemonic_ = on;
    setCaption(caption_);
}

void Label::setShrinkToFit(bool on) {
    fitBaseSize_ = on ? font().pointSizeF() : 0;
    fitCaption();
}

void Label::fitCaption() {
    if (fitBaseSize_ <= 0) return;
    QFont f = font();
    f.setPointSizeF(fitBaseSize_);
    const int room = contentsRect().width() - 2 * margin() - qMax(indent(), 0) - 2;
    setFont(Fonts::fitted(f, text(), room));
}

void Label::setBorderStyle(int style) {
    border_ = style;
    setFrameStyle(style ? (QFrame::Box | QFrame::Plain) : QFrame::NoFrame);
}

void Label::setFontBold(bool on) {
    QFont f = font();
    f.setBold(on);
    setFont(f);
}

void Label::setFontSize(double pt) {
    QFont f = font();
    f.setPointSizeF(pt);
    setFont(f);
}

void Label::setForeColor(const QColor& c) {
    QPalette p = palette();
    p.setColor(QPalette::WindowText, c);
    setPalette(p);
}

Image::Image(QWidget* parent) : ClickSurface(parent) { setAttribute(Qt::WA_TranslucentBackground); }

void Image::setPicture(const QPixmap& p) {
    picture_ = p;
    setPixmap(p);
    takeTabFocus();
    if (!stretch_ && !p.isNull()) resize(p.size() / p.devicePixelRatio());
}

void Image::setStretch(bool on) {
    stretch_ = on;
    setScaledContents(on);
}

PictureButton::PictureButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFocusPolicy(Qt::TabFocus);
    // The office look has no other sign of the focus.
    showFocusRing(this);
}

void PictureButton::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & ~Qt::KeypadModifier) == 0) {
        click();
        return;
    }
    QPushButton::keyPressEvent(e);
}

void PictureButton::setPicture(const QPixmap& p) {
    setIcon(QIcon(p));
    setIconSize(p.size() / p.devicePixelRatio());
}

void PictureButton::setOfficeLook() {
    officeLook_ = true;
    setFlat(true);
    setStyleSheet(QStringLiteral("PictureButton { border: 1px solid; border-color: #6d6d6d #f4f4f4 #f4f4f4 #6d6d6d;"
                                 " background: rgba(255,255,255,40); }"
                                 "PictureButton:hover { background: rgba(255,255,255,90); }"
                                 "PictureButton:pressed { background: rgba(0,0,0,40); }"));
}

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {
    // The box's own limit would cut text the program puts in; the typing
    // limit is kept here instead.
    QLineEdit::setMaxLength(std::numeric_limits<int>::max());
    // Read-only, it shows no caret: the ring shows its focus.
    showFocusRing(this);
}

QString TextBox::text() const {
    if (!open_) return QLineEdit::text();
    if (!shownValid_) {
        const QString now = QLineEdit::text();
        shown_ = now.left(at_) + passed_ + now.mid(at_ + cut_);
        shownValid_ = true;
    }
    return shown_;
}

void TextBox::setText(const QString& t) {
    flush();
    QLineEdit::setText(t);
}

void TextBox::clear() {
    flush();
    QLineEdit::clear();
}

int TextBox::cursorPosition() const { return open_ ? int(at_ + passed_.size()) : QLineEdit::cursorPosition(); }
bool TextBox::hasSelectedText() const { return !open_ && QLineEdit::hasSelectedText(); }
QString TextBox::selectedText() const { return open_ ? QString() : QLineEdit::selectedText(); }
int TextBox::selectionStart() const { return open_ ? -1 : QLineEdit::selectionStart(); }
int TextBox::selectionLength() const { return open_ ? 0 : QLineEdit::selectionLength(); }

void TextBox::setMaxLength(int n) { limit_ = qMax(0, n); }

qsizetype TextBox::room() const {
    return limit_ - (QLineEdit::text().size() - (open_ ? cut_ - passed_.size() : QLineEdit::selectionLength()));
}

void TextBox::insertTyped(const QString& s) {
    if (s.size() <= room()) insert(s);
}

void TextBox::pass(QStringView ch) {
    if (ch.size() > room()) return;
    if (const QValidator* v = validator()) {
        QString alone = ch.toString();
        int pos = int(alone.size());
        if (v->validate(alone, pos) == QValidator::Invalid || alone.isEmpty()) return;
    }
    if (!open_) {
        // The characters go where the selection starts, replacing it.
        at_ = QLineEdit::hasSelectedText() ? QLineEdit::selectionStart() : QLineEdit::cursorPosition();
        cut_ = QLineEdit::selectionLength();
        open_ = true;
    }
    passed_ += ch;
    // The text as it will be, once read, grows with a paste at the end of
    // the box; a paste elsewhere makes it again when next read.
    if (at_ + cut_ < QLineEdit::text().size()) shownValid_ = false;
    else if (shownValid_) shown_ += ch;
}

void TextBox::flush() const {
    if (!open_) return;
    // Logically the text is in the box already (a selection replaced by
    // characters later taken back with Backspace is gone, as in typing).
    auto* self = const_cast<TextBox*>(this);
    const QString run = std::exchange(passed_, QString());
    shown_.clear();
    shownValid_ = false;
    open_ = false;
    self->insert(run);
}

void TextBox::typeText(const QString& text) { enter(text, true); }

void TextBox::enter(const QString& text, bool typed) {
    if (isReadOnly()) return;
    if (!typed && acceptsPaste && !acceptsPaste(text)) return;
    QPointer<TextBox> self(this);
    QString line = text;
    if (!typed) {
        const QString now = QLineEdit::text();
        const qsizetype at = QLineEdit::hasSelectedText() ? QLineEdit::selectionStart() : QLineEdit::cursorPosition();
        const qsizetype end = at + QLineEdit::selectionLength();
        line = EditKeys::oneLine(text, at > 0 ? now[at - 1] : QChar(), end < now.size() ? now[end] : QChar());
    }
    passed_.reserve(qBound<qsizetype>(0, room(), line.size()));
    for (qsizetype i = 0; i < line.size(); ++i) {
        // A character beyond 16 bits (a surrogate pair) is one character.
        const qsizetype n = line[i].isHighSurrogate() && i + 1 < line.size() && line[i + 1].isLowSurrogate() ? 2 : 1;
        const QStringView ch = QStringView(line).mid(i, n);
        i += n - 1;
        const int key = ch[0] == u'\b' ? int(Keys::vbKeyBack) : Ansi::code(ch[0]);
        int code = key;
        if (onKeyPress) onKeyPress(code);
        // The handler may have closed the window.
        if (!self) return;
        if (!typed && code != 0) code = key;
        if (code == Keys::vbKeyBack) {
            if (passed_.isEmpty()) {
                flush();
                backspace();
            } else {
                const qsizetype k = passed_.size() > 1 && passed_.back().isLowSurrogate() ? 2 : 1;
                passed_.chop(k);
                if (at_ + cut_ < QLineEdit::text().size()) shownValid_ = false;
                else if (shownValid_) shown_.chop(k);
            }
        } else if (code >= 32) {
            if (code != key) pass(QString(Ansi::fromCode(code)));
            else pass(ch);
        }
    }
    flush();
}

void TextBox::pasteFiltered(QClipboard::Mode mode) { enter(QApplication::clipboard()->text(mode), false); }

void TextBox::keyPressEvent(QKeyEvent* e) {
    if (Keys::handlerDrops(onKeyDown, e)) return;
    if (e->matches(QKeySequence::Paste)) {
        // Ctrl+V is the character 22 to the handler, which may refuse the
        // paste; Shift+Insert types no character and always pastes (filtered).
        int code = 22;
        if (onKeyPress && e->key() == Qt::Key_V) onKeyPress(code);
        if (code != 0) pasteFiltered();
        return;
    }
    // A key that types text, beyond the typing limit, types nothing.
    const QString typed = e->text();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~(Qt::KeypadModifier | Qt::GroupSwitchModifier);
    const bool types = !typed.isEmpty() && typed[0].category() != QChar::Other_Control &&
                       mods != Qt::ControlModifier && mods != (Qt::ControlModifier | Qt::ShiftModifier);
    const int ascii = Keys::keyAscii(e);
    if (!onKeyPress || ascii < 0 || ((e->modifiers() & Qt::ControlModifier) && ascii < 27 && ascii != 8)) {
        if (types && typed.size() > room()) return;
        QLineEdit::keyPressEvent(e);
        return;
    }
    int code = ascii;
    onKeyPress(code);
    if (code == 0) return;
    if (code == ascii) {
        if (types && typed.size() > room()) return;
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (code == 8) backspace();
    else if (code >= 32) insertTyped(QString(Ansi::fromCode(code)));
    else QLineEdit::keyPressEvent(e);
}

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    // A composed character (dead key, compose key, input method) passes
    // the handler like pasted text: the box keeps the composition and takes
    // out what the commit replaces (text committed before), the handler
    // sees the text.
    const QString committed = e->commitString();
    QInputMethodEvent composing(e->preeditString(), e->attributes());
    composing.setCommitString(QString(), e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&composing);
    enter(committed, false);
}

void TextBox::contextMenuEvent(QContextMenuEvent* e) {
    QMenu* menu = createStandardContextMenu();
    // The standard Paste would insert the clipboard unfiltered. It is known
    // by its text (in the toolkit's language, the shortcut after a tab).
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* a : menu->actions()) {
        if (a->objectName() == QLatin1String("edit-paste") || a->text().section(u'\t', 0, 0) == paste) {
            disconnect(a, &QAction::triggered, nullptr, nullptr);
            connect(a, &QAction::triggered, this, [this] { pasteFiltered(); });
        }
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(e->globalPos());
}

void TextBox::mouseReleaseEvent(QMouseEvent* e) {
    // The middle button's selection paste would pass the filter by.
    if (e->button() == Qt::MiddleButton && !isReadOnly()) {
        setCursorPosition(cursorPositionAt(e->position().toPoint()));
        pasteFiltered(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(e);
}

void TextBox::dropEvent(QDropEvent* e) {
    if (!e->mimeData()->hasText() || isReadOnly()) return;
    setCursorPosition(cursorPositionAt(e->position().toPoint()));
    enter(e->mimeData()->text(), false);
    e->acceptProposedAction();
}

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) { setMouseTracking(true); }

void Frame::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove)
        onMouseMove(Keys::mouseButtons(e->buttons()), Keys::shiftState(e->modifiers()), tw(e->position().x()),
                    tw(e->position().y()));
    QGroupBox::mouseMoveEvent(e);
}
