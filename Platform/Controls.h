#pragma once
// The controls of the program's windows: labels and pictures that act as
// buttons (click, mouse down/up/move with the button and shift values),
// picture buttons, text boxes with a key-press filter, frames.
#include <QGroupBox>
#include <QLabel>
#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <functional>

// Mouse handler: button (1 left, 2 right, 4 middle), shift, x, y in twips.
using MouseHandler = std::function<void(int Button, int Shift, int X, int Y)>;

// Shared mouse plumbing of labels and pictures. A press and release is a
// Click; a double click is one Click (its first press) and then one
// DblClick, never a second Click.
// One with a click handler that shows a caption or a picture is a button,
// also for the keyboard and screen readers: Tab reaches it in the window's
// tab order (a mouse click leaves the focus where it is), it shows the
// focus with a ring that stands out on any background, Space and Enter
// click it, and readers know it as a button named by its accessible name
// (a label's caption, or what it does). One that shows neither (a frame
// around a picture, a box that is empty until it shows a result) is a
// button only where its window gives it a focus policy, which a window
// does for every click target: whatever the mouse does, a key does.
class ClickSurface : public QLabel {
    Q_OBJECT
public:
    explicit ClickSurface(QWidget* parent = nullptr);

    MouseHandler onMouseDown, onMouseUp, onMouseMove;
    std::function<void()> onClick, onDblClick;
    QString Tag;

    // Runs the click handler as a user's click would.
    void click();
    bool isButton() const {
        return onClick && (focusPolicy() != Qt::NoFocus || !text().isEmpty() || !pixmap().isNull());
    }
    // Makes a button a stop of Tab now (else it becomes one when shown), so
    // that its window can order its stops (QWidget::setTabOrder skips
    // controls that take no focus).
    void takeTabFocus();
    // Makes it a toggle, a mark that is on or off (worked by the mouse
    // through its own handlers): a stop of Tab that `toggle` works on Space
    // and Enter, and a check box to readers, checked while `isOn` says so,
    // worked by their toggle or press action.
    void setToggle(std::function<bool()> isOn, std::function<void()> toggle);
    bool isToggle() const { return bool(toggle_); }
    bool isOn() const { return isOn_ && isOn_(); }
    void toggle() {
        if (toggle_) toggle_();
    }

protected:
    bool event(QEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    bool pressed_ = false;
    std::function<bool()> isOn_;
    std::function<void()> toggle_;
};

// A label. Its caption is shown as plain text, exactly as set: names and
// other text the user typed are never read as markup, and an "&" in them
// is shown. A label whose caption carries an access key (a label used as
// the window's button, "&Exit") is marked with setUseMnemonic(true); then
// "&" marks the access key and "&&" shows one "&". The label's accessible
// name is its shown caption (see spokenText) and follows every change; what
// a reader should hear besides goes into the accessible description.
// A button that shows a glyph for what it does ("X" closes the window) or a
// value that changes (an amount) is named by what it does instead
// (setFunctionName).
class Label : public ClickSurface {
    Q_OBJECT
public:
    explicit Label(const QString& caption = QString(), QWidget* parent = nullptr);

    // The caption as set.
    QString Caption() const { return caption_; }
    void setCaption(const QString& c);
    bool UseMnemonic() const { return useMnemonic_; }
    void setUseMnemonic(bool on);
    // 0 none, 1 a single line.
    int BorderStyle() const { return border_; }
    void setBorderStyle(int style);
    bool FontBold() const { return font().bold(); }
    void setFontBold(bool on);
    double FontSize() const { return font().pointSizeF(); }
    void setFontSize(double pt);
    void setForeColor(const QColor& c);
    void setToolTipText(const QString& t) { setToolTip(t); }
    QString ToolTipText() const { return toolTip(); }
    // A caption too wide for the label is shown in a smaller size of the
    // label's font (down to 6 points) instead of being cut off.
    void setShrinkToFit(bool on);
    // From now on the label is named `name` whatever its caption shows;
    // with `captionAsDescription` the caption shown is its accessible
    // description and follows every change (an amount beside a currency).
    // An empty name names it by its caption again.
    void setFunctionName(const QString& name, bool captionAsDescription = false);
    QString functionName() const { return function_; }

private:
    void fitCaption();
    void nameForReaders();
    QString caption_;
    QString function_;
    bool captionAsDescription_ = false;
    bool useMnemonic_ = false;
    int border_ = 0;
    double fitBaseSize_ = 0; // the font size a caption starts from; 0: no shrinking
};

class Image : public ClickSurface {
    Q_OBJECT
public:
    explicit Image(QWidget* parent = nullptr);

