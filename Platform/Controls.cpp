#include "Platform/Controls.h"

#include "Platform/Ansi.h"
#include "Platform/Fonts.h"
#include "Platform/Form.h"
#include "Platform/Keys.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

namespace {
int tw(qreal v) { return int(v) * Form::twipsPerPixel; }

// The toolkit's own combo box is named by its text on this platform: the
// caption it is tied to would never be heard.
class AccessibleComboBox : public QAccessibleWidget {
public:
    explicit AccessibleComboBox(QComboBox* c) : QAccessibleWidget(c, QAccessible::ComboBox) {}
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return combo()->currentText();
        const QString s = QAccessibleWidget::text(t);
        if (t == QAccessible::Name && s.isEmpty()) return combo()->currentText();
        return s;
    }
    QStringList actionNames() const override { return QAccessibleWidget::actionNames() << showMenuAction(); }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) combo()->showPopup();
        else QAccessibleWidget::doAction(action);
    }
};

QAccessibleInterface* accessibleControl(const QString& key, QObject* o) {
    if (key == QLatin1String("QComboBox"))
        if (auto* c = qobject_cast<QComboBox*>(o)) return new AccessibleComboBox(c);
    return nullptr;
}
} // namespace

void installAccessibility() {
    // After the toolkit's own factory, so this one is asked first.
    static const bool installed = (QAccessible::installFactory(accessibleControl), true);
    Q_UNUSED(installed);
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
    setMouseTracking(true);
    setTextFormat(Qt::PlainText);
}

void ClickSurface::click() {
    if (onClick) onClick();
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
    setText(shown);
    setAccessibleName(shown);
    fitCaption();
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
    if (!stretch_ && !p.isNull()) resize(p.size() / p.devicePixelRatio());
}

void Image::setStretch(bool on) {
    stretch_ = on;
    setScaledContents(on);
}

PictureButton::PictureButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setFocusPolicy(Qt::TabFocus);
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

TextBox::TextBox(QWidget* parent) : QLineEdit(parent) {}

void TextBox::applyCharacter(int code) {
    if (onKeyPress) onKeyPress(code);
    if (code == 0) return;
    if (code == 8) backspace();
    else if (code >= 32) insert(QString(Ansi::fromCode(code)));
}

void TextBox::typeText(const QString& text) {
    for (QChar c : text) {
        if (c == u'\b') applyCharacter(8);
        else applyCharacter(Ansi::code(c));
    }
}

void TextBox::insertFiltered(const QString& text) {
    if (isReadOnly()) return;
    for (QChar c : text) {
        if (c == u'\r' || c == u'\n' || c == u'\t') continue;
        if (onKeyPress) applyCharacter(Ansi::code(c));
        else insert(QString(c));
    }
}

void TextBox::pasteFiltered(QClipboard::Mode mode) { insertFiltered(QApplication::clipboard()->text(mode)); }

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
    const int ascii = Keys::keyAscii(e);
    if (!onKeyPress || ascii < 0 || ((e->modifiers() & Qt::ControlModifier) && ascii < 27 && ascii != 8)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    int code = ascii;
    onKeyPress(code);
    if (code == 0) return;
    if (code == ascii) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (code == 8) backspace();
    else if (code >= 32) insert(QString(Ansi::fromCode(code)));
    else QLineEdit::keyPressEvent(e);
}

void TextBox::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty() || isReadOnly()) {
        QLineEdit::inputMethodEvent(e);
        return;
    }
    // A composed character (dead key, compose key, input method) is typed
    // like any other: the box keeps the composition, the handler sees the text.
    const QString committed = e->commitString();
    QInputMethodEvent composing(e->preeditString(), e->attributes());
    QLineEdit::inputMethodEvent(&composing);
    insertFiltered(committed);
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
    insertFiltered(e->mimeData()->text());
    e->acceptProposedAction();
}

Frame::Frame(const QString& caption, QWidget* parent) : QGroupBox(caption, parent) { setMouseTracking(true); }

void Frame::mouseMoveEvent(QMouseEvent* e) {
    if (onMouseMove)
        onMouseMove(Keys::mouseButtons(e->buttons()), Keys::shiftState(e->modifiers()), tw(e->position().x()),
                    tw(e->position().y()));
    QGroupBox::mouseMoveEvent(e);
}