    QPixmap Picture() const { return picture_; }
    void setPicture(const QPixmap& p);
    // Stretched pictures fill the control; others keep their size.
    void setStretch(bool on);

private:
    QPixmap picture_;
    bool stretch_ = false;
};

class PictureButton : public QPushButton {
    Q_OBJECT
public:
    explicit PictureButton(const QString& caption = QString(), QWidget* parent = nullptr);
    QString Caption() const { return text(); }
    void setCaption(const QString& c) { setText(c); }
    void setPicture(const QPixmap& p);
    // The flat button with a thin sunken edge of office programs.
    void setOfficeLook();
    bool hasOfficeLook() const { return officeLook_; }

protected:
    // Enter presses a focused button, as Space does.
    void keyPressEvent(QKeyEvent* e) override;

private:
    bool officeLook_ = false;
};

// A one-line text box. The key-press handler receives the code of each
// typed character (see Keys) and may drop it (0) or replace it. Pasted,
// dropped and composed text (dead keys, compose, an input method) passes
// the handler character by character too, whether it comes by Shift+Insert,
// the middle button, the context menu's Paste or a drop; Ctrl+V reaches the
// handler first as code 22, and a handler that drops it pastes nothing.
// Such text is not typed: the handler may drop a character of it, but what
// it lets pass goes in as it came (the handler's replacements are for keys).
// What passes goes in as one edit, so a long paste costs in step with its
// length. A character Windows-1252 lacks reaches the handler as 63 "?" and,
// left so, goes in as itself, as a typed one does. Control characters never
// go in: in pasted text a run of tabs and line breaks between two words
// becomes one blank, other control characters are dropped, all before the
// handler.
// While pasted text passes the handler, the box reads (Text, text, the
// caret and the selection) and is set (setText, setTextValue, clear) as if
// the characters passed so far were in it already, the selection they
// replace gone: a handler that looks at its own box sees every earlier
// character, as it would when each was typed, and reading costs no more
// than while typing.
// The typing limit (setMaxLength) bounds what the user types, pastes or
// composes; text the program puts in (setTextValue, setText) is kept whole,
// however long, and a box holding more than its limit takes no more typing
// until the user has shortened it. A pasted character that the box's
// validator removes on its own counts for nothing. These functions stand in
// for QLineEdit's own of the same names: call them through a TextBox
// (QLineEdit's setMaxLength would cut what the program puts in). A TextBox
// may serve as a combo box's text (QComboBox::setLineEdit).
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    explicit TextBox(QWidget* parent = nullptr);

    QString Text() const { return text(); }
    QString text() const;
    void setTextValue(const QString& t) { setText(t); }
    void setText(const QString& t);
    void clear();
    int cursorPosition() const;
    bool hasSelectedText() const;
    QString selectedText() const;
    int selectionStart() const;
    int selectionLength() const;
    // The typing limit in characters (UTF-16 units, as QLineEdit counts).
    int maxLength() const { return limit_; }
    void setMaxLength(int n);
    std::function<void(int& KeyAscii)> onKeyPress;
    std::function<void(int& KeyCode, int Shift)> onKeyDown;
    // Asked before pasted, dropped or composed text goes in (unset: always
    // yes): a refused text goes in not at all, the box stays as it was (a
    // number field refuses a paste its key filter would make another number).
    std::function<bool(const QString& text)> acceptsPaste;
    QString Tag;

    // Types text as the user would: every character through the handler,
    // "\b" as Backspace and other control characters by their codes.
    void typeText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void contextMenuEvent(QContextMenuEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    void pasteFiltered(QClipboard::Mode mode = QClipboard::Clipboard);
    // Pasted or composed text (typed false) or typed text through the
    // handler; what passes goes in as one edit.
    void enter(const QString& text, bool typed);
    // Adds a character that passed the handler to those not yet in the box.
    void pass(QStringView ch);
    // Puts the characters that passed the handler so far into the box.
    void flush() const;
    // Inserts typed text at the caret where the typing limit leaves room.
    void insertTyped(const QString& s);
    // How many more characters the typing limit lets in, replacing the selection.
    qsizetype room() const;

    // While a paste runs (open_): the characters that passed, not yet in
    // the box; where they go (the selection's start or the caret) and how
    // much of the box they replace (the selection); the text as it will be,
    // where read since it last changed.
    mutable bool open_ = false;
    mutable QString passed_;
    qsizetype at_ = 0;
    qsizetype cut_ = 0;
    mutable QString shown_;
    mutable bool shownValid_ = false;
    int limit_ = 32767;
};

class Frame : public QGroupBox {
    Q_OBJECT
public:
    explicit Frame(const QString& caption = QString(), QWidget* parent = nullptr);
    QString Caption() const { return title(); }
    void setCaption(const QString& c) { setTitle(c); }
    MouseHandler onMouseMove;

protected:
    void mouseMoveEvent(QMouseEvent* e) override;
};

// The display text of a caption with access-key marks.
QString captionText(const QString& caption);

// What screen readers are given of a text that may hold line breaks (a
// message, a prompt, a caption): readers drop a label whose text holds a
// line break, so each line break (CR LF, LF or CR) is a blank, and blanks
// at either end are dropped.
QString spokenText(const QString& text);

// The button Enter clicks in a window: the focused push button, tool
// button or label or picture button (or toggle), when it is shown and enabled; else
// nullptr (Enter then does what the window does with it).
QWidget* focusedButton(QWidget* window);
// Clicks (or toggles) the focused button as Space does; false when none has the focus.
bool clickFocusedButton(QWidget* window);

// From now on the control shows a ring around it while it has the focus
// (once the keyboard has moved the focus in its window, as the toolkit's
// controls show theirs; a box that can be typed in shows its caret
// instead): a light line outside a dark one, so that one of them stands out
// on any background, in the margin around the control. Label, picture and
// picture buttons and text boxes show it.
void showFocusRing(QWidget* w);

// What screen readers are told of the controls here (label and picture
// buttons as buttons). Combo boxes keep the toolkit's own interface: their
// current choice and their list of items, their caption through the label
// whose buddy they are. Installed once, by the first window or label.
void installAccessibility();

// Gives a control an action of its own, for what the mouse does to it
// otherwise (a double click): `key` runs it while the control has the focus
// (the control never sees that key, so a box's key filter never takes it
// for typing), and screen readers find it by `name`, with the key, among
// the control's actions and can call it while the control is enabled; the
// reader's call returns at once and the action runs after it, as the
// toolkit's buttons do, so an action that opens a dialog never holds the
// reader until the dialog closes (the same for a label button's press). The
// control keeps all else readers know of it (a box its text). Given again
// with the same key, the action takes the new name (another language).
void addControlAction(QWidget* control, const QString& name, const QKeySequence& key, std::function<void()> run);
